#pragma once
// How large the page picture may be, in pixels. The renderer lowers the resolution of content
// that would exceed these (recording it in the picture), and the preview reads back any picture
// within them, so the two never disagree about what a record may show.
// - A side stays short of 32,768 pixels, where Qt's raster painting runs out of coordinates.
// - The area allows the form (7 in wide) at full resolution up to the longest side; 64 M pixels
//   of 32 bits is 256 MB, twice Qt's default limit for images it reads (128 MB), which is why
//   the preview allocates the picture itself.
#include <QtGlobal>

namespace base {

constexpr int kMaxPictureSide = 32000;
constexpr qint64 kMaxPicturePixels = qint64(64) * 1024 * 1024;

} // namespace base
