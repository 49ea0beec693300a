#include "wordproc/layout/PrintedPages.h"

#include "wordproc/layout/Fonts.h"
#include "wordproc/layout/LineDrawing.h"

#include "base/Failure.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <map>
#include <tuple>

#include <algorithm>

namespace wordproc {
namespace {

// What a page may not cut: a table row (with its bottom grid line) or a line of text.
struct Unit {
    int top = 0;
    int bottom = 0;
    int rule = 0;
};

// Where pages start, unit by unit: a unit that does not fit below the page's top starts the next
// page, unless it already starts this one.
class PageBreaks {
public:
    explicit PageBreaks(int textHeight) : textHeight_(textHeight) {}

    // Answers whether the unit starts a new page.
    bool place(const Unit &unit)
    {
        const bool breaks = unit.bottom + unit.rule - start_ > textHeight_ && unit.top > start_;
        if (breaks)
            start_ = unit.top;
        return breaks;
    }
    void breakAt(int top)
    {
        if (top > start_)
            start_ = top;
    }
    int pageTop() const { return start_; }
    int pageBottom() const { return start_ + textHeight_; }

private:
    int textHeight_;
    int start_ = 0;
};

template <typename Visit>
void forEachUnit(const BlockBox &block, Visit visit)
{
    if (const auto *table = std::get_if<TableBox>(&block.box)) {
        for (const RowBox &row : table->rows)
            visit(Unit{block.top + row.top, block.top + row.top + row.height, table->border});
        return;
    }
    const auto &paragraph = std::get<ParagraphBox>(block.box);
    if (paragraph.lines.empty())
        visit(Unit{block.top, block.top + paragraph.height, 0});
    for (const LineBox &line : paragraph.lines)
        visit(Unit{block.top + line.top, block.top + line.top + line.height, 0});
}

// A row taller than a page, cut into one piece a page as Word breaks a row: each cell goes on with
// its next line at the top of the next piece, so the cut never runs through a line, and every
// piece has its grid lines and shading all round. Lines keep their places as long as no line of
// their cell has been carried over. `top` is the row's top in the table; `pageSpace` the twips
// from the row's top to the first page's foot, less the grid line below; `fullSpace` that of a
// whole page.
std::vector<RowBox> rowPieces(const RowBox &row, int border, int top, int pageSpace, int fullSpace)
{
    const int content = row.height - border; // the row's own content area, below its top line
    const int contentTop = row.top + border;
    std::vector<std::size_t> next(row.cells.size(), 0); // each cell's first line not yet placed
    std::vector<RowBox> pieces;
    int carried = 0; // how far into the content area the pieces so far reach
    for (int space = pageSpace;; space = fullSpace) {
        const int capacity = space - border;
        RowBox piece;
        piece.top = top;
        piece.row = row.row;
        piece.mayBreak = false;
        // The content this piece must hold to be the last.
        int rest = std::max(0, content - carried);
        std::vector<int> from(row.cells.size());
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            const std::vector<LineBox> &lines = row.cells[c].lines;
            from[c] = carried;
            if (next[c] < lines.size()) {
                from[c] = std::min(carried, lines[next[c]].top - contentTop);
                rest = std::max(rest, lines.back().top + lines.back().height - contentTop - from[c]);
            }
        }
        const bool last = rest <= capacity;
        const int used = last ? rest : capacity;
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            const CellBox &cell = row.cells[c];
            CellBox cellPiece;
            cellPiece.left = cell.left;
            cellPiece.width = cell.width;
            for (; next[c] < cell.lines.size(); ++next[c]) {
                LineBox line = cell.lines[next[c]];
                const int at = line.top - contentTop - from[c];
                // A line taller than a whole page goes alone, cut off at the page's foot.
                const bool alone = at == 0 && line.height > fullSpace - border;
                if (at + line.height > used && !alone)
                    break;
                line.top = top + border + at;
                cellPiece.contentHeight = std::max(cellPiece.contentHeight, at + line.height);
                cellPiece.lines.push_back(std::move(line));
                if (alone) {
                    ++next[c];
                    break;
                }
            }
            piece.cells.push_back(std::move(cellPiece));
        }
        piece.height = used + border;
        top += piece.height;
        carried += used;
        pieces.push_back(std::move(piece));
        if (last)
            return pieces;
    }
}

