#include "preview/CursorFile.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A Windows cursor file: an icon file whose directory says "cursor" and carries the hot spot.
QByteArray cursorFile(QPoint hotSpot)
{
    QImage hand(32, 32, QImage::Format_ARGB32);
    hand.fill(Qt::transparent);
    QPainter(&hand).fillRect(8, 2, 8, 20, Qt::black);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    hand.save(&buffer, "ico");
    bytes[2] = 2;
    bytes[10] = char(hotSpot.x());
    bytes[12] = char(hotSpot.y());
    return bytes;
}

} // namespace

TEST(CursorFile, ReadsPictureAndHotSpotAndToleratesAMissingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("HAND-M.CUR"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(cursorFile({9, 3}));
    file.close();

    const auto cursor = preview::loadCursorFile(path);
    ASSERT_TRUE(cursor.has_value());
    EXPECT_EQ(cursor->shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor->hotSpot(), QPoint(9, 3));
    EXPECT_EQ(cursor->pixmap().size(), QSize(32, 32));

    EXPECT_FALSE(preview::loadCursorFile(dir.filePath(QStringLiteral("missing.cur"))).has_value());
}
