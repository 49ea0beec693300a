#pragma once
#include "shell/TwipGrid.h"

#include <QSizeF>
#include <cstdint>

class QImage;

namespace preview {

// The preview measures everything in twips (1/1440 inch), on the program's grid of pixels.
using shell::kTwipsPerPixel;
using shell::twipsToPixels;
inline constexpr int kTwipsPerInch = 1440;

// Rounds to the nearest integer, halves to the even neighbour; a result outside the target
// range fails with "Overflow".
std::int16_t roundToInt16(double value);
std::int32_t roundToInt32(double value);

// A 16-bit product; a result outside the 16-bit range fails with "Overflow".
std::int16_t multiplyInt16(std::int16_t a, std::int16_t b);

// The resolution a picture was drawn at, from its dots per metre. Whole numbers of dots per metre
// cannot hold the usual resolutions exactly (192 dpi arrives as 191.9986), so a value that close
// to a whole number of dots per inch is taken to mean that number.
double pictureDpi(int dotsPerMeter);

// The size on paper of a picture, in twips, from its pixels and its recorded resolution.
QSizeF pictureTwipSize(const QImage &picture);

} // namespace preview
