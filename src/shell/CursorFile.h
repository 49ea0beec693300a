#pragma once
#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>

#include <optional>

namespace shell {

// One picture of a Windows cursor file (.cur) and the pixel that points.
struct CursorImage {
    QImage image; // ARGB32
    QPoint hotSpot;
};

// Decodes a cursor file: its directory, then the largest entry's picture, stored either as a
// PNG or as a device-independent bitmap (1, 4, 8, 24 or 32 bits per pixel with the AND mask).
// Nothing when the bytes are not a well-formed cursor file.
std::optional<CursorImage> decodeCursorFile(const QByteArray &bytes);

// Reads and decodes the file; nothing when it is missing, unreadable or malformed.
std::optional<CursorImage> readCursorFile(const QString &path);

// A cursor file holding one 32-bit picture (at most 256 pixels a side) with its AND mask.
QByteArray encodeCursorFile(const QImage &image, QPoint hotSpot);

QCursor toCursor(const CursorImage &cursor);

} // namespace shell
