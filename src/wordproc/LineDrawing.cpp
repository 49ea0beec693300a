#include "LineDrawing.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

namespace wordproc {
namespace {

// Wine's Tahoma Bold, the Tahoma we find on Linux, has Tahoma Bold's advance widths but
// regular-weight strokes. Line breaks must keep those widths; a second pass a hair to the
// right gives the strokes the weight the document asks for.
void emboldenThinBoldRuns(QPainter &painter, const QTextLayout &layout, const QTextLine &line, QPointF origin)
{
    for (const QTextLayout::FormatRange &range : layout.formats()) {
        if (range.format.fontWeight() < QFont::Bold)
            continue;
        for (const QGlyphRun &run : line.glyphRuns(range.start, range.length)) {
            const QRawFont font = run.rawFont();
            if (font.familyName() != QLatin1String("Tahoma"))
                continue;
            painter.setPen(range.format.foreground().color());
            painter.drawGlyphRun(origin + QPointF(font.pixelSize() * 0.045, 0), run);
        }
    }
}

} // namespace

void drawLineBoxes(QPainter &painter, const std::vector<LineBox> &lines)
{
    for (const LineBox &box : lines) {
        if (!box.text)
            continue;
        const QTextLine line = box.text->lineAt(box.lineIndex);
        const QPointF origin(box.left - line.naturalTextRect().left(),
                             box.top + box.baseline - (line.y() + line.ascent()));
        line.draw(&painter, origin);
        emboldenThinBoldRuns(painter, *box.text, line, origin);
    }
}

} // namespace wordproc
