#include "wordproc/layout/LineDrawing.h"

#include "wordproc/layout/ScriptFonts.h"

#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRawFont>
#include <QTextLayout>

namespace wordproc {
namespace {

// Wine's Tahoma Bold, the Tahoma we find on Linux, has Tahoma Bold's advance widths but
// regular-weight strokes. Line breaks must keep those widths; a second pass a hair to the
// right gives the strokes the weight the document asks for. In a PDF (and so on paper) that
// pass is drawn as outlines, not as text, so that the text is there once for copying and
// searching.
void emboldenThinBoldRuns(QPainter &painter, const QTextLayout &layout, const QTextLine &line, QPointF origin)
{
    const bool asOutlines = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf;
    for (const QTextLayout::FormatRange &range : layout.formats()) {
        if (range.format.fontWeight() < QFont::Bold)
            continue;
        for (const QGlyphRun &run : line.glyphRuns(range.start, range.length)) {
            const QRawFont font = run.rawFont();
            if (wordproc::scriptfonts::familyOf(font) != QLatin1String("Tahoma"))
                continue;
            const QPointF shifted = origin + QPointF(font.pixelSize() * 0.045, 0);
            if (asOutlines) {
                QPainterPath outlines;
                const QList<quint32> glyphs = run.glyphIndexes();
                const QList<QPointF> positions = run.positions();
                for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i)
                    outlines.addPath(font.pathForGlyph(glyphs[i]).translated(shifted + positions[i]));
                painter.fillPath(outlines, range.format.foreground().color());
                continue;
            }
            painter.setPen(range.format.foreground().color());
            painter.drawGlyphRun(shifted, run);
        }
    }
}

// A character no installed font has comes out as glyph 0 or from Qt's nameless stand-in font,
// either of which may draw nothing at all; the reader gets an outlined box in its place.
void drawMissingGlyphBoxes(QPainter &painter, const QTextLine &line, QPointF origin)
{
    for (const QGlyphRun &run : line.glyphRuns()) {
        const QRawFont font = run.rawFont();
        const bool standIn = wordproc::scriptfonts::familyOf(font).isEmpty();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        // The stand-in reports no size of its own.
        const double size = font.pixelSize() > 0 ? font.pixelSize() : (line.ascent() + line.descent()) / 1.2;
        painter.setPen(QPen(Qt::black, std::max(1.0, size / 14)));
        painter.setBrush(Qt::NoBrush);
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i)
            if (standIn || glyphs[i] == 0)
                painter.drawRect(QRectF(origin + positions[i] + QPointF(size * 0.08, -size * 0.7), QSizeF(size * 0.5, size * 0.7)));
    }
}

} // namespace

void drawLineBoxes(QPainter &painter, std::span<const LineBox> lines)
{
    for (const LineBox &box : lines) {
        if (!box.text)
            continue;
        const QTextLine line = box.text->lineAt(box.lineIndex);
        const QPointF origin(box.left - line.naturalTextRect().left(),
                             box.top + box.baseline - (line.y() + line.ascent()));
        line.draw(&painter, origin);
        emboldenThinBoldRuns(painter, *box.text, line, origin);
        if (box.missingGlyphs)
            drawMissingGlyphBoxes(painter, line, origin);
    }
}

} // namespace wordproc
