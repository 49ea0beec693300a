#include "PagePng.h"

#include "runtime/AppError.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace tools;

namespace {

// Decoded by Qt's PNG reader (libpng, which checks every CRC and the zlib checksum).
QImage decoded(const QByteArray &png)
{
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    return reader.read();
}

void expectSamePixels(const QImage &expected, const QImage &actual)
{
    ASSERT_FALSE(actual.isNull());
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_EQ(actual.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
}

// What a page looks like: paper, rules, repeated rows, runs, and antialiased text.
QImage pageLike(int width, int height)
{
    QImage page(width, height, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.fillRect(QRect(width / 4, height / 5, width / 2, height / 6), QColor(0xf0, 0xeb, 0xdc));
    painter.fillRect(QRect(0, height / 2, width, 1), Qt::black);
    painter.setPen(QColor(153, 0, 0));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawEllipse(QRect(3, 3, width - 6, height - 6));
    painter.drawLine(0, 0, width - 1, height - 1);
    return page;
}

TEST(PagePng, EveryKindOfContentDecodesToTheSamePixels)
{
    expectSamePixels(pageLike(400, 300), decoded(encodePagePng(pageLike(400, 300))));

    QImage single(1, 1, QImage::Format_RGB32);
    single.fill(QColor(1, 2, 3));
    expectSamePixels(single, decoded(encodePagePng(single)));

    // No run and no repeated row at all: every byte a literal, 9-bit codes included.
    QImage noise(97, 61, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, random.generate() | 0xFF000000u);
    expectSamePixels(noise, decoded(encodePagePng(noise)));
    // Enough literals for the stream to be cut into several IDAT chunks.
    QImage wideNoise(500, 300, QImage::Format_RGB32);
    for (int y = 0; y < wideNoise.height(); ++y)
        for (int x = 0; x < wideNoise.width(); ++x)
            wideNoise.setPixel(x, y, random.generate() | 0xFF000000u);
    const QByteArray png = encodePagePng(wideNoise);
    EXPECT_GT(png.count("IDAT"), 1);
    expectSamePixels(wideNoise, decoded(png));

    // Runs of every length across the match limits (258 bytes = 86 pixels), and 1- and 2-pixel rests.
    QImage runs(1000, 12, QImage::Format_RGB32);
    runs.fill(Qt::white);
    for (int y = 0; y < runs.height(); ++y)
        for (int x = 0, run = 1 + y; x < runs.width(); x += run, run += 29)
            runs.setPixel(x, y, qRgb(x % 251, y * 20, 7));
    expectSamePixels(runs, decoded(encodePagePng(runs)));
}

TEST(PagePng, RowsTooFarApartForAMatchAndOtherFormatsStillEncode)
{
    // 11000 pixels make a row longer than deflate's 32 KiB window: no row-to-row matches.
    expectSamePixels(pageLike(11000, 4), decoded(encodePagePng(pageLike(11000, 4))));

    const QImage indexed = pageLike(64, 48).convertToFormat(QImage::Format_Indexed8);
    expectSamePixels(indexed, decoded(encodePagePng(indexed)));

    QImage translucent(20, 10, QImage::Format_ARGB32);
    translucent.fill(qRgba(10, 20, 30, 128));
    const QImage back = decoded(encodePagePng(translucent));
    ASSERT_FALSE(back.isNull());
    EXPECT_FALSE(back.hasAlphaChannel());
    EXPECT_EQ(back.pixel(5, 5), qRgb(10, 20, 30));
}

TEST(PagePng, RecordsTheResolutionAndRefusesNoPicture)
{
    QImage picture = pageLike(50, 40);
    picture.setDotsPerMeterX(7559);
    picture.setDotsPerMeterY(3780);
    const QImage back = decoded(encodePagePng(picture));
    EXPECT_EQ(back.dotsPerMeterX(), 7559);
    EXPECT_EQ(back.dotsPerMeterY(), 3780);
    EXPECT_THROW(encodePagePng(QImage()), runtime::AppError);
}

} // namespace
