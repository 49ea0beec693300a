#pragma once
#include <cstdint>

namespace preview {

// The zoom arithmetic of the preview, without widgets. The unscaled page lives in the zoom source;
// the page picture shows it scaled by factor, which moves in quarter steps between a quarter and
// four times. A picture larger than kLargestWidth x kLargestHeight twips (four times a US Letter
// page, which bounds the memory a drawn page takes) is never drawn: the factor then falls back
// to 1 and the picture on screen stays as it was. A one-page form reaches four times; the
// picture of a record that runs over many pages falls back sooner.
class ZoomModel {
public:
    static constexpr float kStep = 0.25f;
    static constexpr float kMinimum = 0.25f;
    static constexpr float kMaximum = 4.0f;
    static constexpr std::int32_t kLargestWidth = 4 * 12240;
    static constexpr std::int32_t kLargestHeight = 4 * 15840;

    // The zoom source's inner size in twips; the page it holds is two twips smaller.
    void setSourceSize(double innerWidth, double innerHeight);

    // Unscaled sizes taken from the zoom source, factor 1, shown size equal to the unscaled one.
    void resetToSource();

    // stepZoom's candidate: a quarter more, or a quarter less when zooming out.
    static float stepCandidate(float zoom, bool zoomOut);

    // setZoom: a candidate within the range is stored and must then be drawn (true); any other
    // candidate changes nothing (false).
    bool setZoom(float candidate);

    // redrawImage's sizes for the current factor. True: draw the page at zoomedWidth x zoomedHeight.
    // False: too large; the factor fell back to 1 and nothing may be drawn.
    bool takeRedrawSizes();

    float factor = 1.0f;
    std::int32_t originalWidth = 0;
    std::int32_t originalHeight = 0;
    std::int32_t zoomedWidth = 0;
    std::int32_t zoomedHeight = 0;

private:
    double m_sourceInnerWidth = 0.0;
    double m_sourceInnerHeight = 0.0;
};

} // namespace preview
