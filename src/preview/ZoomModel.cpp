#include "ZoomModel.h"

#include "Twips.h"

#include <cmath>

namespace preview {
namespace {
std::int32_t scaledLength(std::int32_t length, float zoom)
{
    return static_cast<std::int32_t>(std::floor(double(length) * double(zoom)));
}
} // namespace

void ZoomModel::setSourceSize(double innerWidth, double innerHeight)
{
    m_sourceInnerWidth = innerWidth;
    m_sourceInnerHeight = innerHeight;
}

void ZoomModel::resetToSource()
{
    mZoom = 1.0f;
    mOrigWidth = roundToInt32(m_sourceInnerWidth - 2);
    mOrigHeight = roundToInt32(m_sourceInnerHeight - 2);
    mZoomWidth = scaledLength(mOrigWidth, 1.0f);
    mZoomHeight = scaledLength(mOrigHeight, 1.0f);
}

float ZoomModel::stepCandidate(float zoom, bool zoomOut)
{
    return zoomOut ? zoom - kStep : zoom + kStep;
}

bool ZoomModel::setZoom(float candidate)
{
    if (candidate < kMinimum || candidate > kMaximum)
        return false;
    mZoom = candidate;
    return true;
}

bool ZoomModel::takeRedrawSizes()
{
    mZoomWidth = scaledLength(mOrigWidth, mZoom);
    mZoomHeight = scaledLength(mOrigHeight, mZoom);
    if (mZoomWidth > kLargestWidth || mZoomHeight > kLargestHeight) {
        resetToSource();
        return false;
    }
    return true;
}

} // namespace preview
