#include "CursorFile.h"

#include "base/ReadAll.h"

#include "base/Bytes.h"
#include "base/Failure.h"

#include <QFile>

#include <vector>

namespace shell {
namespace {

constexpr int kDirectorySize = 6;
constexpr int kEntrySize = 16;
constexpr quint16 kCursorType = 2;
constexpr int kMaxSide = 256;

qint64 rowBytes(qint64 width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

// A BITMAPINFOHEADER picture: colour rows then the 1-bit AND mask, both bottom-up; the header's
// height counts both.
std::optional<QImage> decodeBitmap(const base::ByteReader &in, qint64 at, qint64 length)
{
    if (!in.contains(at, 40) || length < 40)
        return std::nullopt;
    const quint32 headerSize = in.u32(at);
    const qint32 width = in.i32(at + 4);
    const qint32 doubledHeight = in.i32(at + 8);
    const int bits = in.u16(at + 14);
    const quint32 compression = in.u32(at + 16);
    quint32 coloursUsed = in.u32(at + 32);
    if (headerSize < 40 || headerSize > length || width <= 0 || width > kMaxSide || doubledHeight <= 0
        || doubledHeight % 2 != 0 || doubledHeight / 2 > kMaxSide || compression != 0)
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return std::nullopt;
    const int height = doubledHeight / 2;

    std::vector<QRgb> palette;
    qint64 offset = at + headerSize;
    if (bits <= 8) {
        if (coloursUsed == 0 || coloursUsed > (1u << bits))
            coloursUsed = 1u << bits;
        if (!in.contains(offset, qint64(coloursUsed) * 4))
            return std::nullopt;
        for (quint32 i = 0; i < coloursUsed; ++i, offset += 4)
            palette.push_back(qRgb(in.u8(offset + 2), in.u8(offset + 1), in.u8(offset)));
    }
    const qint64 colourStride = rowBytes(width, bits);
    const qint64 maskStride = rowBytes(width, 1);
    const qint64 colourAt = offset;
    const qint64 maskAt = colourAt + colourStride * height;
    if (!in.contains(colourAt, colourStride * height) || !in.contains(maskAt, maskStride * height)
        || maskAt + maskStride * height > at + length)
        return std::nullopt;

    QImage image(width, height, QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const qint64 row = colourAt + colourStride * (height - 1 - y);
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            QRgb pixel = 0;
            if (bits == 32) {
                const qint64 p = row + x * 4;
                pixel = qRgba(in.u8(p + 2), in.u8(p + 1), in.u8(p), in.u8(p + 3));
                anyAlpha = anyAlpha || qAlpha(pixel) != 0;
            } else if (bits == 24) {
                const qint64 p = row + x * 3;
                pixel = qRgb(in.u8(p + 2), in.u8(p + 1), in.u8(p));
            } else {
                const qint64 bitIndex = qint64(x) * bits;
                const quint8 byte = in.u8(row + bitIndex / 8);
                const int shift = 8 - bits - int(bitIndex % 8);
                const unsigned index = (byte >> shift) & ((1u << bits) - 1);
                pixel = index < palette.size() ? palette[index] : qRgb(0, 0, 0);
            }
            line[x] = pixel;
        }
    }
    // Pictures without their own alpha take their transparency from the AND mask.
    if (!anyAlpha) {
        for (int y = 0; y < height; ++y) {
            const qint64 row = maskAt + maskStride * (height - 1 - y);
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const bool transparent = (in.u8(row + x / 8) >> (7 - x % 8)) & 1;
                line[x] = transparent ? qRgba(0, 0, 0, 0) : (line[x] | 0xff000000u);
            }
        }
    }
    return image;
}

std::optional<QImage> decodePicture(const base::ByteReader &in, qint64 at, qint64 length)
{
    static const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);
    if (!in.contains(at, length))
        return std::nullopt;
    if (in.slice(at, 8) == pngSignature) {
        QImage png = QImage::fromData(in.slice(at, length), "PNG");
        if (png.isNull() || png.width() > kMaxSide || png.height() > kMaxSide)
            return std::nullopt;
        return png.convertToFormat(QImage::Format_ARGB32);
    }
    return decodeBitmap(in, at, length);
}

} // namespace

