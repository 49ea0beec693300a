#pragma once
// The BMP the page picture travels in between the two engine instances of a run. It is read back
// at once and deleted, so it is built for the time both ends spend on it: 32 bits a pixel, so that
// each row of the picture's own memory is a row of the file as it is. Writing is then the header
// and the rows, with no per-pixel conversion and no copy of the 9 MB picture. The rows go bottom
// to top, the order Qt's reader fills its image in: a top-down file costs that reader a flip of
// the whole picture afterwards. A 24-bit file would be a quarter smaller but costs a conversion
// of every pixel at both ends.
#include <QByteArray>
#include <QImage>

#include <optional>
#include <vector>

namespace generator {

// The picture as the image whose memory is a 32-bit BMP's pixel data: itself when it is RGB32
// (shared, not copied), otherwise a converted copy; alpha is dropped.
QImage bmpPixelsOf(const QImage &picture);

// The file and info headers (BITMAPINFOHEADER, BI_RGB, bottom-up rows) of such pixels, with the
// picture's resolution. Throws runtime::AppError for a null picture or one too large for the format.
QByteArray pageBmpHeader(const QImage &pixels);

// The file as pieces to be written one after another: the header, then the pixels' rows from the
// bottom up, each a view of the pixels' memory, valid while `header` and `pixels` are.
std::vector<QByteArrayView> pageBmpPieces(const QByteArray &header, const QImage &pixels);

// The whole file in one array.
QByteArray encodePageBmp(const QImage &picture);

// What a file beginning with `header` holds, when it is laid out as pageBmpHeader and
// pageBmpPieces write it: 32-bit BI_RGB rows from the bottom up, right after the two headers.
// Such a file can be read straight into an RGB32 image's rows. Another BMP gives nothing.
struct PageBmpLayout {
    QSize size;
    int dotsPerMeterX = 0;
    int dotsPerMeterY = 0;
    qint64 fileSize = 0; // the headers and every row
};
inline constexpr int kPageBmpHeaderSize = 54;
std::optional<PageBmpLayout> pageBmpLayout(QByteArrayView header);

} // namespace generator
