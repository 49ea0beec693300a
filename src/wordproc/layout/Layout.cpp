#include "wordproc/layout/Layout.h"

#include "wordproc/layout/Fonts.h"
#include "wordproc/layout/ScriptFonts.h"

#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace wordproc {

namespace {

constexpr int kGridLineTwips = 10;      // the grid's single 0.5 pt lines
constexpr double kDefaultTabStop = 720; // Word's default tab stops every 0.5 in

struct FormatInfo {
    QFont font;
    QString family;
    fonts::LineMetrics metrics;
};

// The fonts and metrics of the formats met in one layout, so that each is resolved once: a
// document has a handful of formats but hundreds of runs.
class FontBook {
public:
    const FormatInfo &info(const CharFormat &format)
    {
        for (const auto &[known, info] : entries_)
            if (known.fontName == format.fontName && known.halfPoints == format.halfPoints && known.bold == format.bold)
                return *info;
        auto info = std::make_unique<FormatInfo>();
        info->font = fonts::layoutFont(format);
        info->family = fonts::resolvedFamily(format.fontName);
        info->metrics = fonts::lineMetrics(format);
        entries_.emplace_back(format, std::move(info));
        return *entries_.back().second;
    }

private:
    std::vector<std::pair<CharFormat, std::unique_ptr<FormatInfo>>> entries_;
};

struct RunSpan {
    int start = 0;
    int end = 0;
    const FormatInfo *format = nullptr;
    QColor colour;
};

QTextOption paragraphTextOption()
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setUseDesignMetrics(true);
    option.setTabStopDistance(kDefaultTabStop);
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft);
    return option;
}

void include(fonts::LineMetrics &line, const fonts::LineMetrics &part)
{
    line.leading = std::max(line.leading, part.leading);
    line.ascent = std::max(line.ascent, part.ascent);
    line.descent = std::max(line.descent, part.descent);
}

using wordproc::scriptfonts::familyOf;

// A stretch of text that must be shaped with a font other than the one its run asks for.
struct FamilySpan {
    int start = 0;
    int end = 0;
    QString family;
};

// The stretches of text in scripts that only a private copy of a font can shape (see
// ScriptFonts); marks and other characters of no script stay with the stretch they follow.
std::vector<FamilySpan> shapingSpans(const QString &text)
{
    std::vector<FamilySpan> spans;
    QChar::Script checked = QChar::Script_Unknown;
    QString checkedFamily;
    bool open = false;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype at = i;
        const char32_t c = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
            ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
        i += c > 0xFFFF ? 2 : 1;
        const QChar::Script script = QChar::script(c);
        if (script == QChar::Script_Common || script == QChar::Script_Inherited) {
            if (open)
                spans.back().end = int(i);
            continue;
        }
        if (script != checked) {
            checked = script;
            checkedFamily = wordproc::scriptfonts::shapingFamilyFor(script);
        }
        if (checkedFamily.isEmpty()) {
            open = false;
        } else if (open && spans.back().family == checkedFamily) {
            spans.back().end = int(i);
        } else {
            spans.push_back({int(at), int(i), checkedFamily});
            open = true;
        }
    }
    return spans;
}

// The format ranges of a run, with the stretches that need another font split off.
void appendRunFormats(QList<QTextLayout::FormatRange> &ranges, const RunSpan &run, const std::vector<FamilySpan> &spans)
{
    QTextCharFormat format;
    format.setFont(run.format->font);
    format.setForeground(run.colour);
    int at = run.start;
    for (const FamilySpan &span : spans) {
        const int start = std::max(span.start, run.start);
        const int end = std::min(span.end, run.end);
        if (start >= end)
            continue;
        if (start > at)
            ranges.append({at, start - at, format});
        QFont font = run.format->font;
        font.setFamilies(QStringList{span.family} + font.families());
        QTextCharFormat shaped = format;
        shaped.setFont(font);
        ranges.append({start, end - start, shaped});
        at = end;
    }
    if (at < run.end)
        ranges.append({at, run.end - at, format});
}

