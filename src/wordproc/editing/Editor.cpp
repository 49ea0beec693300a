#include "wordproc/editing/Editor.h"

#include "base/Failure.h"

#include <QStringList>

namespace wordproc {
namespace {

// Typed text split at CR LF, lone CR and lone LF: one piece per paragraph.
QStringList paragraphPieces(const QString &text)
{
    QStringList pieces;
    QString piece;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            pieces.append(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    pieces.append(piece);
    return pieces;
}

// Keeps an offset carried from another paragraph off the middle of a surrogate pair.
int clampOffset(const Paragraph &paragraph, int offset)
{
    const QString text = paragraph.text();
    int clamped = std::min(offset, int(text.size()));
    if (clamped > 0 && clamped < text.size() && text.at(clamped - 1).isHighSurrogate())
        --clamped;
    return clamped;
}

int cellLeftEdge(const Row &row, int cell)
{
    int x = 0;
    for (int c = 0; c < cell; ++c)
        x += row.cells[c].widthTwips;
    return x;
}

int cellAtX(const Row &row, int x)
{
    int right = 0;
    for (int c = 0; c < int(row.cells.size()); ++c) {
        right += row.cells[c].widthTwips;
        if (x < right)
            return c;
    }
    return int(row.cells.size()) - 1;
}

// The cursor relies on the model's shape: a body that ends with a paragraph, tables with rows,
// rows with cells, cells with a paragraph. A document read from elsewhere is brought into it.
void ensureEditableShape(Document &document)
{
    std::erase_if(document.body, [](const Block &block) {
        const auto *table = std::get_if<Table>(&block);
        return table && table->rows.empty();
    });
    for (Block &block : document.body) {
        auto *table = std::get_if<Table>(&block);
        if (!table)
            continue;
        for (Row &row : table->rows) {
            if (row.cells.empty())
                row.cells.emplace_back();
            for (Cell &cell : row.cells) {
                if (cell.paragraphs.empty())
                    cell.paragraphs.emplace_back();
            }
        }
    }
    if (document.body.empty() || !std::holds_alternative<Paragraph>(document.body.back()))
        document.body.emplace_back(Paragraph{});
}

} // namespace

Editor::Editor(Document document)
    : m_document(std::move(document))
{
    ensureEditableShape(m_document);
    for (const Block &block : m_document.body) {
        if (std::holds_alternative<Table>(block))
            m_tableIds.push_back(m_nextTableId++);
    }
}

std::optional<CellSpan> Editor::selectedCells() const { return coveredCells(m_document, m_anchor, m_active); }

void Editor::collapseTo(const Position &position)
{
    m_anchor = m_active = position;
    m_pendingFormat.reset();
}

void Editor::moveRight(int count, bool extend)
{
    if (count < 0)
        throw base::Failure(QStringLiteral("Bad parameter: moving right by a negative count is not supported."));
    if (count == 0)
        return;
    m_pendingFormat.reset();
    if (!extend && !isInsertionPoint()) {
        m_anchor = m_active;
        --count;
    }
    Position position = m_active;
    for (int i = 0; i < count; ++i) {
        const auto next = nextPosition(m_document, position);
        if (!next)
            break;
        position = *next;
    }
    m_active = position;
    if (!extend) {
        m_anchor = position;
        return;
    }
    if (const auto span = selectedCells())
        selectCellsOf(*span);
}

// A range that took in a cell mark stands for whole cells; it is widened to their bounds so that
// the next step extends by the next cell.
void Editor::selectCellsOf(const CellSpan &span)
{
    const Table &table = tableAt(m_document, span.block);
    const auto afterRowEnd = [&](int row) {
        return row + 1 < int(table.rows.size()) ? cellStart(span.block, row + 1, 0) : blockStart(m_document, span.block + 1);
    };
    if (span.wholeRows()) {
        m_anchor = cellStart(span.block, span.firstRow, 0);
        m_active = afterRowEnd(span.lastRow);
        return;
    }
    const bool rowEndTaken = m_active.block != span.block || m_active.row != span.firstRow;
    m_anchor = cellStart(span.block, span.firstRow, span.firstCell);
    m_active = rowEndTaken ? afterRowEnd(span.firstRow) : cellStart(span.block, span.firstRow, span.lastCell + 1);
}

void Editor::moveDown(int count)
{
    if (count < 0)
        throw base::Failure(QStringLiteral("Bad parameter: moving down by a negative count is not supported."));
    if (count == 0)
        return;
    Position position = m_active;
    for (int i = 0; i < count; ++i) {
        const auto below = lineBelow(position);
        if (!below)
            break;
        position = *below;
    }
    collapseTo(position);
}

Position Editor::entryPoint(int block, int x, int offset) const
{
    if (!isTableBlock(m_document, block)) {
        const auto &paragraph = std::get<Paragraph>(m_document.body[block]);
        return Position{block, 0, 0, 0, clampOffset(paragraph, offset)};
    }
    const Row &row = tableAt(m_document, block).rows.front();
    const int cell = cellAtX(row, x);
    return Position{block, 0, cell, 0, clampOffset(row.cells[cell].paragraphs.front(), offset)};
}

std::optional<Position> Editor::lineBelow(const Position &from) const
{
    const bool lastBlock = from.block + 1 >= int(m_document.body.size());
    if (!isTableBlock(m_document, from.block))
        return lastBlock ? std::nullopt : std::optional(entryPoint(from.block + 1, 0, from.offset));

    const Table &table = tableAt(m_document, from.block);
    const Row &row = table.rows[from.row];
    const bool lastRow = from.row + 1 >= int(table.rows.size());
    if (isRowEnd(m_document, from)) {
        if (!lastRow)
            return cellStart(from.block, from.row + 1, int(table.rows[from.row + 1].cells.size()));
        return lastBlock ? std::nullopt : std::optional(entryPoint(from.block + 1, 0, 0));
    }
    const Cell &cell = row.cells[from.cell];
    if (from.paragraph + 1 < int(cell.paragraphs.size())) {
        const Paragraph &next = cell.paragraphs[from.paragraph + 1];
        return Position{from.block, from.row, from.cell, from.paragraph + 1, clampOffset(next, from.offset)};
    }
    const int x = cellLeftEdge(row, from.cell);
    if (!lastRow) {
        const Row &below = table.rows[from.row + 1];
        const int target = cellAtX(below, x);
        return Position{from.block, from.row + 1, target, 0, clampOffset(below.cells[target].paragraphs.front(), from.offset)};
    }
    return lastBlock ? std::nullopt : std::optional(entryPoint(from.block + 1, x, from.offset));
}

CharFormat Editor::typingFormat() const
{
    if (m_pendingFormat)
        return *m_pendingFormat;
    const Paragraph *paragraph = paragraphAt(m_document, m_active);
    return paragraph ? formatAt(*paragraph, m_active.offset) : CharFormat{};
}

void Editor::insertParagraphBreak(Position &at, const CharFormat &markFormat)
{
    Paragraph &paragraph = *paragraphAt(m_document, at);
    Paragraph tail = splitParagraph(paragraph, at.offset, markFormat);
    if (isTableBlock(m_document, at.block)) {
        auto &paragraphs = tableAt(m_document, at.block).rows[at.row].cells[at.cell].paragraphs;
        paragraphs.insert(paragraphs.begin() + at.paragraph + 1, std::move(tail));
        at = Position{at.block, at.row, at.cell, at.paragraph + 1, 0};
    } else {
        m_document.body.insert(m_document.body.begin() + at.block + 1, Block{std::move(tail)});
        at = blockStart(m_document, at.block + 1);
    }
}

// Removes the selected text when it lies within one cell or within consecutive body paragraphs;
// answers false (and removes nothing) for a selection that reaches into table structure.
bool Editor::deleteSelectedText()
{
    const Position start = m_anchor;
    const Position end = m_active;
    if (start.block == end.block && isTableBlock(m_document, start.block)) {
        if (start.row != end.row || start.cell != end.cell || isRowEnd(m_document, start))
            return false;
        auto &paragraphs = tableAt(m_document, start.block).rows[start.row].cells[start.cell].paragraphs;
        if (start.paragraph == end.paragraph) {
            removeText(paragraphs[start.paragraph], start.offset, end.offset);
            return true;
        }
        Paragraph &first = paragraphs[start.paragraph];
        Paragraph &last = paragraphs[end.paragraph];
        removeText(first, start.offset, textLength(first));
        removeText(last, 0, end.offset);
        joinParagraph(first, std::move(last));
        paragraphs.erase(paragraphs.begin() + start.paragraph + 1, paragraphs.begin() + end.paragraph + 1);
        return true;
    }
    for (int b = start.block; b <= end.block; ++b) {
        if (isTableBlock(m_document, b))
            return false;
    }
    auto &first = std::get<Paragraph>(m_document.body[start.block]);
    if (start.block == end.block) {
        removeText(first, start.offset, end.offset);
        return true;
    }
    auto &last = std::get<Paragraph>(m_document.body[end.block]);
    removeText(first, start.offset, textLength(first));
    removeText(last, 0, end.offset);
    joinParagraph(first, std::move(last));
    m_document.body.erase(m_document.body.begin() + start.block + 1, m_document.body.begin() + end.block + 1);
    return true;
}

void Editor::typeText(const QString &text)
{
    if (!isInsertionPoint()) {
        // The replaced text's first character gives the new text its format.
        if (!m_pendingFormat && !selectedCells()) {
            if (const Paragraph *paragraph = paragraphAt(m_document, m_anchor))
                m_pendingFormat = formatAt(*paragraph, std::min(m_anchor.offset + 1, textLength(*paragraph)));
        }
        if (!selectedCells())
            deleteSelectedText();
        m_active = m_anchor;
    }
    if (isRowEnd(m_document, m_active))
        throw base::Failure(QStringLiteral("Text cannot be typed at the end of a table row."));

    const CharFormat format = typingFormat();
    const QStringList pieces = paragraphPieces(text);
    Position at = m_active;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            insertParagraphBreak(at, format);
        const QString clean = sanitizeUserText(pieces[i]);
        insertText(*paragraphAt(m_document, at), at.offset, clean, format);
        at.offset += int(clean.size());
    }
    m_anchor = m_active = at;
    // An empty last piece leaves the cursor in a new empty paragraph, where typing goes on in the
    // same format; otherwise the text before the cursor carries it.
    if (!text.isEmpty())
        m_pendingFormat = pieces.back().isEmpty() ? std::optional(format) : std::nullopt;
}

void Editor::forEachParagraphInSelection(const std::function<void(Paragraph &, int, int, bool)> &fn)
{
    const Position start = m_anchor;
    const Position end = m_active;
    if (const auto span = selectedCells()) {
        forEachCell(*span, [&](Cell &cell) {
            for (Paragraph &paragraph : cell.paragraphs)
                fn(paragraph, 0, textLength(paragraph), true);
        });
        return;
    }
    if (isTableBlock(m_document, start.block)) {
        if (isRowEnd(m_document, start))
            return;
        auto &paragraphs = tableAt(m_document, start.block).rows[start.row].cells[start.cell].paragraphs;
        for (int p = start.paragraph; p <= end.paragraph; ++p) {
            Paragraph &paragraph = paragraphs[p];
            fn(paragraph, p == start.paragraph ? start.offset : 0, p == end.paragraph ? end.offset : textLength(paragraph),
               p != end.paragraph);
        }
        return;
    }
    for (int b = start.block; b <= end.block; ++b) {
        if (auto *paragraph = std::get_if<Paragraph>(&m_document.body[b])) {
            fn(*paragraph, b == start.block ? start.offset : 0, b == end.block ? end.offset : textLength(*paragraph),
               b != end.block);
            continue;
        }
        for (Row &row : tableAt(m_document, b).rows) {
            for (Cell &cell : row.cells) {
                for (Paragraph &paragraph : cell.paragraphs)
                    fn(paragraph, 0, textLength(paragraph), true);
            }
        }
    }
}

void Editor::changeFont(const FormatChange &change)
{
    if (isInsertionPoint()) {
        if (isRowEnd(m_document, m_active)) {
            change(tableAt(m_document, m_active.block).rows[m_active.row].markFormat);
            return;
        }
        Paragraph &paragraph = *paragraphAt(m_document, m_active);
        CharFormat format = typingFormat();
        change(format);
        m_pendingFormat = format;
        if (paragraph.runs.empty())
            change(paragraph.markFormat);
        return;
    }
    forEachParagraphInSelection([&](Paragraph &paragraph, int from, int to, bool markIncluded) {
        changeFormat(paragraph, from, to, change);
        if (markIncluded)
            change(paragraph.markFormat);
    });
    if (const auto span = selectedCells()) { // row-end marks the selection holds
        Table &table = tableAt(m_document, span->block);
        for (int r = span->firstRow; r <= span->lastRow; ++r) {
            const bool rowEndTaken = m_active.block != span->block || m_active.row > r;
            if (rowEndTaken)
                change(table.rows[r].markFormat);
        }
    }
}

void Editor::setParagraphAlignment(Alignment alignment)
{
    if (isInsertionPoint()) {
        if (Paragraph *paragraph = paragraphAt(m_document, m_active))
            paragraph->alignment = alignment;
        return;
    }
    forEachParagraphInSelection([&](Paragraph &paragraph, int, int, bool) { paragraph.alignment = alignment; });
}

} // namespace wordproc
