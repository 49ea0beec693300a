#include "PageRenderer.h"

namespace wordproc {

QImage renderContent(const Document &, int dpi)
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    return image;
}

} // namespace wordproc
