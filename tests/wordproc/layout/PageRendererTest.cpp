#include "wordproc/layout/Layout.h"
#include "wordproc/layout/PageRenderer.h"
#include "wordproc/layout/ScriptFonts.h"

#include "PageRendererSampleForm.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <cstring>

using namespace wordproc;
using sampleform::cell;
using sampleform::kColumn;
using sampleform::kTableWidth;
using sampleform::row;

namespace {

constexpr int kDpi = 192;

// Picture pixels of a point given in table twips (the table's left cell edge is 5 twips,
// half a grid line, inside the picture).
int px(double twips) { return int(twips * kDpi / 1440.0); }
int pxX(double twips) { return px(twips + 5); }

template <typename Test>
int countPixels(const QImage &image, const QRect &area, Test test)
{
    int count = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += test(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

bool ink(const QColor &colour) { return colour.lightness() < 200; }
bool notWhite(const QColor &colour) { return colour != QColor(Qt::white); }

// The pixels inside the twips rectangle, kept clear of the grid lines around it.
QRect interior(double left, double top, double right, double bottom)
{
    return QRect(QPoint(pxX(left) + 2, px(top) + 3), QPoint(pxX(right) - 2, px(bottom) - 2));
}

Document documentOf(std::vector<Row> rows)
{
    Table table;
    table.rows = std::move(rows);
    Document document;
    document.page.leftMargin = document.page.rightMargin = 1080;
    document.body = {table, Paragraph{}};
    return document;
}

TEST(PageRenderer, PictureIsAsLargeAsTheTableOnPaperAtAnyResolution)
{
    const Document form = sampleform::document();
    const int tableHeight = 533 + 6 * 317 + 33 * 288 + 3 * 504 + 10;
    for (int dpi : {kDpi, 96, 300}) {
        const QImage image = dpi == kDpi ? renderContent(form) : renderContent(form, dpi);
        ASSERT_FALSE(image.isNull());
        EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, dpi, 0.05);
        EXPECT_NEAR(image.dotsPerMeterY() * 0.0254, dpi, 0.05);
        EXPECT_NEAR(image.width(), (kTableWidth + 10) * dpi / 1440.0, 0.5) << dpi;
        EXPECT_NEAR(image.height(), tableHeight * dpi / 1440.0, 0.5) << dpi;
    }
    // A body of nothing but its closing empty paragraph still gives a (blank) line.
    const QImage empty = renderContent(Document{});
    EXPECT_EQ(empty.width(), px(Document{}.page.textWidth()));
    EXPECT_EQ(countPixels(empty, empty.rect(), notWhite), 0);
}

TEST(PageRenderer, CellsShowTheirShadingGridAndText)
{
    const QImage image = renderContent(sampleform::document());
    const QColor titleShade(240, 235, 220);
    EXPECT_EQ(image.pixelColor(pxX(300), px(100)), titleShade);
    EXPECT_EQ(image.pixelColor(pxX(9000), px(533 + 150)), QColor(Qt::black)); // heading
    EXPECT_EQ(image.pixelColor(pxX(9000), px(850 + 150)), QColor(Qt::white)); // field row
    EXPECT_EQ(image.pixelColor(0, px(850 + 150)), QColor(Qt::black));         // left edge
    EXPECT_EQ(image.pixelColor(pxX(kColumn), px(1138 + 150)), QColor(Qt::black)); // between cells

    // The dark red title lies within the title row, centred.
    auto titleRed = [](const QColor &c) { return c.red() > c.green() + 60 && c.red() > c.blue() + 60; };
    const QRect titleRow = interior(0, 0, kTableWidth, 533);
    EXPECT_GT(countPixels(image, titleRow, titleRed), 200);
    EXPECT_EQ(countPixels(image, QRect(0, titleRow.bottom() + 1, image.width(), image.height()), titleRed), 0);
    EXPECT_EQ(countPixels(image, interior(0, 0, 3000, 533), titleRed), 0);
    EXPECT_EQ(countPixels(image, interior(7080, 0, kTableWidth, 533), titleRed), 0);

    // Field text in its cell; the empty reference rows stay blank.
    const int thirdRowTop = 850;
    EXPECT_GT(countPixels(image, interior(0, thirdRowTop, kTableWidth, thirdRowTop + 288), ink), 100);
    const int blankRowsTop = 533 + 6 * 317 + 31 * 288; // rows 39 and 40
    EXPECT_EQ(countPixels(image, interior(0, blankRowsTop, kColumn, blankRowsTop + 288), ink), 0);

    // A signature cell's label stands on its second line: the first stays empty.
    const int signatureTop = blankRowsTop + 2 * 288 + 504;
    const int firstLineEnd = signatureTop + 10 + (494 - 2 * 193) / 2 + 193;
    EXPECT_EQ(countPixels(image, interior(0, signatureTop, 2 * kColumn, firstLineEnd), ink), 0);
    EXPECT_GT(countPixels(image, interior(0, firstLineEnd, 2 * kColumn, signatureTop + 504), ink), 100);
}

TEST(PageRenderer, ExactRowCutsOffWhatDoesNotFit)
{
    Row exact = row(HeightRule::Exactly, 300, {cell(kTableWidth, QStringLiteral("overflowing line"))});
    for (int i = 0; i < 10; ++i)
        exact.cells[0].paragraphs.push_back(exact.cells[0].paragraphs[0]);
    const QImage image = renderContent(documentOf({exact, row(HeightRule::AtLeast, 1000, {cell(kTableWidth, {})})}));
    EXPECT_NEAR(image.height(), px(1310), 1);
    EXPECT_GT(countPixels(image, interior(0, 0, kTableWidth, 300), ink), 50);
    EXPECT_EQ(countPixels(image, interior(0, 300, kTableWidth, 1300), ink), 0);

    // A row no taller than its border has no room for text at all.
    const Row sliver = row(HeightRule::Exactly, 10, {cell(kTableWidth, QStringLiteral("hidden"))});
    const QImage hidden = renderContent(documentOf({sliver, row(HeightRule::AtLeast, 1000, {cell(kTableWidth, {})})}));
    EXPECT_EQ(countPixels(hidden, interior(0, 10, kTableWidth, 1010), ink), 0);
}

TEST(PageRenderer, CjkAndEmojiFallBackToFontsThatHaveThem)
{
    const QString cjk = QStringLiteral("山田太郎");
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80\xF0\x9F\x8F\xA0"); // grinning face, house
    const Document document = documentOf({row(HeightRule::Auto, 0, {cell(kColumn, cjk), cell(kColumn, emoji)})});

    // Every character got a real glyph from some font, not the missing-glyph box.
    for (const QString &text : {cjk, emoji}) {
        const ParagraphBox box = layoutParagraph(Paragraph{{wordproc::Run{text, sampleform::tahoma(8)}}, sampleform::tahoma(8)}, 3000);
        ASSERT_EQ(box.lines.size(), 1u);
        const QList<QGlyphRun> runs = box.lines[0].text->lineAt(0).glyphRuns();
        ASSERT_FALSE(runs.isEmpty());
        for (const QGlyphRun &run : runs)
            for (quint32 glyph : run.glyphIndexes())
                EXPECT_NE(glyph, 0u) << wordproc::scriptfonts::familyOf(run.rawFont()).toStdString();
        EXPECT_GE(box.height, sampleform::tahoma(8).halfPoints * 10); // fallback fonts count towards the line
    }

    const QImage image = renderContent(document);
    const int rowBottom = image.height() * 1440 / kDpi - 10;
    EXPECT_GT(countPixels(image, interior(0, 0, kColumn, rowBottom), ink), 30);
    EXPECT_GT(countPixels(image, interior(kColumn, 0, 2 * kColumn, rowBottom), notWhite), 30);
    if (QFontDatabase::hasFamily(QStringLiteral("Noto Color Emoji"))) {
        auto colourful = [](const QColor &c) { return c.hsvSaturation() > 100 && c.value() > 100; };
        EXPECT_GT(countPixels(image, interior(kColumn, 0, 2 * kColumn, rowBottom), colourful), 10);
    }
}

TEST(PageRenderer, OversizedPicturesAreDrawnAtALowerResolutionKeepingTheirPaperSize)
{
    std::vector<Row> rows(20, row(HeightRule::AtLeast, 30000, {cell(1440, QStringLiteral("tall"))}));
    const struct {
        Document document;
        int dpi;
        double widthInches;
        double heightInches;
    } cases[] = {
        {documentOf(rows), kDpi, (1440 + 10) / 1440.0, (20 * 30000 + 10) / 1440.0},
        {sampleform::document(), 4800, (kTableWidth + 10) / 1440.0, (533 + 6 * 317 + 33 * 288 + 3 * 504 + 10) / 1440.0},
    };
    for (const auto &oversized : cases) {
        const QImage image = renderContent(oversized.document, oversized.dpi);
        ASSERT_FALSE(image.isNull());
        EXPECT_LE(image.height(), 32000);
        EXPECT_LE(double(image.width()) * image.height(), 64.0 * 1024 * 1024);
        const double dpi = image.dotsPerMeterY() * 0.0254;
        EXPECT_LT(dpi, oversized.dpi);
        EXPECT_NEAR(image.width() / dpi, oversized.widthInches, 2 / dpi);
        EXPECT_NEAR(image.height() / dpi, oversized.heightInches, 2 / dpi);
    }
}

} // namespace

namespace {

// The picture put together from bands of `rows` rows, each drawn into an image of its own that
// starts out dirty.
QImage drawnInBands(const Document &document, int rows)
{
    const ContentPicture picture(document, kDpi);
    QImage whole(picture.size(), QImage::Format_RGB32);
    for (int top = 0; top < whole.height(); top += rows) {
        QImage band(whole.width(), std::min(rows, whole.height() - top), QImage::Format_RGB32);
        band.fill(Qt::red);
        picture.draw(band, top);
        for (int y = 0; y < band.height(); ++y)
            std::memcpy(whole.scanLine(top + y), band.constScanLine(y), size_t(band.bytesPerLine()));
    }
    whole.setDotsPerMeterX(picture.dotsPerMeter());
    whole.setDotsPerMeterY(picture.dotsPerMeter());
    return whole;
}

} // namespace

// Drawing in bands gives the very pixels of drawing at once: a band's edge through text, a row's
// shading or a grid line changes nothing.
TEST(PageRenderer, BandsGiveThePixelsOfTheWholePicture)
{
    Row exact = row(HeightRule::Exactly, 300, {cell(kTableWidth, QStringLiteral("overflowing line"))});
    for (int i = 0; i < 10; ++i)
        exact.cells[0].paragraphs.push_back(exact.cells[0].paragraphs[0]);
    Document mixed = documentOf({exact, row(HeightRule::AtLeast, 400, {cell(kTableWidth, QStringLiteral("مرحبا नमस्ते 你好"))})});
    Paragraph above;
    above.runs = {wordproc::Run{QStringLiteral("A paragraph above"), sampleform::tahoma(12, true)}};
    above.alignment = Alignment::Centre;
    mixed.body.insert(mixed.body.begin(), above);
    for (const Document &document : {sampleform::document(), mixed}) {
        const QImage whole = renderContent(document);
        for (const int rows : {1, 7, 64, 1000})
            EXPECT_EQ(drawnInBands(document, rows), whole) << rows << " rows a band";
    }
}