// Whether the row's first lines fit in `space` (see rowPieces), so that it may start there.
bool startsFit(const RowBox &row, int border, int space)
{
    if (space - border <= 0)
        return false;
    for (const CellBox &cell : row.cells)
        if (!cell.lines.empty() && cell.lines.front().top == row.top + border
            && cell.lines.front().height > space - border)
            return false;
    return true;
}

void moveRow(RowBox &row, int by)
{
    row.top += by;
    for (CellBox &cell : row.cells)
        for (LineBox &line : cell.lines)
            line.top += by;
}

// Draws one page's band of the content. The painter's origin is the content's origin on the
// page (the text area's top-left corner moved up to the band's top), in twips.
class PageCanvas {
public:
    PageCanvas(QPainter &painter, const PageBand &band) : painter_(painter), band_(band) {}

    void drawTable(const Table &table, const TableBox &box, int blockTop)
    {
        std::vector<std::size_t> shown;
        for (std::size_t r = 0; r < box.rows.size(); ++r) {
            const int top = blockTop + box.rows[r].top;
            if (top >= band_.top && top < band_.bottom)
                shown.push_back(r);
        }
        for (std::size_t r : shown) {
            const RowBox &row = box.rows[r];
            const std::size_t source = row.row >= 0 ? std::size_t(row.row) : r;
            if (source >= table.rows.size())
                continue;
            for (std::size_t c = 0; c < row.cells.size() && c < table.rows[source].cells.size(); ++c) {
                const CellBox &cell = row.cells[c];
                const QColor shading = wordColour(table.rows[source].cells[c].shading.background, QColor());
                if (shading.isValid())
                    painter_.fillRect(QRectF(cell.left, blockTop + row.top, cell.width, row.height), shading);
            }
        }
        const double border = box.border;
        for (std::size_t r : shown) {
            const RowBox &row = box.rows[r];
            for (const CellBox &cell : row.cells) {
                const QRectF content(cell.left + border / 2, blockTop + row.top + border,
                                     std::max(0.0, cell.width - border), std::max(0.0, row.height - border));
                painter_.save();
                painter_.setClipRect(content, Qt::IntersectClip);
                painter_.translate(0, blockTop);
                drawLineBoxes(painter_, cell.lines);
                painter_.restore();
            }
        }
        if (box.border == 0)
            return;
        // Every cell draws all four edges; where neighbours share one the lines coincide.
        const double half = border / 2;
        for (std::size_t r : shown) {
            const RowBox &row = box.rows[r];
            const double top = blockTop + row.top;
            const double bottom = top + row.height;
            for (const CellBox &cell : row.cells) {
                const double left = cell.left - half;
                const double right = cell.left + cell.width - half;
                painter_.fillRect(QRectF(left, top, cell.width + border, border), Qt::black);
                painter_.fillRect(QRectF(left, bottom, cell.width + border, border), Qt::black);
                painter_.fillRect(QRectF(left, top, border, row.height + border), Qt::black);
                painter_.fillRect(QRectF(right, top, border, row.height + border), Qt::black);
            }
        }
    }

    void drawParagraph(const ParagraphBox &box, int blockTop)
    {
        std::vector<LineBox> shown;
        for (const LineBox &line : box.lines) {
            const int top = blockTop + line.top;
            if (top >= band_.top && top < band_.bottom)
                shown.push_back(line);
        }
        painter_.save();
        painter_.translate(0, blockTop);
        drawLineBoxes(painter_, shown);
        painter_.restore();
    }

private:
    QPainter &painter_;
    const PageBand &band_;
};

