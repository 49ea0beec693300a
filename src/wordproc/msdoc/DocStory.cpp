#include "wordproc/msdoc/DocStory.h"

#include "wordproc/msdoc/DocBytes.h"
#include "wordproc/msdoc/DocColours.h"
#include "wordproc/msdoc/DocFormatConstants.h"
#include "base/Failure.h"

namespace wordproc::doc {

namespace {

[[noreturn]] void refuse(const QString &what)
{
    throw base::Failure(QStringLiteral("The document cannot be saved as a Word file: %1.").arg(what));
}

void checkFormat(const CharFormat &format)
{
    if (format.fontName.isEmpty() || format.fontName.size() > kMaxFontNameLength
        || sanitizeUserText(format.fontName) != format.fontName || format.fontName.contains(u'\t'))
        refuse(QStringLiteral("the font name \"%1\" is not usable").arg(format.fontName));
    if (format.halfPoints < kMinHalfPoints || format.halfPoints > kMaxHalfPoints)
        refuse(QStringLiteral("the font size of %1 half points is outside 1 to 1638 points").arg(format.halfPoints));
    if (!isStorableColour(format.colour))
        refuse(QStringLiteral("%1 is not a Word colour number").arg(format.colour));
}

void checkShading(const Shading &shading)
{
    if (!ipatOfTexture(shading.texture))
        refuse(QStringLiteral("%1 is not a Word shading texture").arg(shading.texture));
    if (!isStorableColour(shading.foreground) || !isStorableColour(shading.background))
        refuse(QStringLiteral("a cell shading colour is not a Word colour number"));
}

bool inTwipsRange(int value) { return value >= 0 && value <= kMaxTwips; }

class StoryBuilder {
public:
    void paragraph(const Paragraph &paragraph, bool inTable, char16_t mark)
    {
        if (paragraph.alignment != Alignment::Left && paragraph.alignment != Alignment::Centre)
            refuse(QStringLiteral("a paragraph has an unknown alignment"));
        for (const Run &run : paragraph.runs)
            text(sanitizeUserText(run.text), run.format);
        text(QString(QChar(mark)), paragraph.markFormat);
        m_story.paragraphs.push_back({m_story.text.size(), paragraph.alignment, inTable, std::nullopt});
    }

    void table(const Table &table)
    {
        if (!inTwipsRange(table.cellMarginTwips))
            refuse(QStringLiteral("a cell margin of %1 twips is out of range").arg(table.cellMarginTwips));
        if (table.style.size() > kMaxStyleNameLength)
            refuse(QStringLiteral("the table style name \"%1\" is too long").arg(table.style));
        for (const Row &row : table.rows)
            this->row(row, table);
    }

    bool isEmpty() const { return m_story.paragraphs.empty(); }
    Story take() { return std::move(m_story); }

private:
    void row(const Row &row, const Table &table)
    {
        if (row.cells.empty() || int(row.cells.size()) > kMaxCellsPerRow)
            refuse(QStringLiteral("a table row must have 1 to %1 cells, not %2").arg(kMaxCellsPerRow).arg(row.cells.size()));
        if (row.heightRule != HeightRule::Auto && row.heightRule != HeightRule::AtLeast
            && row.heightRule != HeightRule::Exactly)
            refuse(QStringLiteral("a table row has an unknown height rule"));
        if (!inTwipsRange(row.heightTwips))
            refuse(QStringLiteral("a row height of %1 twips is out of range").arg(row.heightTwips));
        RowLayout layout;
        layout.heightRule = row.effectiveHeightRule();
        layout.heightTwips = row.effectiveHeightTwips();
        layout.gapHalfTwips = table.cellMarginTwips;
        layout.gridBorders = table.gridBorders;
        layout.style = table.style;
        long long rowWidth = 0;
        for (const Cell &cell : row.cells) {
            rowWidth += cell.widthTwips;
            if (!inTwipsRange(cell.widthTwips) || rowWidth > kMaxTwips)
                refuse(QStringLiteral("a table row is wider than 22 inches or has a negative cell width"));
            checkShading(cell.shading);
            if (cell.verticalAlignment != VerticalAlignment::Top && cell.verticalAlignment != VerticalAlignment::Centre
                && cell.verticalAlignment != VerticalAlignment::Bottom)
                refuse(QStringLiteral("a table cell has an unknown vertical alignment"));
            layout.cells.push_back({cell.widthTwips, cell.verticalAlignment, cell.shading});
            const std::vector<Paragraph> &paragraphs = cell.paragraphs;
            if (paragraphs.empty()) {
                paragraph(Paragraph{}, true, kCellMark); // a cell always holds a paragraph
                continue;
            }
            for (size_t i = 0; i < paragraphs.size(); ++i)
                paragraph(paragraphs[i], true, i + 1 == paragraphs.size() ? kCellMark : kParagraphMark);
        }
        text(QString(QChar(kCellMark)), row.markFormat);
        m_story.paragraphs.push_back({m_story.text.size(), Alignment::Left, true, std::move(layout)});
    }

    void text(const QString &text, const CharFormat &format)
    {
        if (text.isEmpty())
            return;
        checkFormat(format);
        m_story.text += text;
        if (!m_story.runs.empty() && m_story.runs.back().format == format)
            m_story.runs.back().end = m_story.text.size();
        else
            m_story.runs.push_back({m_story.text.size(), format});
    }

