#include "wordproc/editing/EditorPosition.h"

#include "wordproc/editing/EditorText.h"

namespace wordproc {
namespace {

int cellStreamLength(const Cell &cell)
{
    int length = 0;
    for (const Paragraph &paragraph : cell.paragraphs)
        length += textLength(paragraph) + 1; // the last paragraph's mark is the cell mark
    return length;
}

int rowStreamLength(const Row &row)
{
    int length = 1; // the row-end mark
    for (const Cell &cell : row.cells)
        length += cellStreamLength(cell);
    return length;
}

int blockStreamLength(const Block &block)
{
    if (const auto *paragraph = std::get_if<Paragraph>(&block))
        return textLength(*paragraph) + 1;
    int length = 0;
    for (const Row &row : std::get<Table>(block).rows)
        length += rowStreamLength(row);
    return length;
}

// Width of the character at the offset: a surrogate pair is one character to the cursor.
int characterWidth(const Paragraph &paragraph, int offset)
{
    int start = 0;
    for (const Run &run : paragraph.runs) {
        const int length = int(run.text.size());
        if (offset < start + length) {
            const int i = offset - start;
            const bool pair = run.text.at(i).isHighSurrogate() && i + 1 < length && run.text.at(i + 1).isLowSurrogate();
            return pair ? 2 : 1;
        }
        start += length;
    }
    return 1;
}

// Moves the position by up to `remaining` characters within one paragraph; answers what is left.
int positionWithin(const Paragraph &paragraph, int &remaining)
{
    const int length = textLength(paragraph);
    if (remaining <= length) {
        const int offset = remaining;
        remaining = -1;
        return offset;
    }
    remaining -= length + 1;
    return -1;
}

void appendParagraphText(QString &stream, const Paragraph &paragraph)
{
    for (const Run &run : paragraph.runs)
        stream += run.text;
}

} // namespace

bool isTableBlock(const Document &document, int block)
{
    return block >= 0 && block < int(document.body.size()) && std::holds_alternative<Table>(document.body[block]);
}

const Table &tableAt(const Document &document, int block) { return std::get<Table>(document.body[block]); }
Table &tableAt(Document &document, int block) { return std::get<Table>(document.body[block]); }

bool isRowEnd(const Document &document, const Position &position)
{
    return isTableBlock(document, position.block)
        && position.cell == int(tableAt(document, position.block).rows[position.row].cells.size());
}

bool isInCell(const Document &document, const Position &position)
{
    return isTableBlock(document, position.block) && !isRowEnd(document, position);
}

bool isValidPosition(const Document &document, const Position &position)
{
    if (position.block < 0 || position.block >= int(document.body.size()))
        return false;
    const Paragraph *paragraph = nullptr;
    if (isTableBlock(document, position.block)) {
        const Table &table = tableAt(document, position.block);
        if (position.row < 0 || position.row >= int(table.rows.size()))
            return false;
        const Row &row = table.rows[position.row];
        if (position.cell == int(row.cells.size()))
            return position.paragraph == 0 && position.offset == 0;
        if (position.cell < 0 || position.cell > int(row.cells.size()))
            return false;
        const Cell &cell = row.cells[position.cell];
        if (position.paragraph < 0 || position.paragraph >= int(cell.paragraphs.size()))
            return false;
        paragraph = &cell.paragraphs[position.paragraph];
    } else {
        if (position.row != 0 || position.cell != 0 || position.paragraph != 0)
            return false;
        paragraph = &std::get<Paragraph>(document.body[position.block]);
    }
    return position.offset >= 0 && position.offset <= textLength(*paragraph);
}

const Paragraph *paragraphAt(const Document &document, const Position &position)
{
    if (!isTableBlock(document, position.block))
        return &std::get<Paragraph>(document.body[position.block]);
    const Row &row = tableAt(document, position.block).rows[position.row];
    if (position.cell >= int(row.cells.size()))
        return nullptr;
    return &row.cells[position.cell].paragraphs[position.paragraph];
}

Paragraph *paragraphAt(Document &document, const Position &position)
{
    return const_cast<Paragraph *>(paragraphAt(std::as_const(document), position));
}

Position blockStart(const Document &, int block) { return Position{block, 0, 0, 0, 0}; }

Position cellStart(int block, int row, int cell) { return Position{block, row, cell, 0, 0}; }

Position documentEnd(const Document &document)
{
    const int last = int(document.body.size()) - 1;
    return Position{last, 0, 0, 0, textLength(std::get<Paragraph>(document.body[last]))};
}

std::optional<Position> nextPosition(const Document &document, const Position &position)
{
    Position next = position;
    const bool lastBlock = position.block + 1 >= int(document.body.size());
    if (!isTableBlock(document, position.block)) {
        const Paragraph &paragraph = std::get<Paragraph>(document.body[position.block]);
        if (position.offset < textLength(paragraph)) {
            next.offset += characterWidth(paragraph, position.offset);
            return next;
        }
        if (lastBlock)
            return std::nullopt; // the final paragraph mark
        return blockStart(document, position.block + 1);
    }

    const Table &table = tableAt(document, position.block);
    const Row &row = table.rows[position.row];
    if (position.cell == int(row.cells.size())) { // over the row-end mark
        if (position.row + 1 < int(table.rows.size()))
            return cellStart(position.block, position.row + 1, 0);
        if (lastBlock)
            return std::nullopt;
        return blockStart(document, position.block + 1);
    }
    const Cell &cell = row.cells[position.cell];
    const Paragraph &paragraph = cell.paragraphs[position.paragraph];
    if (position.offset < textLength(paragraph)) {
        next.offset += characterWidth(paragraph, position.offset);
        return next;
    }
    if (position.paragraph + 1 < int(cell.paragraphs.size())) {
        next.paragraph += 1;
        next.offset = 0;
        return next;
    }
    return cellStart(position.block, position.row, position.cell + 1); // over the cell mark
}

std::optional<CellSpan> coveredCells(const Document &document, const Position &start, const Position &end)
{
    if (!(start < end) || !isTableBlock(document, start.block))
        return std::nullopt;
    const Table &table = tableAt(document, start.block);
    const auto lastCellOf = [&](int row) { return int(table.rows[row].cells.size()) - 1; };
    const auto wholeRows = [&](int firstRow, int lastRow) {
        return CellSpan{start.block, firstRow, lastRow, 0, lastCellOf(lastRow)};
    };

    if (end.block != start.block)
        return wholeRows(start.row, int(table.rows.size()) - 1);
    if (end.row == start.row) {
        if (end.cell == start.cell)
            return std::nullopt; // within one cell's text
        const bool insideEndCell = end.cell < int(table.rows[end.row].cells.size()) && (end.paragraph > 0 || end.offset > 0);
        const int lastCell = insideEndCell ? end.cell : end.cell - 1;
        return CellSpan{start.block, start.row, start.row, start.cell, lastCell};
    }
    const bool atRowStart = end.cell == 0 && end.paragraph == 0 && end.offset == 0;
    const int lastRow = atRowStart ? end.row - 1 : end.row;
    if (lastRow == start.row)
        return CellSpan{start.block, start.row, start.row, std::min(start.cell, lastCellOf(start.row)), lastCellOf(start.row)};
    return wholeRows(start.row, lastRow);
}

int streamOffset(const Document &document, const Position &position)
{
    int offset = 0;
    for (int b = 0; b < position.block; ++b)
        offset += blockStreamLength(document.body[b]);
    if (!isTableBlock(document, position.block))
        return offset + position.offset;
    const Table &table = tableAt(document, position.block);
    for (int r = 0; r < position.row; ++r)
        offset += rowStreamLength(table.rows[r]);
    const Row &row = table.rows[position.row];
    for (int c = 0; c < position.cell; ++c)
        offset += cellStreamLength(row.cells[c]);
    if (position.cell == int(row.cells.size()))
        return offset;
    const Cell &cell = row.cells[position.cell];
    for (int p = 0; p < position.paragraph; ++p)
        offset += textLength(cell.paragraphs[p]) + 1;
    return offset + position.offset;
}

Position positionAtOffset(const Document &document, int offset)
{
    int remaining = std::max(offset, 0);
    for (int b = 0; b < int(document.body.size()); ++b) {
        const Block &block = document.body[b];
        const int length = blockStreamLength(block);
        if (remaining >= length) {
            remaining -= length;
            continue;
        }
        if (std::holds_alternative<Paragraph>(block))
            return Position{b, 0, 0, 0, remaining};
        const Table &table = std::get<Table>(block);
        for (int r = 0; r < int(table.rows.size()); ++r) {
            const Row &row = table.rows[r];
            const int rowLength = rowStreamLength(row);
            if (remaining >= rowLength) {
                remaining -= rowLength;
                continue;
            }
            for (int c = 0; c < int(row.cells.size()); ++c) {
                const Cell &cell = row.cells[c];
                for (int p = 0; p < int(cell.paragraphs.size()); ++p) {
                    const int within = positionWithin(cell.paragraphs[p], remaining);
                    if (within >= 0)
                        return Position{b, r, c, p, within};
                }
            }
            return Position{b, r, int(row.cells.size()), 0, 0};
        }
    }
    return documentEnd(document);
}

QString streamText(const Document &document)
{
    QString stream;
    for (const Block &block : document.body) {
        if (const auto *paragraph = std::get_if<Paragraph>(&block)) {
            appendParagraphText(stream, *paragraph);
            stream += QChar(kParagraphMark);
            continue;
        }
        for (const Row &row : std::get<Table>(block).rows) {
            for (const Cell &cell : row.cells) {
                for (std::size_t p = 0; p < cell.paragraphs.size(); ++p) {
                    appendParagraphText(stream, cell.paragraphs[p]);
                    stream += QChar(p + 1 < cell.paragraphs.size() ? kParagraphMark : kCellMark);
                }
            }
            stream += QChar(kRowEndMark);
        }
    }
    return stream;
}

} // namespace wordproc
