#pragma once
// Word's numeric arguments turned into model values. A value the engine does not support fails
// the call with a description, as Word reports a bad parameter.
#include "wordproc/model/DocumentModel.h"

#include <QString>

#include <cstdint>

namespace wordproc {

[[noreturn]] void throwBadParameter(const QString &member, const QString &value);

// Points to twips, rounded to the nearest twip; the value must lie in [minPoints, maxPoints].
int pointsToTwips(const char *member, double points, double minPoints, double maxPoints);
// Font sizes in half points, 1 to 1638 pt as Word allows.
int fontSizeToHalfPoints(double points);
QString fontName(const QString &name);
// Word colour numbers: red + 256 * green + 65536 * blue, or automatic.
std::int32_t colourNumber(const char *member, std::int32_t colour);
HeightRule heightRule(int value);
VerticalAlignment cellVerticalAlignment(int value);
Alignment paragraphAlignment(int value);
int shadingTexture(int value);
// Whole-number properties whose valid values are [min, max].
int intInRange(const char *member, int value, int min, int max);

} // namespace wordproc
