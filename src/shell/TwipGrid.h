#pragma once
#include <QRect>

namespace shell {

// Both windows are designed in twips (1/1440 inch) and stand on a grid of device-independent
// pixels at 15 twips each.
inline constexpr int kTwipsPerPixel = 15;

// Whole pixels for a length in twips, to the nearest.
int twipsToPixels(double twips);

// A rectangle designed in twips, in whole pixels.
QRect twipsToPixels(int left, int top, int width, int height);

} // namespace shell
