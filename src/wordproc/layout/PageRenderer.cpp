#include "wordproc/layout/PageRenderer.h"

#include "wordproc/layout/Fonts.h"
#include "wordproc/layout/Layout.h"
#include "wordproc/layout/LineDrawing.h"

#include "base/PictureLimits.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>

namespace wordproc {

namespace {

constexpr int kDefaultDpi = 192;
// Beyond the picture's limits larger content is drawn at a lower resolution instead, which the
// picture's dots-per-metre then record.
constexpr int kMaxSidePixels = base::kMaxPictureSide;
constexpr double kMaxPixels = double(base::kMaxPicturePixels);

// Draws in the twips of one laid-out block (placed with moveTo) onto the picture's pixels. Rules
// and fills snap to whole pixels so that a 0.5 pt line stays one crisp pixel wide; text is
// drawn unsnapped. A canvas may cover only a band of the picture's rows: `band` is that band's
// image and `bandTop` its first row in the picture; what lies outside the band is skipped.
class Canvas {
public:
    Canvas(QImage &band, int bandTop, const ContentBox &content, int dpi)
        : painter_(&band), scale_(dpi / 1440.0), left_(content.left), bandTop_(bandTop),
          bandBottom_(bandTop + band.height())
    {
        painter_.setRenderHint(QPainter::TextAntialiasing);
        painter_.translate(0, -bandTop); // whole pixels: every band draws exactly its part
    }

    // Whether anything between these twips of the current block (and a rule's width) shows.
    bool shows(double top, double bottom) const
    {
        return pixelY(bottom) + kRuleMargin >= bandTop_ && pixelY(top) - kRuleMargin < bandBottom_;
    }

    void fill(double left, double top, double right, double bottom, const QColor &colour)
    {
        const int x0 = pixelX(left);
        const int y0 = pixelY(top);
        const int x1 = std::max(x0 + 1, pixelX(right));
        const int y1 = std::max(y0 + 1, pixelY(bottom));
        painter_.fillRect(QRect(x0, y0, x1 - x0, y1 - y0), colour);
    }

    // Grid lines `thickness` twips wide, each the same whole number of pixels wide.
    void horizontalRule(double left, double right, double top, double thickness)
    {
        const int x0 = pixelX(left);
        const int y0 = pixelY(top);
        painter_.fillRect(QRect(x0, y0, std::max(1, pixelX(right) - x0), pixels(thickness)), Qt::black);
    }

    void verticalRule(double left, double top, double bottom, double thickness)
    {
        const int x0 = pixelX(left);
        const int y0 = pixelY(top);
        painter_.fillRect(QRect(x0, y0, pixels(thickness), std::max(1, pixelY(bottom) - y0)), Qt::black);
    }

    void moveTo(QPoint blockPosition) { block_ = blockPosition; }

    // Draws lines of text, clipped to `clip` (an empty one hides them all) when given.
    void drawLines(const std::vector<LineBox> &lines, std::optional<QRectF> clip = std::nullopt)
    {
        painter_.save();
        painter_.scale(scale_, scale_);
        painter_.translate(block_.x() - left_, block_.y());
        if (clip)
            painter_.setClipRect(*clip);
        // Only the lines that reach this band: a cell of a long entry spans many bands, and laying
        // out all of its lines in each of them, to be clipped away, cost more than the rest of the
        // picture. A glyph may stand out of its line's box (accents, stacked marks), so a line
        // counts as reaching the band from a whole line's height away.
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (shows(lines[i].top - lines[i].height, lines[i].top + 2 * lines[i].height))
                drawLineBoxes(painter_, std::span(&lines[i], 1));
        painter_.restore();
    }

private:
    int pixels(double twips) const { return std::max(1, int(std::lround(twips * scale_))); }
    int pixelX(double twips) const { return int(std::lround((twips + block_.x() - left_) * scale_)); }
    int pixelY(double twips) const { return int(std::lround((twips + block_.y()) * scale_)); }

    static constexpr int kRuleMargin = 8; // pixels a rule or a glyph may reach past its row