// Glyphs the paragraph's own fonts lack come from fallback fonts (CJK, emoji), whose extent
// makes the line taller, as it does in Word. Answers whether some character found no font at all.
bool includeFallbackFonts(fonts::LineMetrics &metrics, const QTextLine &line, const std::vector<RunSpan> &runs)
{
    bool missing = false;
    for (const QGlyphRun &glyphs : line.glyphRuns()) {
        const QRawFont raw = glyphs.rawFont();
        const QString family = familyOf(raw);
        missing = missing || family.isEmpty() || glyphs.glyphIndexes().contains(0u);
        const bool own = std::any_of(runs.begin(), runs.end(), [&](const RunSpan &run) { return run.format->family == family; });
        if (!own)
            include(metrics, fonts::LineMetrics{0, int(std::lround(raw.ascent())), int(std::lround(raw.descent()))});
    }
    return missing;
}

// Word centres a line on its text: spaces at its end hang outside. Qt counts them at the end of
// the paragraph.
double visibleWidth(const QTextLine &line, const QString &text)
{
    const int start = line.textStart();
    int end = start + line.textLength();
    while (end > start && text.at(end - 1).isSpace())
        --end;
    if (end == start + line.textLength())
        return line.naturalTextWidth();
    return end == start ? 0.0 : std::abs(line.cursorToX(end) - line.cursorToX(start));
}

double alignedLeft(Alignment alignment, double available, double textWidth)
{
    return alignment == Alignment::Centre ? std::max(0.0, (available - textWidth) / 2) : 0.0;
}

ParagraphBox layoutParagraph(const Paragraph &paragraph, double width, FontBook &book)
{
    ParagraphBox box;
    const FormatInfo &mark = book.info(paragraph.markFormat);
    std::vector<RunSpan> runs;
    QString text;
    for (const Run &run : paragraph.runs) {
        if (run.text.isEmpty())
            continue;
        runs.push_back({int(text.size()), int(text.size() + run.text.size()), &book.info(run.format),
                        wordColour(run.format.colour, Qt::black)});
        text += run.text;
    }
    if (text.isEmpty()) {
        LineBox line;
        line.left = alignedLeft(paragraph.alignment, width, 0);
        line.height = mark.metrics.height();
        line.baseline = mark.metrics.baseline();
        box.height = line.height;
        box.lines.push_back(std::move(line));
        return box;
    }

    auto layout = std::make_shared<QTextLayout>(text, runs.front().format->font);
    layout->setTextOption(paragraphTextOption());
    layout->setCacheEnabled(true);
    QList<QTextLayout::FormatRange> ranges;
    ranges.reserve(qsizetype(runs.size()));
    const std::vector<FamilySpan> spans = shapingSpans(text);
    for (const RunSpan &run : runs)
        appendRunFormats(ranges, run, spans);
    layout->setFormats(ranges);

    const double lineWidth = std::max(width, 1.0);
    std::size_t firstRun = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0, box.height));
        const int start = line.textStart();
        const int end = start + line.textLength();
        fonts::LineMetrics metrics;
        while (firstRun + 1 < runs.size() && runs[firstRun].end <= start)
            ++firstRun;
        for (std::size_t i = firstRun; i < runs.size() && runs[i].start < end; ++i)
            include(metrics, runs[i].format->metrics);
        if (end >= text.size())
            include(metrics, mark.metrics); // the paragraph mark stands at the end of the last line
        const bool missingGlyphs = includeFallbackFonts(metrics, line, runs);

        LineBox lineBox;
        lineBox.textStart = start;
        lineBox.textLength = end - start;
        lineBox.width = visibleWidth(line, text);
        lineBox.left = alignedLeft(paragraph.alignment, width, lineBox.width);
        lineBox.top = box.height;
        lineBox.height = metrics.height();
        lineBox.baseline = metrics.baseline();
        lineBox.text = layout;
        lineBox.lineIndex = line.lineNumber();
        lineBox.missingGlyphs = missingGlyphs;
        box.height += lineBox.height;
        box.lines.push_back(std::move(lineBox));
    }
    layout->endLayout();
    return box;
}

int rowHeight(const Row &row, int needed)
{
    const int specified = row.effectiveHeightTwips();
    switch (row.effectiveHeightRule()) {
    case HeightRule::AtLeast:
        return std::max(specified, needed);
    case HeightRule::Exactly:
        return specified;
    case HeightRule::Auto:
        break;
    }
    return needed;
}

