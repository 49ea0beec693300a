#include "Twips.h"

#include "runtime/AppError.h"

#include <QImage>
#include <cmath>
#include <limits>

namespace preview {
namespace {

template <class Int> Int roundHalfEven(double value)
{
    const double rounded = std::nearbyint(value); // the default rounding mode rounds halves to even
    if (!std::isfinite(rounded) || rounded < double(std::numeric_limits<Int>::min())
        || rounded > double(std::numeric_limits<Int>::max()))
        throw runtime::AppError(QStringLiteral("Overflow"));
    return static_cast<Int>(rounded);
}

constexpr double kMetresPerInch = 0.0254;
constexpr double kScreenDpi = 96.0;

} // namespace

std::int16_t roundToInt16(double value) { return roundHalfEven<std::int16_t>(value); }
std::int32_t roundToInt32(double value) { return roundHalfEven<std::int32_t>(value); }

std::int16_t multiplyInt16(std::int16_t a, std::int16_t b)
{
    const int product = int(a) * int(b);
    if (product < std::numeric_limits<std::int16_t>::min() || product > std::numeric_limits<std::int16_t>::max())
        throw runtime::AppError(QStringLiteral("Overflow"));
    return static_cast<std::int16_t>(product);
}

double pictureDpi(int dotsPerMeter)
{
    if (dotsPerMeter <= 0)
        return kScreenDpi;
    const double dpi = dotsPerMeter * kMetresPerInch;
    const double whole = std::round(dpi);
    return std::abs(dpi - whole) < 0.05 ? whole : dpi;
}

QSizeF pictureTwipSize(const QImage &picture)
{
    if (picture.isNull())
        return {0.0, 0.0};
    return {picture.width() / pictureDpi(picture.dotsPerMeterX()) * kTwipsPerInch,
            picture.height() / pictureDpi(picture.dotsPerMeterY()) * kTwipsPerInch};
}

} // namespace preview
