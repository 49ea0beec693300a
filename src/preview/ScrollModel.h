#pragma once
#include <cstdint>
#include <optional>

namespace preview {

// One scroll bar as the preview drives it: minimum 0, small and large change 1.
struct ScrollBarState {
    bool enabled = true;
    std::int16_t value = 0;
    std::int16_t maximum = 32767;
};

// Where the page picture sits inside its viewport and how the scroll bars and the mouse move it,
// without widgets. Lengths are twips; the page's left and top edges are zero or negative while
// it is larger than the viewport.
//
// The page follows a scroll bar on the bar's grid: edge = -(step x value), step 1 or 10 twips.
// A drag moves the page freely; its end hands the position back to the bars as a percentage,
// which snaps the page onto the nearest grid point.
class ScrollModel {
public:
    struct Viewport {
        std::int32_t outerWidth = 0;
        std::int32_t outerHeight = 0;
        std::int32_t innerWidth = 0;
        std::int32_t innerHeight = 0;
    };

    ScrollModel() = default;
    explicit ScrollModel(const Viewport &viewport) : m_viewport(viewport) {}
    void setViewport(const Viewport &viewport) { m_viewport = viewport; }
    const Viewport &viewport() const { return m_viewport; }

    // The page picture's outer size, as drawn.
    void setPageSize(std::int32_t width, std::int32_t height);
    std::int32_t pageWidth() const { return m_pageWidth; }
    std::int32_t pageHeight() const { return m_pageHeight; }
    float pageLeft() const { return m_pageLeft; }
    float pageTop() const { return m_pageTop; }
    void movePage(float left, float top);

    const ScrollBarState &hBar() const { return m_hBar; }
    const ScrollBarState &vBar() const { return m_vBar; }

    // layoutScrollbars: page to the top-left corner; each bar enabled with its maximum and step
    // when the page overflows the viewport in that direction, disabled with step 0 otherwise.
    void layoutScrollbars();

    // After a zoom has drawn the page anew (bars already at 0): page to the corner, and maximum
    // and step recomputed for the new size as the layout does, leaving the bars' enabling alone.
    void fitBarsToPage();

    // The page's new size decides the enabling after a zoom: a bar is usable only when the page
    // overflows the viewport's inner size.
    void enableForPage();

    // A bar's value set by the program or by the user; a value that differs runs the change
    // handler, which moves the page onto the bar's grid.
    void setHValue(std::int16_t value);
    void setVValue(std::int16_t value);

    // The keyboard: a bar moves by about that many twips (negative: back), on its grid and within
    // its range, and the page with it; a disabled bar stays.
    void scrollHorizontallyBy(std::int32_t twips);
    void scrollVerticallyBy(std::int32_t twips);

    // Mouse-down on the page: where it was grabbed, in the page's own coordinates.
    void grab(float x, float y);

    // One drag step, the pointer at (x, y) in the page's own coordinates: the new edges, kept
    // from uncovering the viewport's top-left and, where possible, its inner right and bottom.
    float dragLeft(float x) const;
    float dragTop(float y) const;

    // Mouse-up: how far along its scroll range the page stands, in percent; none when the page
    // is exactly as large as the viewport in that direction (no range to measure against).
    std::optional<std::int32_t> horizontalPercent() const;
    std::optional<std::int32_t> verticalPercent() const;

    // setHScrollbarByPercent / setVScrollbarByPercent: percentages outside 0..100 change nothing.
    void setHScrollbarByPercent(std::int16_t percent);
    void setVScrollbarByPercent(std::int16_t percent);

    std::int16_t hStep = 0;
    std::int16_t vStep = 0;
    float dragX = 0.0f;
    float dragY = 0.0f;

private:
    enum class Axis { Horizontal, Vertical };

    void layoutAxis(Axis axis);
    void setValue(Axis axis, std::int16_t value);
    void setMaximum(Axis axis, std::int16_t maximum);
    void valueChanged(Axis axis);
    void setByPercent(Axis axis, std::int16_t percent);
    void scrollBy(Axis axis, std::int32_t twips);
    ScrollBarState &bar(Axis axis) { return axis == Axis::Horizontal ? m_hBar : m_vBar; }
    std::int16_t &step(Axis axis) { return axis == Axis::Horizontal ? hStep : vStep; }

    Viewport m_viewport;
    std::int32_t m_pageWidth = 0;
    std::int32_t m_pageHeight = 0;
    float m_pageLeft = 0.0f;
    float m_pageTop = 0.0f;
    ScrollBarState m_hBar;
    ScrollBarState m_vBar;
};

} // namespace preview
