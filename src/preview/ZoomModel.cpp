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
    factor = 1.0f;
    originalWidth = roundToInt32(m_sourceInnerWidth - 2);
    originalHeight = roundToInt32(m_sourceInnerHeight - 2);
    zoomedWidth = scaledLength(originalWidth, 1.0f);
    zoomedHeight = scaledLength(originalHeight, 1.0f);
}

float ZoomModel::stepCandidate(float zoom, bool zoomOut)
{
    return zoomOut ? zoom - kStep : zoom + kStep;
}

bool ZoomModel::setZoom(float candidate)
{
    if (candidate < kMinimum || candidate > kMaximum)
        return false;
    factor = candidate;
    return true;
}

bool ZoomModel::takeRedrawSizes()
{
    zoomedWidth = scaledLength(originalWidth, factor);
    zoomedHeight = scaledLength(originalHeight, factor);
    if (zoomedWidth > kLargestWidth || zoomedHeight > kLargestHeight) {
        resetToSource();
        return false;
    }
    return true;
}

} // namespace preview
