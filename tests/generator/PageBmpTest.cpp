#include "generator/PageBmp.h"

#include "runtime/AppError.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace generator;

namespace {

QImage pageLike(int width, int height)
{
    QImage page(width, height, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.fillRect(QRect(width / 4, height / 5, width / 2, height / 6), QColor(0xf0, 0xeb, 0xdc));
    painter.setPen(QColor(153, 0, 0));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawEllipse(QRect(3, 3, width - 6, height - 6));
    return page;
}

quint32 u32At(const QByteArray &bytes, int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); }
quint16 u16At(const QByteArray &bytes, int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); }

TEST(PageBmp, HeadersAndRowsAreThoseOfAPlain32BitBottomUpBitmap)
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(0xAA, 0xBB, 0xCC));
    picture.setPixel(0, 0, qRgb(1, 2, 3));
    picture.setPixel(2, 1, qRgb(7, 8, 9));
    picture.setDotsPerMeterX(7559);
    picture.setDotsPerMeterY(3780);
    const QByteArray bmp = encodePageBmp(picture);

    ASSERT_EQ(bmp.size(), 14 + 40 + 3 * 2 * 4);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(u32At(bmp, 2), quint32(bmp.size()));
    EXPECT_EQ(u32At(bmp, 10), 54u); // pixels straight after the two headers
    EXPECT_EQ(u32At(bmp, 14), 40u); // BITMAPINFOHEADER
    EXPECT_EQ(u32At(bmp, 18), 3u);
    EXPECT_EQ(u32At(bmp, 22), 2u); // positive height: bottom-up
    EXPECT_EQ(u16At(bmp, 26), 1u);
    EXPECT_EQ(u16At(bmp, 28), 32u);
    EXPECT_EQ(u32At(bmp, 30), 0u);  // BI_RGB
    EXPECT_EQ(u32At(bmp, 34), 24u);
    EXPECT_EQ(u32At(bmp, 38), 7559u);
    EXPECT_EQ(u32At(bmp, 42), 3780u);
    EXPECT_EQ(u32At(bmp, 46), 0u);
    // The file's first row is the picture's last: blue, green, red, then the unused byte.
    EXPECT_EQ(bmp.mid(54, 12), QByteArray::fromHex("ccbbaaffccbbaaff090807ff"));
    EXPECT_EQ(bmp.mid(66, 12), QByteArray::fromHex("030201ffccbbaaffccbbaaff"));
}

TEST(PageBmp, QtsReaderAndImageMagickReadBackTheSamePixelsAndResolution)
{
    QImage picture = pageLike(397, 251); // an odd width: no row padding needed at 32 bits
    picture.setDotsPerMeterX(7559);
    picture.setDotsPerMeterY(7559);
    const QByteArray bmp = encodePageBmp(picture);

    QBuffer buffer;
    buffer.setData(bmp);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    const QImage back = reader.read();
    ASSERT_FALSE(back.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_NEAR(back.dotsPerMeterX(), 7559, 1);

    // A reader that shares no code with ours or Qt's: ImageMagick's pixels as plain RGB.
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("page.bmp")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bmp);
    file.close();
    QProcess convert;
    convert.start(QStringLiteral("convert"), {file.fileName(), QStringLiteral("rgb:-")});
    ASSERT_TRUE(convert.waitForFinished(30000));
    ASSERT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
    const QByteArray rgb = convert.readAllStandardOutput();
    ASSERT_EQ(rgb.size(), qsizetype(picture.width()) * picture.height() * 3);
    const QImage outside(reinterpret_cast<const uchar *>(rgb.constData()), picture.width(), picture.height(),
                         picture.width() * 3, QImage::Format_RGB888);
    EXPECT_EQ(outside.convertToFormat(QImage::Format_RGB32), picture);
}

TEST(PageBmp, PicturesWithAlphaOrAPaletteAreWrittenOpaqueAndNoPictureIsRefused)
{
    QImage translucent(8, 8, QImage::Format_ARGB32);
    translucent.fill(qRgba(10, 20, 30, 40));
    const QByteArray bmp = encodePageBmp(translucent);
    EXPECT_EQ(bmp.size(), 54 + 8 * 8 * 4);
    EXPECT_EQ(quint8(bmp[54 + 3]), 0xFFu);

    const QImage indexed = pageLike(64, 48).convertToFormat(QImage::Format_Indexed8);
    QImage back = QImage::fromData(encodePageBmp(indexed), "bmp");
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), indexed.convertToFormat(QImage::Format_RGB32));

    EXPECT_THROW(encodePageBmp(QImage()), runtime::AppError);
}

} // namespace
