#pragma once
// The document as Word sees it for cursor work: one character stream in which every paragraph ends
// with a paragraph mark, a cell's last paragraph ends with the cell mark instead, and every table
// row ends with a row-end mark. A position stands between two characters of that stream and is
// kept structurally, so moving and editing never re-scan the document; stream offsets are derived
// on request.
#include "wordproc/model/DocumentModel.h"

#include <QString>

#include <compare>
#include <optional>

namespace wordproc {

// Stream characters as the .doc format stores them.
inline constexpr char16_t kParagraphMark = u'\r';
inline constexpr char16_t kCellMark = 0x07;
inline constexpr char16_t kRowEndMark = 0x07;

struct Position {
    int block = 0;     // index into Document::body
    int row = 0;       // table blocks only
    int cell = 0;      // table blocks only; the row's cell count stands before its row-end mark
    int paragraph = 0; // within the cell; 0 in a paragraph block
    int offset = 0;    // into the paragraph's text; its length stands before the paragraph's mark
    auto operator<=>(const Position &) const = default;
};

// A run of whole cells: cells [firstCell, lastCell] of one row, or, when the selection reaches
// over row-end marks, every cell of rows [firstRow, lastRow].
struct CellSpan {
    int block = 0;
    int firstRow = 0;
    int lastRow = 0;
    int firstCell = 0;
    int lastCell = 0;
    bool wholeRows() const { return firstRow != lastRow; }
};

bool isTableBlock(const Document &document, int block);
const Table &tableAt(const Document &document, int block);
Table &tableAt(Document &document, int block);

bool isRowEnd(const Document &document, const Position &position);
bool isInCell(const Document &document, const Position &position); // in a cell's text, not at a row end
bool isValidPosition(const Document &document, const Position &position);

// The paragraph a position is in; null at a row end.
const Paragraph *paragraphAt(const Document &document, const Position &position);
Paragraph *paragraphAt(Document &document, const Position &position);

// The first position of a block, of a cell, and the last position of the document (before the
// final paragraph mark, which the insertion point never passes).
Position blockStart(const Document &document, int block);
Position cellStart(int block, int row, int cell);
Position documentEnd(const Document &document);

// One character to the right: over a text character (a surrogate pair counts as one), a paragraph
// mark, a cell mark or a row-end mark. Empty at the end of the document.
std::optional<Position> nextPosition(const Document &document, const Position &position);

// The cells a range [start, end) covers once it holds a cell or row-end mark; empty when it stays
// within one cell's text or lies outside tables.
std::optional<CellSpan> coveredCells(const Document &document, const Position &start, const Position &end);

// Stream offsets and the stream itself, with marks as the .doc format writes them.
int streamOffset(const Document &document, const Position &position);
Position positionAtOffset(const Document &document, int offset);
QString streamText(const Document &document);

} // namespace wordproc
