#include "PageBmp.h"

#include "runtime/AppError.h"

#include <QtEndian>

#include <limits>

namespace generator {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kPixelsAt = kFileHeaderSize + kInfoHeaderSize;
static_assert(kPixelsAt == kPageBmpHeaderSize);

void put16(char *at, quint16 value) { qToLittleEndian(value, at); }
void put32(char *at, quint32 value) { qToLittleEndian(value, at); }
quint16 get16(const char *at) { return qFromLittleEndian<quint16>(at); }
quint32 get32(const char *at) { return qFromLittleEndian<quint32>(at); }

} // namespace

QImage bmpPixelsOf(const QImage &picture)
{
    // RGB32 rows are the blue, green, red, unused bytes of a 32-bit BI_RGB row, and have no padding.
    return picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
}

QByteArray pageBmpHeader(const QImage &pixels)
{
    if (pixels.isNull())
        throw runtime::AppError(QStringLiteral("There is no page picture to save."));
    const qint64 imageBytes = qint64(pixels.width()) * 4 * pixels.height();
    if (kPixelsAt + imageBytes > std::numeric_limits<qint32>::max())
        throw runtime::AppError(QStringLiteral("The page picture of %1 x %2 pixels is too large for a BMP file.")
                                  .arg(pixels.width())
                                  .arg(pixels.height()));
    QByteArray header(kPixelsAt, '\0');
    char *out = header.data();
    out[0] = 'B';
    out[1] = 'M';
    put32(out + 2, quint32(kPixelsAt + imageBytes));
    put32(out + 10, kPixelsAt);
    put32(out + 14, kInfoHeaderSize);
    put32(out + 18, quint32(pixels.width()));
    put32(out + 22, quint32(pixels.height())); // positive: the bottom row comes first
    put16(out + 26, 1);                         // planes
    put16(out + 28, 32);                        // bits a pixel; compression 0 is BI_RGB
    put32(out + 34, quint32(imageBytes));
    put32(out + 38, quint32(pixels.dotsPerMeterX()));
    put32(out + 42, quint32(pixels.dotsPerMeterY()));
    return header;
}

std::vector<QByteArrayView> pageBmpPieces(const QByteArray &header, const QImage &pixels)
{
    std::vector<QByteArrayView> pieces;
    pieces.reserve(size_t(pixels.height()) + 1);
    pieces.emplace_back(header);
    const qsizetype rowBytes = qsizetype(pixels.width()) * 4;
    for (int y = pixels.height() - 1; y >= 0; --y)
        pieces.emplace_back(reinterpret_cast<const char *>(pixels.constScanLine(y)), rowBytes);
    return pieces;
}

QByteArray encodePageBmp(const QImage &picture)
{
    const QImage pixels = bmpPixelsOf(picture);
    const QByteArray header = pageBmpHeader(pixels);
    QByteArray file;
    file.reserve(header.size() + pixels.sizeInBytes());
    for (QByteArrayView piece : pageBmpPieces(header, pixels))
        file.append(piece);
    return file;
}

std::optional<PageBmpLayout> pageBmpLayout(QByteArrayView header)
{
    if (header.size() < kPixelsAt)
        return std::nullopt;
    const char *in = header.data();
    const quint32 width = get32(in + 18);
    const quint32 height = get32(in + 22); // read as unsigned: a top-down file's negative height is too large
    if (in[0] != 'B' || in[1] != 'M' || get32(in + 10) != quint32(kPixelsAt) || get32(in + 14) != quint32(kInfoHeaderSize)
        || get16(in + 26) != 1 || get16(in + 28) != 32 || get32(in + 30) != 0 || width == 0 || height == 0
        || width > quint32(std::numeric_limits<qint32>::max()) || height > quint32(std::numeric_limits<qint32>::max())
        || qint64(width) * 4 > (qint64(1) << 32) / qint64(height)) // more than the 32-bit file size can count
        return std::nullopt;
    const qint64 fileSize = kPixelsAt + qint64(width) * 4 * qint64(height);
    if (get32(in + 2) != quint64(fileSize))
        return std::nullopt;
    return PageBmpLayout{QSize(int(width), int(height)), int(qint32(get32(in + 38))), int(qint32(get32(in + 42))), fileSize};
}

} // namespace generator
