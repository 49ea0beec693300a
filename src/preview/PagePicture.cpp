#include "PagePicture.h"

#include <QPainter>
#include <QPaintEvent>

namespace preview {

PagePicture::PagePicture(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PagePicture::setPicture(const QImage &picture, const QRectF &sourceRect)
{
    m_picture = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
    // Whole source pixels: the page's own pixels are what gets scaled, never a resampled copy.
    m_sourceRect = sourceRect.toRect().intersected(m_picture.rect());
    m_scaled = QImage();
    m_scaledFor = QSize();
    update();
}

const QImage &PagePicture::scaledForScreen()
{
    const qreal ratio = devicePixelRatioF();
    const QSize devicePixels = (QSizeF(size()) * ratio).toSize();
    if (devicePixels != m_scaledFor) {
        m_scaledFor = devicePixels;
        m_scaled = QImage();
        if (!m_sourceRect.isEmpty() && !devicePixels.isEmpty()) {
            const QImage source =
                m_sourceRect == m_picture.rect() ? m_picture : m_picture.copy(m_sourceRect);
            m_scaled = source.scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            m_scaled.setDevicePixelRatio(ratio);
        }
    }
    return m_scaled;
}

void PagePicture::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    const QImage &scaled = scaledForScreen();
    if (!scaled.isNull())
        painter.drawImage(QPointF(0, 0), scaled);
}

} // namespace preview
