#pragma once
// The BMP the page picture travels in between the two engine instances of a run. It is read back
// at once and deleted, so it is built for the time both ends spend on it: 32 bits a pixel, rows
// top-down, so that the picture's own memory is the file's pixel data as it is. Writing is then
// one header and one block, with no per-pixel conversion and no copy of the 9 MB picture, and
// reading takes the image reader's plainest path. A 24-bit file would be a quarter smaller but
// costs a conversion of every pixel at both ends.
#include <QByteArray>
#include <QImage>

namespace generator {

// The picture as the image whose memory is a 32-bit BMP's pixel data: itself when it is RGB32
// (shared, not copied), otherwise a converted copy; alpha is dropped.
QImage bmpPixelsOf(const QImage &picture);

// The file and info headers (BITMAPINFOHEADER, BI_RGB, negative height for top-down rows) of
// such pixels, with the picture's resolution. Throws shell::AppError for a null picture or one
// too large for the format.
QByteArray pageBmpHeader(const QImage &pixels);

// The whole file: the header followed by the pixels.
QByteArray encodePageBmp(const QImage &picture);

} // namespace generator
