#pragma once
#include <QColor>
#include <QImage>
#include <QPainter>
#include <cmath>

namespace previewtest {

// A page picture of the given pixels recorded at the given resolution, with a diagonal so that
// scaling has something to draw.
inline QImage pagePicture(int width, int height, int dpi)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawLine(0, 0, width - 1, height - 1);
    painter.end();
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

} // namespace previewtest
