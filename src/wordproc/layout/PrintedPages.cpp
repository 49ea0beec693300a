#include "wordproc/layout/PrintedPages.h"

#include "wordproc/layout/Fonts.h"
#include "wordproc/layout/LineDrawing.h"

#include "base/Failure.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace wordproc {
namespace {

// What a page may not cut: a table row (with its bottom grid line) or a line of text.
struct Unit {
    int top = 0;
    int bottom = 0;
    int rule = 0;
};

std::vector<Unit> unitsOf(const ContentBox &content)
{
    std::vector<Unit> units;
    for (const BlockBox &block : content.blocks) {
        if (const auto *table = std::get_if<TableBox>(&block.box)) {
            for (const RowBox &row : table->rows)
                units.push_back({block.top + row.top, block.top + row.top + row.height, table->border});
            continue;
        }
        const auto &paragraph = std::get<ParagraphBox>(block.box);
        if (paragraph.lines.empty())
            units.push_back({block.top, block.top + paragraph.height, 0});
        for (const LineBox &line : paragraph.lines)
            units.push_back({block.top + line.top, block.top + line.top + line.height, 0});
    }
    return units;
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
            for (std::size_t c = 0; c < row.cells.size() && c < table.rows[r].cells.size(); ++c) {
                const CellBox &cell = row.cells[c];
                const QColor shading = wordColour(table.rows[r].cells[c].shading.background, QColor());
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

std::vector<PageBand> paginate(const ContentBox &content, int textHeight)
{
    std::vector<PageBand> pages;
    int start = 0;
    int lastRule = 0;
    for (const Unit &unit : unitsOf(content)) {
        if (unit.bottom + unit.rule - start > textHeight && unit.top > start) {
            pages.push_back({start, unit.top, lastRule});
            start = unit.top;
        }
        lastRule = unit.rule;
    }
    pages.push_back({start, std::max(start, content.height), 0});
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

int drawPages(const Document &document, QPagedPaintDevice &device)
{
    fonts::ensureRegistered();
    const ContentBox content = layoutContent(document);
    const PageSetup &page = document.page;
    const std::vector<PageBand> bands = paginate(content, std::max(1, page.pageHeight - page.topMargin - page.bottomMargin));

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