void drawBand(QPainter &painter, const Document &document, const ContentBox &content, const PageBand &band)
{
    const PageSetup &page = document.page;
    painter.save();
    painter.translate(page.leftMargin + page.gutter, page.topMargin - band.top);
    // Whatever overhangs the band (a row taller than a page) stops at the paper's edge between
    // the margins' bands, not in the next page's content.
    painter.setClipRect(QRectF(-page.leftMargin - page.gutter, band.top, page.pageWidth,
                               band.bottom - band.top + band.rule),
                        Qt::IntersectClip);
    PageCanvas canvas(painter, band);
    for (std::size_t i = 0; i < content.blocks.size() && i < document.body.size(); ++i) {
        const BlockBox &block = content.blocks[i];
        if (const auto *table = std::get_if<TableBox>(&block.box)) {
            if (block.top + table->height > band.top && block.top < band.bottom)
                canvas.drawTable(std::get<Table>(document.body[i]), *table, block.top);
        } else {
            const auto &paragraph = std::get<ParagraphBox>(block.box);
            if (block.top + paragraph.height > band.top && block.top < band.bottom)
                canvas.drawParagraph(paragraph, block.top);
        }
    }
    painter.restore();
}

} // namespace

ContentBox splitTallRows(const ContentBox &content, int textHeight)
{
    ContentBox printed = content;
    PageBreaks pages(textHeight);
    int moved = 0; // how much the pieces so far have added above the current block
    for (BlockBox &block : printed.blocks) {
        block.top += moved;
        auto *table = std::get_if<TableBox>(&block.box);
        if (!table) {
            forEachUnit(block, [&](const Unit &unit) { pages.place(unit); });
            continue;
        }
        const int border = table->border;
        const int fullSpace = textHeight - border;
        std::vector<RowBox> rows;
        rows.reserve(table->rows.size());
        int added = 0;
        for (RowBox &row : table->rows) {
            moveRow(row, added);
            const int top = block.top + row.top;
            const bool tall = row.mayBreak && row.height > fullSpace && fullSpace - border > 0
                && top + row.height + border - pages.pageTop() > textHeight;
            if (!tall) {
                pages.place(Unit{top, top + row.height, border});
                rows.push_back(std::move(row));
                continue;
            }
            if (!startsFit(row, border, pages.pageBottom() - border - top))
                pages.breakAt(top);
            std::vector<RowBox> pieces = rowPieces(row, border, row.top, pages.pageBottom() - border - top, fullSpace);
            int height = 0;
            for (RowBox &piece : pieces) {
                pages.place(Unit{block.top + piece.top, block.top + piece.top + piece.height, border});
                height += piece.height;
                rows.push_back(std::move(piece));
            }
            added += height - row.height;
        }
        table->rows = std::move(rows);
        table->height += added;
        moved += added;
    }
    printed.height += moved;
    return printed;
}

std::vector<PageBand> paginate(const ContentBox &content, int textHeight)
{
    std::vector<PageBand> pages;
    PageBreaks breaks(textHeight);
    int lastRule = 0;
    for (const BlockBox &block : content.blocks)
        forEachUnit(block, [&](const Unit &unit) {
            const int start = breaks.pageTop();
            if (breaks.place(unit))
                pages.push_back({start, unit.top, lastRule});
            lastRule = unit.rule;
        });
    pages.push_back({breaks.pageTop(), std::max(breaks.pageTop(), content.height), 0});
    return pages;
}

void setUpPaper(const PageSetup &page, QPagedPaintDevice &device)
{
    const double width = page.pageWidth / 20.0;
    const double height = page.pageHeight / 20.0;
    const auto orientation = width > height ? QPageLayout::Landscape : QPageLayout::Portrait;
    // A size within a point of a standard one (US Letter) is taken as that paper, so printers
    // pick their Letter tray.
    const QPageSize size(QSizeF(std::min(width, height), std::max(width, height)), QPageSize::Point);
    device.setPageLayout(QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Point));
}

