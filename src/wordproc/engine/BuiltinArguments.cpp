#include "wordproc/engine/BuiltinArguments.h"

#include "base/Failure.h"

#include <algorithm>
#include <cmath>

namespace wordproc {

void throwBadParameter(const QString &member, const QString &value)
{
    throw base::Failure(QStringLiteral("Bad parameter: %1 = %2 is not supported.").arg(member, value));
}

int pointsToTwips(const char *member, double points, double minPoints, double maxPoints)
{
    if (!std::isfinite(points) || points < minPoints || points > maxPoints)
        throwBadParameter(QLatin1String(member), QString::number(points));
    return int(std::lround(points * 20));
}

int fontSizeToHalfPoints(double points)
{
    if (!std::isfinite(points) || points < 1 || points > 1638)
        throwBadParameter(QStringLiteral("Font.Size"), QString::number(points));
    return int(std::lround(points * 2));
}

// A face name as the font table can hold it: 1 to 31 characters, none of them a control.
QString fontName(const QString &name)
{
    const bool control = std::any_of(name.begin(), name.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
    if (name.trimmed().isEmpty() || name.size() > 31 || control)
        throwBadParameter(QStringLiteral("Font.Name"), QLatin1Char('"') + name + QLatin1Char('"'));
    return name;
}

std::int32_t colourNumber(const char *member, std::int32_t colour)
{
    if (colour != kAutoColour && (colour < 0 || colour > 0xFFFFFF))
        throwBadParameter(QLatin1String(member), QString::number(colour));
    return colour;
}

HeightRule heightRule(int value)
{
    switch (value) {
    case 0: return HeightRule::Auto;
    case 1: return HeightRule::AtLeast;
    case 2: return HeightRule::Exactly;
    }
    throwBadParameter(QStringLiteral("Rows.HeightRule"), QString::number(value));
}

VerticalAlignment cellVerticalAlignment(int value)
{
    switch (value) {
    case 0: return VerticalAlignment::Top;
    case 1: return VerticalAlignment::Centre;
    case 3: return VerticalAlignment::Bottom; // Word's wdCellAlignVerticalBottom
    }
    throwBadParameter(QStringLiteral("Cells.VerticalAlignment"), QString::number(value));
}

Alignment paragraphAlignment(int value)
{
    switch (value) {
    case 0: return Alignment::Left;
    case 1: return Alignment::Centre;
    }
    throwBadParameter(QStringLiteral("ParagraphFormat.Alignment"), QString::number(value));
}

// Only Word's wdTextureNone: the cell is filled with its background colour. Patterned fills are
// not drawn by the renderer, so they are refused rather than silently lost.
int shadingTexture(int value)
{
    if (value != 0)
        throwBadParameter(QStringLiteral("Shading.Texture"), QString::number(value));
    return value;
}

int intInRange(const char *member, int value, int min, int max)
{
    if (value < min || value > max)
        throwBadParameter(QLatin1String(member), QString::number(value));
    return value;
}

} // namespace wordproc