std::optional<CursorImage> decodeCursorFile(const QByteArray &bytes)
try {
    const base::ByteReader in(bytes, QStringLiteral("not a cursor file"));
    if (!in.contains(0, kDirectorySize) || in.u16(0) != 0 || in.u16(2) != kCursorType)
        return std::nullopt;
    const int count = in.u16(4);
    if (count == 0 || !in.contains(kDirectorySize, qint64(count) * kEntrySize))
        return std::nullopt;

    // The largest picture; the directory stores 256 as 0.
    int best = -1;
    int bestSide = 0;
    for (int i = 0; i < count; ++i) {
        const qint64 entry = kDirectorySize + qint64(i) * kEntrySize;
        const int side = in.u8(entry) == 0 ? kMaxSide : in.u8(entry);
        if (side > bestSide) {
            best = i;
            bestSide = side;
        }
    }
    const qint64 entry = kDirectorySize + qint64(best) * kEntrySize;
    const QPoint hotSpot(in.u16(entry + 4), in.u16(entry + 6));
    const std::optional<QImage> image = decodePicture(in, in.u32(entry + 12), in.u32(entry + 8));
    if (!image)
        return std::nullopt;
    if (!image->rect().contains(hotSpot))
        return CursorImage{*image, QPoint(0, 0)};
    return CursorImage{*image, hotSpot};
} catch (const base::Failure &) {
    return std::nullopt;
}

std::optional<CursorImage> readCursorFile(const QString &path)
{
    // Cursor files are a few kilobytes; anything far larger is not one.
    const base::FileReading reading = base::readRegularFile(path, 4 * 1024 * 1024);
    if (reading.error != 0)
        return std::nullopt;
    return decodeCursorFile(reading.bytes);
}

QByteArray encodeCursorFile(const QImage &picture, QPoint hotSpot)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    if (image.isNull() || width > kMaxSide || height > kMaxSide)
        return {};
    const qint64 colourStride = rowBytes(width, 32);
    const qint64 maskStride = rowBytes(width, 1);
    const quint32 pictureSize = 40 + quint32(colourStride * height + maskStride * height);

    base::ByteWriter out;
    out.u16(0);
    out.u16(kCursorType);
    out.u16(1);
    out.u8(width == kMaxSide ? 0 : width);
    out.u8(height == kMaxSide ? 0 : height);
    out.u8(0); // colour count: not a palette picture
    out.u8(0);
    out.u16(quint16(hotSpot.x()));
    out.u16(quint16(hotSpot.y()));
    out.u32(pictureSize);
    out.u32(kDirectorySize + kEntrySize);

    out.u32(40);
    out.u32(quint32(width));
    out.u32(quint32(height * 2));
    out.u16(1);  // planes
    out.u16(32); // bits per pixel
    out.u32(0);  // uncompressed
    out.u32(quint32(colourStride * height + maskStride * height));
    out.u32(0);
    out.u32(0);
    out.u32(0);
    out.u32(0);
    for (int y = height - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            out.u8(qBlue(line[x]));
            out.u8(qGreen(line[x]));
            out.u8(qRed(line[x]));
            out.u8(qAlpha(line[x]));
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        QByteArray mask(maskStride, '\0');
        for (int x = 0; x < width; ++x)
            if (qAlpha(line[x]) < 128)
                mask[x / 8] = char(mask[x / 8] | (0x80 >> (x % 8)));
        out.bytes(mask);
    }
    return out.data();
}

QCursor toCursor(const CursorImage &cursor)
{
    return QCursor(QPixmap::fromImage(cursor.image), cursor.hotSpot.x(), cursor.hotSpot.y());
}

} // namespace shell
