#include "shell/CursorFile.h"

#include "base/Bytes.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

using namespace shell;

namespace {

QImage drawnPicture()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.fillRect(4, 2, 10, 20, QColor(200, 30, 40));
    p.fillRect(14, 10, 6, 6, QColor(10, 220, 90, 255));
    p.end();
    return image;
}

// A 32 x 32 cursor of 1 bit per pixel, palette black and white, whose colour and mask rows are
// given top-down as the picture shows them; the file stores them bottom-up.
QByteArray monochromeCursorWith(const std::function<quint32(int y)> &colourRow, const std::function<quint32(int y)> &maskRow,
                                 QPoint hotSpot = QPoint(0, 0))
{
    base::ByteWriter out;
    out.u16(0);
    out.u16(2);
    out.u16(1);
    out.bytes(QByteArray::fromHex("20200200"));
    out.u16(quint16(hotSpot.x()));
    out.u16(quint16(hotSpot.y()));
    out.u32(40 + 8 + 32 * 4 * 2);
    out.u32(22);
    out.u32(40);
    out.u32(32);
    out.u32(64);
    out.u16(1);
    out.u16(1);
    for (int i = 0; i < 6; ++i)
        out.u32(0);
    out.u32(0x00000000);
    out.u32(0x00ffffff);
    const auto bigEndianRow = [&](quint32 bits) {
        QByteArray row(4, 0);
        qToBigEndian(bits, row.data());
        out.bytes(row);
    };
    for (int y = 31; y >= 0; --y)
        bigEndianRow(colourRow(y));
    for (int y = 31; y >= 0; --y)
        bigEndianRow(maskRow(y));
    return out.data();
}

// A classic monochrome 32 x 32 cursor: a black 8 x 8 square at (0, 0) on a transparent ground,
// hot spot (3, 5).
QByteArray monochromeCursor()
{
    return monochromeCursorWith([](int) { return 0u; },                                    // black everywhere
                                [](int y) { return y < 8 ? 0x00ffffffu : 0xffffffffu; },  // opaque square
                                QPoint(3, 5));
}

TEST(CursorFile, WrittenCursorReadsBackWithPixelsAndHotSpot)
{
    const QImage picture = drawnPicture();
    const std::optional<CursorImage> read = decodeCursorFile(encodeCursorFile(picture, QPoint(7, 3)));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->hotSpot, QPoint(7, 3));
    EXPECT_EQ(read->image.size(), QSize(32, 32));
    EXPECT_EQ(read->image.convertToFormat(QImage::Format_ARGB32), picture);
}

TEST(CursorFile, ClassicMonochromeCursorTakesTransparencyFromItsMask)
{
    const std::optional<CursorImage> read = decodeCursorFile(monochromeCursor());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->hotSpot, QPoint(3, 5));
    EXPECT_EQ(read->image.pixel(2, 2), qRgba(0, 0, 0, 255));
    EXPECT_EQ(qAlpha(read->image.pixel(20, 20)), 0);
    EXPECT_EQ(qAlpha(read->image.pixel(8, 2)), 0);
}

TEST(CursorFile, PixelsAndMaskBitsRunFromTheHighestBitLeftToRightAndRowsFromTheBottom)
{
    // Top row: white in pixels 1 and 3 only; opaque in pixels 0 to 3 only. Bottom row opaque all over.
    const auto colour = [](int y) { return y == 0 ? 0x50000000u : 0u; };
    const auto mask = [](int y) { return y == 0 ? 0x0fffffffu : y == 31 ? 0u : 0xffffffffu; };
    const std::optional<CursorImage> read = decodeCursorFile(monochromeCursorWith(colour, mask));
    ASSERT_TRUE(read);
    const QImage &image = read->image;
    EXPECT_EQ(image.pixel(0, 0), qRgba(0, 0, 0, 255));
    EXPECT_EQ(image.pixel(1, 0), qRgba(255, 255, 255, 255));
    EXPECT_EQ(image.pixel(2, 0), qRgba(0, 0, 0, 255));
    EXPECT_EQ(image.pixel(3, 0), qRgba(255, 255, 255, 255));
    for (int x = 4; x < 32; ++x)
        EXPECT_EQ(qAlpha(image.pixel(x, 0)), 0) << x;
    for (int x = 0; x < 32; ++x)
        EXPECT_EQ(image.pixel(x, 31), qRgba(0, 0, 0, 255)) << x;
    for (int y = 1; y < 31; ++y)
        EXPECT_EQ(qAlpha(image.pixel(5, y)), 0) << y;
}

TEST(CursorFile, PngPayloadIsRead)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    drawnPicture().save(&buffer, "PNG");
    base::ByteWriter out;
    out.u16(0);
    out.u16(2);
    out.u16(1);
    out.bytes(QByteArray::fromHex("20200000"));
    out.u16(1);
    out.u16(2);
    out.u32(quint32(png.size()));
    out.u32(22);
    out.bytes(png);
    const std::optional<CursorImage> read = decodeCursorFile(out.data());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->hotSpot, QPoint(1, 2));
    EXPECT_EQ(read->image, drawnPicture());
}

TEST(CursorFile, MissingDamagedOrForeignFilesGiveNothing)
{
    QTemporaryDir dir;
    EXPECT_FALSE(readCursorFile(dir.filePath(QStringLiteral("absent.cur"))));
    EXPECT_FALSE(decodeCursorFile(QByteArray()));
    EXPECT_FALSE(decodeCursorFile(QByteArray("this is not a cursor file at all, just some text")));

    // Every truncation of a good file is refused without reading past the end.
    const QByteArray good = encodeCursorFile(drawnPicture(), QPoint(1, 1));
    for (int length = 0; length < good.size(); length += 7)
        EXPECT_FALSE(decodeCursorFile(good.left(length))) << length;

    QByteArray icon = good; // an icon file (type 1) is not a cursor
    icon[2] = 1;
    EXPECT_FALSE(decodeCursorFile(icon));
    QByteArray farOffset = good; // picture said to start beyond the end
    farOffset[21] = char(0x7f);
    EXPECT_FALSE(decodeCursorFile(farOffset));
    QByteArray hugeWidth = good; // a bitmap wider than any cursor
    qToLittleEndian<quint32>(100000, hugeWidth.data() + 22 + 4);
    EXPECT_FALSE(decodeCursorFile(hugeWidth));
}

// Another writer's layout: Qt's icon writer, its directory retyped as a cursor with a hot spot.
TEST(CursorFile, ForeignWrittenCursorBecomesAPointerWithItsHotSpot)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(drawnPicture().save(&buffer, "ico"));
    bytes[2] = 2;
    qToLittleEndian<quint16>(9, bytes.data() + 10);
    qToLittleEndian<quint16>(3, bytes.data() + 12);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("HAND-M.CUR"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    const std::optional<CursorImage> read = readCursorFile(path);
    ASSERT_TRUE(read);
    const QCursor cursor = toCursor(*read);
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(9, 3));
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
}

TEST(CursorFile, ShippedHandPointerIsAWellFormedCursor)
{
    const std::optional<CursorImage> hand = readCursorFile(QStringLiteral(TENVORIA_HAND_CURSOR));
    ASSERT_TRUE(hand);
    EXPECT_EQ(hand->image.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(hand->image.pixel(31, 31)), 0);                            // transparent ground
    EXPECT_EQ(qAlpha(hand->image.pixel(hand->hotSpot)), 255);                   // points with a drawn pixel
    EXPECT_FALSE(toCursor(*hand).pixmap().isNull());
}

} // namespace