std::vector<PrintedCell> printedCells(const Document &document)
{
    fonts::ensureRegistered();
    const PageSetup &page = document.page;
    const int textHeight = std::max(1, page.pageHeight - page.topMargin - page.bottomMargin);
    const ContentBox content = splitTallRows(layoutContent(document), textHeight);
    const std::vector<PageBand> bands = paginate(content, textHeight);
    // The band a piece is drawn in: the one its top falls in, as PageCanvas decides.
    auto pageOf = [&bands](int top) {
        for (std::size_t i = 0; i < bands.size(); ++i)
            if (top >= bands[i].top && top < bands[i].bottom)
                return int(i);
        return int(bands.size()) - 1;
    };
    std::vector<PrintedCell> cells;
    std::map<std::tuple<std::size_t, int, int>, bool> placed;
    for (std::size_t b = 0; b < content.blocks.size(); ++b) {
        const auto *table = std::get_if<TableBox>(&content.blocks[b].box);
        if (!table)
            continue;
        const int blockTop = content.blocks[b].top;
        const double border = table->border;
        for (std::size_t r = 0; r < table->rows.size(); ++r) {
            const RowBox &row = table->rows[r];
            const int source = row.row >= 0 ? row.row : int(r);
            const int top = blockTop + row.top;
            const int pageIndex = pageOf(top);
            const double dx = page.leftMargin + page.gutter;
            const double dy = page.topMargin - bands[std::size_t(pageIndex)].top;
            for (std::size_t c = 0; c < row.cells.size(); ++c) {
                if (!placed.emplace(std::make_tuple(b, source, int(c)), true).second)
                    continue;
                const CellBox &cell = row.cells[c];
                PrintedCell printed;
                printed.block = b;
                printed.row = source;
                printed.cell = int(c);
                printed.page = pageIndex;
                printed.area = QRectF(dx + cell.left + border / 2, dy + top + border,
                                      std::max(0.0, cell.width - border), std::max(0.0, row.height - border));
                if (!cell.lines.empty()) {
                    printed.firstLine = cell.lines.front();
                    printed.firstLine.left += dx;
                    printed.firstLine.top += int(dy) + blockTop;
                }
                cells.push_back(std::move(printed));
            }
        }
    }
    return cells;
}

double caretX(const LineBox &line, int offset)
{
    if (!line.text)
        return line.left;
    const QTextLine textLine = line.text->lineAt(line.lineIndex);
    const int at = std::clamp(line.textStart + offset, line.textStart, line.textStart + line.textLength);
    return line.left + textLine.cursorToX(at) - textLine.naturalTextRect().left();
}

int drawPages(const Document &document, QPagedPaintDevice &device)
{
    fonts::ensureRegistered();
    const PageSetup &page = document.page;
    const int textHeight = std::max(1, page.pageHeight - page.topMargin - page.bottomMargin);
    const ContentBox content = splitTallRows(layoutContent(document), textHeight);
    const std::vector<PageBand> bands = paginate(content, textHeight);

    QPainter painter;
    if (!painter.begin(&device))
        throw base::Failure(QStringLiteral("The pages could not be drawn: the printer or the PDF file refused to start."));
    const int dpi = device.logicalDpiX();
    // The painter starts at the device's printable area; the page is drawn from the paper's corner.
    const QRect printable = device.pageLayout().paintRectPixels(dpi);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            throw base::Failure(QStringLiteral("Page %1 could not be started.").arg(i + 1));
        }
        painter.save();
        painter.translate(-printable.topLeft());
        painter.scale(dpi / 1440.0, device.logicalDpiY() / 1440.0);
        drawBand(painter, document, content, bands[i]);
        painter.restore();
    }
    if (!painter.end())
        throw base::Failure(QStringLiteral("The pages could not be finished."));
    return int(bands.size());
}

QByteArray pdfOf(const Document &document, const QString &title)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Tenvoria"));
        writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        writer.setResolution(1440); // one unit a twip: what the layout measures in
        setUpPaper(document.page, writer);
        drawPages(document, writer);
    }
    if (buffer.data().isEmpty())
        throw base::Failure(QStringLiteral("The PDF could not be produced."));
    return buffer.data();
}

} // namespace wordproc
