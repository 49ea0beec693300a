#pragma once
// Page layout of the built-in word processor: where every row, cell and line of text goes, in
// twips, independent of the resolution it is later drawn at. The numbers follow Word's model
// as LibreOffice reproduces it for .doc files:
// - a line is as tall as the largest leading + ascent + descent (Word's font metrics) on it;
//   the paragraph mark's format counts on the last line and alone gives an empty paragraph
//   its height;
// - a row's height includes its top border; its content area is the rest, and the last
//   row's bottom border hangs below the table;
// - text sits one cell margin inside a cell's border.
#include "wordproc/model/DocumentModel.h"

#include <QColor>

#include <memory>
#include <variant>
#include <vector>

class QTextLayout;

namespace wordproc {

// Word colour number (red + 256 * green + 65536 * blue) as a colour; kAutoColour and other
// values outside that range give `automatic`.
QColor wordColour(std::int32_t colour, const QColor &automatic);

// One line of text. Positions are twips in the coordinates of the table or paragraph that
// holds the line.
struct LineBox {
    int paragraph = 0;     // index of the paragraph within its cell
    int textStart = 0;     // UTF-16 offset into the paragraph's text
    int textLength = 0;    // 0 for an empty paragraph
    double left = 0;       // where the text starts
    double width = 0;      // the text's width, trailing spaces left out
    int top = 0;
    int height = 0;
    int baseline = 0;      // from top
    // What the painter draws: line `lineIndex` of `text` (both unset for an empty paragraph).
    std::shared_ptr<const QTextLayout> text;
    int lineIndex = -1;
    bool missingGlyphs = false; // some character has no glyph in any installed font
};

struct ParagraphBox {
    int height = 0;
    std::vector<LineBox> lines; // positioned from the paragraph's top-left corner
};

struct CellBox {
    int left = 0;          // the cell's edges: borders are centred on them
    int width = 0;
    int contentHeight = 0; // height of the stacked paragraphs
    std::vector<LineBox> lines;
};

struct RowBox {
    int top = 0;
    int height = 0;
    std::vector<CellBox> cells;
    int row = -1;          // the table's row this box draws: a row split across pages gives several
    bool mayBreak = true;  // false for a row of exact height, which keeps its content clipped to it
};

// Table coordinates: x = 0 is the left edge of the first cell (its border reaches border / 2
// further left), y = 0 is the top of the first row's top border.
struct TableBox {
    int border = 0;  // width of the grid lines, 0 without borders
    int width = 0;   // from the first cell's left edge to the widest row's right edge
    int height = 0;  // all rows plus the bottom border of the last
    std::vector<RowBox> rows;
};

ParagraphBox layoutParagraph(const Paragraph &paragraph, double width);
TableBox layoutTable(const Table &table);

// The drawn part of a document's body, stacked top to bottom. x = 0 is the left margin of the
// page's text area, y = 0 the top of the first block.
struct BlockBox {
    int top = 0;
    std::variant<ParagraphBox, TableBox> box;
};

struct ContentBox {
    std::vector<BlockBox> blocks;   // one per drawn block of the body, in order
    int left = 0;                   // extent of what is drawn, twips
    int width = 0;
    int height = 0;
};

// Lays out the body on the page's text width. The empty paragraph that must end every body is
// not drawn after other content (Word's copied picture of a table ends at the table), so it
// has no block; a body of that one paragraph still gives one empty line.
ContentBox layoutContent(const Document &document);

} // namespace wordproc