int verticalOffset(VerticalAlignment alignment, int available, int content)
{
    const int spare = std::max(0, available - content); // content that does not fit starts at the top
    switch (alignment) {
    case VerticalAlignment::Centre:
        return spare / 2;
    case VerticalAlignment::Bottom:
        return spare;
    case VerticalAlignment::Top:
        break;
    }
    return 0;
}

TableBox layoutTable(const Table &table, FontBook &book)
{
    TableBox box;
    box.border = table.gridBorders ? kGridLineTwips : 0;
    const int border = box.border;
    const int margin = std::max(0, table.cellMarginTwips);
    int y = 0;
    for (const Row &row : table.rows) {
        RowBox rowBox;
        rowBox.top = y;
        rowBox.row = int(box.rows.size());
        rowBox.mayBreak = row.effectiveHeightRule() != HeightRule::Exactly;
        int x = 0;
        int content = 0;
        for (const Cell &cell : row.cells) {
            CellBox cellBox;
            cellBox.left = x;
            cellBox.width = std::max(0, cell.widthTwips);
            const double textLeft = x + border / 2.0 + margin;
            const double textWidth = cellBox.width - border - 2.0 * margin;
            for (std::size_t k = 0; k < cell.paragraphs.size(); ++k) {
                ParagraphBox paragraph = layoutParagraph(cell.paragraphs[k], textWidth, book);
                for (LineBox &line : paragraph.lines) {
                    line.paragraph = int(k);
                    line.left += textLeft;
                    line.top += cellBox.contentHeight;
                    cellBox.lines.push_back(std::move(line));
                }
                cellBox.contentHeight += paragraph.height;
            }
            content = std::max(content, cellBox.contentHeight);
            x += cellBox.width;
            rowBox.cells.push_back(std::move(cellBox));
        }
        box.width = std::max(box.width, x);
        rowBox.height = rowHeight(row, content + border);
        const int contentTop = y + border;
        const int available = rowBox.height - border;
        for (std::size_t i = 0; i < rowBox.cells.size(); ++i) {
            CellBox &cellBox = rowBox.cells[i];
            const int top = contentTop + verticalOffset(row.cells[i].verticalAlignment, available, cellBox.contentHeight);
            for (LineBox &line : cellBox.lines)
                line.top += top;
        }
        y += rowBox.height;
        box.rows.push_back(std::move(rowBox));
    }
    box.height = y + border;
    return box;
}

bool isEmptyParagraph(const Block &block)
{
    const auto *paragraph = std::get_if<Paragraph>(&block);
    return paragraph && paragraph->text().isEmpty();
}

} // namespace

QColor wordColour(std::int32_t colour, const QColor &automatic)
{
    if (colour < 0 || colour > 0xFFFFFF)
        return automatic;
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

ParagraphBox layoutParagraph(const Paragraph &paragraph, double width)
{
    FontBook book;
    return layoutParagraph(paragraph, width, book);
}

TableBox layoutTable(const Table &table)
{
    FontBook book;
    return layoutTable(table, book);
}

ContentBox layoutContent(const Document &document)
{
    static const std::vector<Block> emptyBody{Paragraph{}};
    const std::vector<Block> &body = document.body.empty() ? emptyBody : document.body;
    std::size_t drawn = body.size();
    if (drawn > 1 && isEmptyParagraph(body.back()))
        --drawn;

    FontBook book;
    ContentBox content;
    const int textWidth = std::max(1, document.page.textWidth());
    int left = 0;
    int right = 0;
    for (std::size_t i = 0; i < drawn; ++i) {
        BlockBox block;
        block.top = content.height;
        if (const auto *table = std::get_if<Table>(&body[i])) {
            TableBox box = layoutTable(*table, book);
            left = std::min(left, -box.border / 2);
            right = std::max(right, box.width + (box.border + 1) / 2);
            content.height += box.height;
            block.box = std::move(box);
        } else {
            ParagraphBox box = layoutParagraph(std::get<Paragraph>(body[i]), textWidth, book);
            right = std::max(right, textWidth);
            content.height += box.height;
            block.box = std::move(box);
        }
        content.blocks.push_back(std::move(block));
    }
    content.left = left;
    content.width = right - left;
    return content;
}

} // namespace wordproc
