#pragma once
// The document on paper: its laid-out content cut into pages of the section's size and margins
// and drawn as vector graphics onto a printer or a PDF writer.
#include "wordproc/model/DocumentModel.h"
#include "wordproc/layout/Layout.h"

#include <QByteArray>
#include <QRectF>
#include <QString>

#include <vector>

class QPagedPaintDevice;

namespace wordproc {

// The part of the content (y from top to bottom, twips of the content box) that one page shows
// in its text area. A table's grid line on the cut belongs to both pages: `rule` is its width,
// drawn below `bottom` on the upper page.
struct PageBand {
    int top = 0;
    int bottom = 0;
    int rule = 0;
};

// The content as pages of text area `textHeight` twips high show it: a row taller than a page
// is split between its cells' lines into one piece a page, each with its own grid lines and
// shading, and what follows moves down by what the pieces add. Rows of exact height, which
// clip their content, stay whole. Content without such rows comes back as it is.
ContentBox splitTallRows(const ContentBox &content, int textHeight);

// Cuts the content into pages whose text area is `textHeight` twips high. Tables break between
// rows and paragraphs between lines, as word processors do; a row or line taller than a page
// gets a page of its own and is cut off there (splitTallRows first leaves only rows of exact
// height so). Always at least one page.
std::vector<PageBand> paginate(const ContentBox &content, int textHeight);

// The device's paper: the section's page size and orientation, no margins of the device's own
// (the document's margins are drawn by drawPages).
void setUpPaper(const PageSetup &page, QPagedPaintDevice &device);

// Draws every page of the document onto the device, which must not be painted on yet; the
// device's paper should come from setUpPaper. Returns the number of pages. Throws
// base::Failure when the device refuses to be painted on.
int drawPages(const Document &document, QPagedPaintDevice &device);

// Where a table cell stands on the printed pages, for what is laid over the pages afterwards
// (a fillable form's fields). Positions are twips from the paper's top-left corner.
struct PrintedCell {
    std::size_t block = 0; // the table's index in the body
    int row = 0;           // the table's row
    int cell = 0;          // the cell's index in its row
    int page = 0;          // from 0; a cell split across pages is placed on its first piece
    QRectF area;           // inside the grid lines: of the first piece when the row is split
    LineBox firstLine;     // the cell's first line of text, `left` and `top` on the paper; no
                           // text when the cell has none
};

// Every table cell of the document as drawPages places it, in the order of the body.
std::vector<PrintedCell> printedCells(const Document &document);

// Where character `offset` of the line's paragraph starts, as an x of the line's own
// coordinates (its `left` is where the text starts); the line's end for an offset beyond it.
double caretX(const LineBox &line, int offset);

// The document as a PDF: vector pages, fonts embedded as subsets, text extractable, the given
// title in the document information. Throws base::Failure when it cannot be produced.
QByteArray pdfOf(const Document &document, const QString &title);

} // namespace wordproc