    Story m_story;
};

// Walks the story's runs in order while the paragraphs are rebuilt.
class RunCursor {
public:
    explicit RunCursor(const Story &story) : m_story(story) {}

    const CharFormat &formatAt(qsizetype position)
    {
        while (m_index < m_story.runs.size() && m_story.runs[m_index].end <= position)
            ++m_index;
        if (m_index == m_story.runs.size())
            throwDamaged(QStringLiteral("the character formats do not cover the text"));
        return m_story.runs[m_index].format;
    }

    qsizetype runEnd() const { return m_story.runs[m_index].end; }

private:
    const Story &m_story;
    size_t m_index = 0;
};

class BodyBuilder {
public:
    explicit BodyBuilder(const Story &story) : m_story(story), m_runs(story) { m_cell.paragraphs.clear(); }

    std::vector<Block> build()
    {
        qsizetype start = 0;
        for (const StoryParagraph &paragraph : m_story.paragraphs) {
            if (paragraph.end <= start || paragraph.end > m_story.text.size())
                throwDamaged(QStringLiteral("the paragraph list does not match the text"));
            add(paragraph, start);
            start = paragraph.end;
        }
        if (start != m_story.text.size())
            throwDamaged(QStringLiteral("the text does not end with a paragraph mark"));
        closeTable(QStringLiteral("the document ends inside a table row"));
        if (m_body.empty() || std::holds_alternative<Table>(m_body.back()))
            m_body.push_back(Paragraph{});
        return std::move(m_body);
    }

private:
    void add(const StoryParagraph &paragraph, qsizetype start)
    {
        const char16_t mark = m_story.text.at(paragraph.end - 1).unicode();
        if (paragraph.row) {
            endRow(*paragraph.row, paragraph.end - 1);
        } else if (paragraph.inTable) {
            m_cell.paragraphs.push_back(makeParagraph(paragraph, start));
            if (mark == kCellMark) {
                m_row.cells.push_back(std::move(m_cell));
                m_cell = Cell{};
                m_cell.paragraphs.clear();
            }
        } else {
            closeTable(QStringLiteral("a table row is not closed"));
            m_body.push_back(makeParagraph(paragraph, start));
        }
    }

    void endRow(const RowLayout &layout, qsizetype markPosition)
    {
        if (!m_cell.paragraphs.empty())
            throwDamaged(QStringLiteral("a table cell is not closed"));
        if (m_row.cells.size() != layout.cells.size())
            throwDamaged(QStringLiteral("a table row holds %1 cells but its definition %2")
                             .arg(m_row.cells.size())
                             .arg(layout.cells.size()));
        for (size_t i = 0; i < layout.cells.size(); ++i) {
            m_row.cells[i].widthTwips = layout.cells[i].widthTwips;
            m_row.cells[i].verticalAlignment = layout.cells[i].verticalAlignment;
            m_row.cells[i].shading = layout.cells[i].shading;
        }
        m_row.heightRule = layout.heightRule;
        m_row.heightTwips = layout.heightTwips;
        m_row.markFormat = m_runs.formatAt(markPosition);
        if (!m_table) {
            m_table = Table{};
            m_table->style = layout.style;
            m_table->gridBorders = layout.gridBorders;
            m_table->cellMarginTwips = layout.gapHalfTwips;
        }
        m_table->rows.push_back(std::move(m_row));
        m_row = Row{};
    }

    void closeTable(const QString &openRowProblem)
    {
        if (!m_cell.paragraphs.empty() || !m_row.cells.empty())
            throwDamaged(openRowProblem);
        if (m_table) {
            m_body.push_back(std::move(*m_table));
            m_table.reset();
        }
    }

    Paragraph makeParagraph(const StoryParagraph &source, qsizetype start)
    {
        Paragraph paragraph;
        paragraph.alignment = source.alignment;
        const qsizetype markPosition = source.end - 1;
        qsizetype position = start;
        while (position < markPosition) {
            const CharFormat &format = m_runs.formatAt(position);
            const qsizetype end = std::min(m_runs.runEnd(), markPosition);
            const QString text = sanitizeUserText(m_story.text.mid(position, end - position));
            if (!paragraph.runs.empty() && paragraph.runs.back().format == format)
                paragraph.runs.back().text += text;
            else
                paragraph.runs.push_back({text, format});
            position = end;
        }
        paragraph.markFormat = m_runs.formatAt(markPosition);
        return paragraph;
    }

    const Story &m_story;
    RunCursor m_runs;
    std::vector<Block> m_body;
    std::optional<Table> m_table;
    Row m_row;
    Cell m_cell;
};

} // namespace

Story flattenStory(const Document &document)
{
    StoryBuilder builder;
    bool afterTable = false;
    for (const Block &block : document.body) {
        if (const auto *paragraph = std::get_if<Paragraph>(&block)) {
            builder.paragraph(*paragraph, false, kParagraphMark);
            afterTable = false;
            continue;
        }
        const Table &table = std::get<Table>(block);
        if (table.rows.empty())
            continue;
        // Two tables with nothing between them would read back as one.
        if (afterTable)
            builder.paragraph(Paragraph{}, false, kParagraphMark);
        builder.table(table);
        afterTable = true;
    }
    // Word's text always ends with a paragraph outside any table.
    if (builder.isEmpty() || afterTable)
        builder.paragraph(Paragraph{}, false, kParagraphMark);
    return builder.take();
}

std::vector<Block> rebuildBody(const Story &story)
{
    return BodyBuilder(story).build();
}

} // namespace wordproc::doc