    QPainter painter_;
    double scale_;
    int left_;      // the content's left edge
    int bandTop_;
    int bandBottom_;
    QPoint block_;  // where the block being drawn sits in the content
};

void drawTable(Canvas &canvas, const Table &table, const TableBox &box)
{
    for (std::size_t r = 0; r < box.rows.size(); ++r) {
        const RowBox &row = box.rows[r];
        if (!canvas.shows(row.top, row.top + row.height))
            continue;
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            const CellBox &cell = row.cells[c];
            const QColor shading = wordColour(table.rows[r].cells[c].shading.background, QColor());
            if (shading.isValid())
                canvas.fill(cell.left, row.top, cell.left + cell.width, row.top + row.height, shading);
        }
    }
    const double border = box.border;
    for (const RowBox &row : box.rows) {
        if (!canvas.shows(row.top, row.top + row.height))
            continue;
        for (const CellBox &cell : row.cells) {
            const QRectF content(cell.left + border / 2, row.top + border, std::max(0.0, cell.width - border),
                                 std::max(0.0, row.height - border));
            canvas.drawLines(cell.lines, content);
        }
    }
    if (box.border == 0)
        return;
    // Every cell draws all four edges; where neighbours share one the lines coincide.
    const double half = border / 2;
    for (const RowBox &row : box.rows) {
        const int bottom = row.top + row.height;
        if (!canvas.shows(row.top, bottom + border))
            continue;
        for (const CellBox &cell : row.cells) {
            const int right = cell.left + cell.width;
            canvas.horizontalRule(cell.left - half, right + half, row.top, border);
            canvas.horizontalRule(cell.left - half, right + half, bottom, border);
            canvas.verticalRule(cell.left - half, row.top, bottom + border, border);
            canvas.verticalRule(right - half, row.top, bottom + border, border);
        }
    }
}

int effectiveDpi(int requested, const ContentBox &content)
{
    const int dpi = requested > 0 ? requested : kDefaultDpi;
    const double width = std::max(content.width, 1);
    const double height = std::max(content.height, 1);
    const double bySide = kMaxSidePixels * 1440.0 / std::max(width, height);
    const double byArea = 1440.0 * std::sqrt(kMaxPixels / (width * height));
    return std::max(1, std::min(dpi, int(std::floor(std::min(bySide, byArea)))));
}

} // namespace

ContentPicture::ContentPicture(const Document &document, int dpi) : m_document(document)
{
    fonts::ensureRegistered();
    m_content = std::make_shared<const ContentBox>(layoutContent(document));
    m_dpi = effectiveDpi(dpi, *m_content);
    const double scale = m_dpi / 1440.0;
    m_size = QSize(std::max(1, int(std::lround(m_content->width * scale))),
                   std::max(1, int(std::lround(m_content->height * scale))));
}

int ContentPicture::dotsPerMeter() const { return qRound(m_dpi / 0.0254); }

void ContentPicture::draw(QImage &band, int top) const
{
    band.fill(Qt::white);
    Canvas canvas(band, top, *m_content, m_dpi);
    const std::vector<Block> &body = m_document.body;
    for (std::size_t i = 0; i < m_content->blocks.size() && i < body.size(); ++i) {
        const BlockBox &block = m_content->blocks[i];
        canvas.moveTo(QPoint(0, block.top));
        if (const auto *table = std::get_if<TableBox>(&block.box))
            drawTable(canvas, std::get<Table>(body[i]), *table);
        else if (const auto &paragraph = std::get<ParagraphBox>(block.box); canvas.shows(0, paragraph.height))
            canvas.drawLines(paragraph.lines);
    }
}

QImage renderContent(const Document &document, int dpi)
{
    const ContentPicture picture(document, dpi);
    QImage image(picture.size(), QImage::Format_RGB32);
    picture.draw(image, 0);
    image.setDotsPerMeterX(picture.dotsPerMeter());
    image.setDotsPerMeterY(picture.dotsPerMeter());
    return image;
}

} // namespace wordproc
