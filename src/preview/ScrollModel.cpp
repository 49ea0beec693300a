#include "ScrollModel.h"

#include "Twips.h"

#include <algorithm>
#include <cmath>

namespace preview {
namespace {
// Up to this many twips of overflow the page moves one twip per scroll unit, beyond it ten.
constexpr float kFineOverflow = 100.0f;

float clampedEdge(float edge, std::int32_t viewportInner, std::int32_t pageOuter)
{
    if (edge > 0.0f)
        return 0.0f;
    const float farthest = float(viewportInner) - float(pageOuter);
    return farthest > edge ? farthest : edge;
}

std::optional<std::int32_t> percentAlong(float edge, std::int32_t pageOuter, std::int32_t viewportOuter)
{
    const double range = double(pageOuter) - double(viewportOuter);
    if (range == 0.0)
        return std::nullopt;
    const std::int32_t percent = roundToInt32(std::abs(double(edge)) / range * 100.0);
    // A drag may uncover the page up to the viewport's inner edge, a little past the end that the
    // outer measure gives: that is the end of the range, not a position to ignore, or the bar
    // would stay behind and the next scroll click would make the page jump.
    return range > 0.0 ? std::min(percent, 100) : percent;
}
} // namespace

void ScrollModel::setPageSize(std::int32_t width, std::int32_t height)
{
    m_pageWidth = width;
    m_pageHeight = height;
}

void ScrollModel::movePage(float left, float top)
{
    m_pageLeft = left;
    m_pageTop = top;
}

void ScrollModel::layoutScrollbars()
{
    m_pageTop = 0.0f;
    m_pageLeft = 0.0f;
    layoutAxis(Axis::Horizontal);
    layoutAxis(Axis::Vertical);
}

void ScrollModel::layoutAxis(Axis axis)
{
    const bool horizontal = axis == Axis::Horizontal;
    const std::int32_t page = horizontal ? m_pageWidth : m_pageHeight;
    const std::int32_t view = horizontal ? m_viewport.outerWidth : m_viewport.outerHeight;
    if (page <= view) {
        bar(axis).enabled = false;
        step(axis) = 0;
        return;
    }
    bar(axis).enabled = true;
    const float overflow = float(page) - float(view);
    if (overflow <= kFineOverflow) {
        setMaximum(axis, roundToInt16(double(page) - double(view)));
        step(axis) = 1;
    } else {
        setMaximum(axis, roundToInt16((double(page) - double(view)) / 10.0));
        step(axis) = 10;
    }
    setValue(axis, 0);
}

void ScrollModel::fitBarsToPage()
{
    const bool hEnabled = m_hBar.enabled;
    const bool vEnabled = m_vBar.enabled;
    layoutScrollbars();
    m_hBar.enabled = hEnabled;
    m_vBar.enabled = vEnabled;
}

void ScrollModel::enableForPage()
{
    m_hBar.enabled = m_viewport.innerWidth < m_pageWidth;
    m_vBar.enabled = m_viewport.innerHeight < m_pageHeight;
}

void ScrollModel::setHValue(std::int16_t value) { setValue(Axis::Horizontal, value); }
void ScrollModel::setVValue(std::int16_t value) { setValue(Axis::Vertical, value); }

void ScrollModel::setValue(Axis axis, std::int16_t value)
{
    if (value < 0)
        value = 0;
    if (value > bar(axis).maximum)
        value = bar(axis).maximum;
    if (value == bar(axis).value)
        return;
    bar(axis).value = value;
    valueChanged(axis);
}

void ScrollModel::setMaximum(Axis axis, std::int16_t maximum)
{
    bar(axis).maximum = maximum;
    if (bar(axis).value > maximum) {
        bar(axis).value = maximum;
        valueChanged(axis);
    }
}

void ScrollModel::valueChanged(Axis axis)
{
    // 32-bit: a page enlarged four times runs past 32,767 twips, and its lower part must stay
    // reachable by the bar.
    const float edge = -float(std::int32_t(step(axis)) * std::int32_t(bar(axis).value));
    if (axis == Axis::Horizontal)
        m_pageLeft = edge;
    else
        m_pageTop = edge;
}

void ScrollModel::scrollHorizontallyBy(std::int32_t twips) { scrollBy(Axis::Horizontal, twips); }
void ScrollModel::scrollVerticallyBy(std::int32_t twips) { scrollBy(Axis::Vertical, twips); }

void ScrollModel::scrollBy(Axis axis, std::int32_t twips)
{
    const std::int16_t unit = step(axis);
    if (!bar(axis).enabled || unit <= 0 || twips == 0)
        return;
    // At least one unit, so a key always moves a bar that can move.
    std::int64_t units = std::int64_t(twips) / unit;
    if (units == 0)
        units = twips > 0 ? 1 : -1;
    const std::int64_t target = std::clamp<std::int64_t>(bar(axis).value + units, 0, bar(axis).maximum);
    setValue(axis, static_cast<std::int16_t>(target));
}

void ScrollModel::grab(float x, float y)
{
    dragX = x;
    dragY = y;
}

float ScrollModel::dragLeft(float x) const
{
    return clampedEdge(m_pageLeft - dragX + x, m_viewport.innerWidth, m_pageWidth);
}

float ScrollModel::dragTop(float y) const
{
    return clampedEdge(m_pageTop - dragY + y, m_viewport.innerHeight, m_pageHeight);
}

std::optional<std::int32_t> ScrollModel::horizontalPercent() const
{
    return percentAlong(m_pageLeft, m_pageWidth, m_viewport.outerWidth);
}

std::optional<std::int32_t> ScrollModel::verticalPercent() const
{
    return percentAlong(m_pageTop, m_pageHeight, m_viewport.outerHeight);
}

void ScrollModel::setHScrollbarByPercent(std::int16_t percent) { setByPercent(Axis::Horizontal, percent); }
void ScrollModel::setVScrollbarByPercent(std::int16_t percent) { setByPercent(Axis::Vertical, percent); }

void ScrollModel::setByPercent(Axis axis, std::int16_t percent)
{
    if (percent < 0 || percent > 100)
        return;
    const double value = double(percent) / 100.0 * double(bar(axis).maximum);
    if (value > bar(axis).maximum)
        return;
    setValue(axis, roundToInt16(value));
}

} // namespace preview
