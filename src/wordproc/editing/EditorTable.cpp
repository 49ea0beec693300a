// The editor's table commands: cells and rows of the selection, merging, and new tables.
#include "wordproc/editing/Editor.h"

#include "base/Failure.h"

#include <algorithm>

namespace wordproc {
namespace {

const QString kNotInTable =
    QStringLiteral("This method or property is not available because some or all of the object does not refer to a table.");

bool isEmptyCell(const Cell &cell) { return cell.paragraphs.size() == 1 && cell.paragraphs.front().runs.empty(); }

} // namespace

CellSpan Editor::commandCells() const
{
    if (const auto span = selectedCells())
        return *span;
    const Position start = m_anchor;
    if (!isTableBlock(m_document, start.block) || m_active.block != start.block)
        throw base::Failure(kNotInTable);
    if (isRowEnd(m_document, start))
        throw base::Failure(QStringLiteral("This is not a valid action for the end of a row."));
    return CellSpan{start.block, start.row, start.row, start.cell, start.cell};
}

CellSpan Editor::commandRows() const
{
    if (const auto span = selectedCells())
        return *span;
    const Position start = m_anchor;
    if (!isTableBlock(m_document, start.block) || m_active.block != start.block)
        throw base::Failure(kNotInTable);
    return CellSpan{start.block, start.row, start.row, 0, 0};
}

void Editor::forEachCell(const CellSpan &span, const std::function<void(Cell &)> &fn)
{
    Table &table = tableAt(m_document, span.block);
    for (int r = span.firstRow; r <= span.lastRow; ++r) {
        auto &cells = table.rows[r].cells;
        const int first = span.wholeRows() ? 0 : span.firstCell;
        const int last = span.wholeRows() ? int(cells.size()) - 1 : span.lastCell;
        for (int c = first; c <= last; ++c)
            fn(cells[c]);
    }
}

// The merged cell is as wide as the cells it replaces and keeps the first one's look; their
// contents follow one another as paragraphs, empty cells adding nothing.
void Editor::mergeCells()
{
    const auto span = selectedCells();
    if (!span)
        throw base::Failure(QStringLiteral("Select at least two cells of one row to merge them."));
    if (span->wholeRows())
        throw base::Failure(QStringLiteral("Cells of different rows cannot be merged."));
    if (span->firstCell == span->lastCell) {
        collapseTo(cellStart(span->block, span->firstRow, span->firstCell));
        return; // one cell is already merged
    }
    auto &cells = tableAt(m_document, span->block).rows[span->firstRow].cells;
    const auto first = cells.begin() + span->firstCell;
    const auto end = cells.begin() + span->lastCell + 1;

    Cell merged = *first;
    merged.widthTwips = 0;
    merged.paragraphs.clear();
    for (auto it = first; it != end; ++it) {
        merged.widthTwips += it->widthTwips;
        if (!isEmptyCell(*it))
            merged.paragraphs.insert(merged.paragraphs.end(), it->paragraphs.begin(), it->paragraphs.end());
    }
    if (merged.paragraphs.empty())
        merged.paragraphs = first->paragraphs;
    *first = std::move(merged);
    cells.erase(first + 1, end);
    collapseTo(cellStart(span->block, span->firstRow, span->firstCell));
}

void Editor::setCellsVerticalAlignment(VerticalAlignment alignment)
{
    forEachCell(commandCells(), [&](Cell &cell) { cell.verticalAlignment = alignment; });
}

void Editor::changeCellsShading(const std::function<void(Shading &)> &change)
{
    forEachCell(commandCells(), [&](Cell &cell) { change(cell.shading); });
}

void Editor::setRowsHeightRule(HeightRule rule)
{
    const CellSpan rows = commandRows();
    Table &table = tableAt(m_document, rows.block);
    for (int r = rows.firstRow; r <= rows.lastRow; ++r)
        table.rows[r].heightRule = rule;
}

// As in Word, giving a row of automatic height a height makes it "at least" that high.
void Editor::setRowsHeight(int twips)
{
    const CellSpan rows = commandRows();
    Table &table = tableAt(m_document, rows.block);
    for (int r = rows.firstRow; r <= rows.lastRow; ++r) {
        Row &row = table.rows[r];
        row.heightTwips = twips;
        if (row.heightRule == HeightRule::Auto)
            row.heightRule = HeightRule::AtLeast;
    }
}

int Editor::insertTable(const Position &at, int rows, int columns)
{
    if (rows < 1 || columns < 1)
        throw base::Failure(QStringLiteral("A table needs at least one row and one column."));
    if (!isValidPosition(m_document, at))
        throw base::Failure(QStringLiteral("The range is no longer part of the document."));
    if (isTableBlock(m_document, at.block))
        throw base::Failure(QStringLiteral("A table cannot be placed inside another table."));
    const int textWidth = m_document.page.textWidth();
    if (textWidth < columns)
        throw base::Failure(QStringLiteral("The page leaves no room for a table of %1 columns.").arg(columns));

    int block = at.block;
    if (at.offset > 0) { // the table goes between the text before and after the position
        Position split = at;
        insertParagraphBreak(split, std::get<Paragraph>(m_document.body[block]).markFormat);
        block = split.block;
    }
    // Two tables never touch: the stored format would read them back with an empty paragraph
    // between them, so that paragraph is made here, as Word does.
    if (block > 0 && isTableBlock(m_document, block - 1)) {
        Paragraph between;
        between.markFormat = std::get<Paragraph>(m_document.body[block]).markFormat;
        m_document.body.insert(m_document.body.begin() + block, Block{std::move(between)});
        ++block;
    }
    const Paragraph &following = std::get<Paragraph>(m_document.body[block]);

    Cell cell;
    cell.paragraphs.front().markFormat = following.markFormat;
    cell.paragraphs.front().alignment = following.alignment;
    Row row;
    row.markFormat = following.markFormat;
    for (int c = 0; c < columns; ++c) {
        cell.widthTwips = textWidth / columns + (c < textWidth % columns ? 1 : 0);
        row.cells.push_back(cell);
    }
    Table table;
    table.rows.assign(std::size_t(rows), row);

    const int ordinal = int(std::count_if(m_document.body.begin(), m_document.body.begin() + block,
                                          [](const Block &b) { return std::holds_alternative<Table>(b); }));
    m_document.body.insert(m_document.body.begin() + block, Block{std::move(table)});
    const int id = m_nextTableId++;
    m_tableIds.insert(m_tableIds.begin() + ordinal, id);
    collapseTo(cellStart(block, 0, 0));
    return id;
}

Table &Editor::table(int id)
{
    const auto it = std::find(m_tableIds.begin(), m_tableIds.end(), id);
    if (it == m_tableIds.end())
        throw base::Failure(QStringLiteral("Object has been deleted."));
    int ordinal = int(it - m_tableIds.begin());
    for (Block &block : m_document.body) {
        if (auto *table = std::get_if<Table>(&block); table && ordinal-- == 0)
            return *table;
    }
    throw base::Failure(QStringLiteral("Object has been deleted."));
}

} // namespace wordproc
