#include "CursorFile.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

namespace preview {
namespace {
// ICONDIR (reserved, type, count) and the first ICONDIRENTRY; in a cursor file the entry's
// planes and bit-count words hold the hot spot's x and y.
constexpr qsizetype kHeaderSize = 6 + 16;
constexpr quint16 kCursorType = 2;

QPoint hotSpotOf(const QByteArray &header, const QSize &size)
{
    const auto word = [&](int offset) { return qFromLittleEndian<quint16>(header.constData() + offset); };
    if (header.size() < kHeaderSize || word(2) != kCursorType)
        return {size.width() / 2, size.height() / 2};
    const QPoint hotSpot(word(10), word(12));
    return QRect(QPoint(0, 0), size).contains(hotSpot) ? hotSpot : QPoint(0, 0);
}
} // namespace

std::optional<QCursor> loadCursorFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray header = file.read(kHeaderSize);
    file.close();

    QImageReader reader(path, "cur");
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    const QPoint hotSpot = hotSpotOf(header, image.size());
    return QCursor(QPixmap::fromImage(image), hotSpot.x(), hotSpot.y());
}

} // namespace preview
