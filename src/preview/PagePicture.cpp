#include "PagePicture.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QPaintEvent>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace preview {
namespace {
// The box is white behind the picture: transparent parts of a page show paper, not black.
QImage onWhite(const QImage &picture)
{
    if (picture.isNull() || !picture.hasAlphaChannel())
        return picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
    QImage opaque(picture.size(), QImage::Format_RGB32);
    opaque.setDotsPerMeterX(picture.dotsPerMeterX());
    opaque.setDotsPerMeterY(picture.dotsPerMeterY());
    opaque.fill(Qt::white);
    QPainter(&opaque).drawImage(0, 0, picture);
    return opaque;
}

// Screen readers present the box as a picture rather than as an empty panel.
QAccessibleInterface *pictureAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("preview::PagePicture") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
    return nullptr;
}
} // namespace

PagePicture::PagePicture(QWidget *parent) : QWidget(parent)
{
    static const bool registered = (QAccessible::installFactory(pictureAccessible), true);
    Q_UNUSED(registered);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PagePicture::setPicture(const QImage &picture, const QRectF &sourceRect)
{
    m_picture = onWhite(picture);
    // Whole source pixels: the page's own pixels are what gets scaled, never a resampled copy.
    m_sourceRect = sourceRect.toRect().intersected(m_picture.rect());
    m_scaled = QImage();
    m_scaledFor = QSize();
    update();
}

QSize PagePicture::devicePixels() const
{
    return (QSizeF(size()) * devicePixelRatioF()).toSize();
}

bool PagePicture::enlarges(QSize devicePixels) const
{
    return devicePixels.width() > m_sourceRect.width() || devicePixels.height() > m_sourceRect.height();
}

const QImage &PagePicture::scaledForScreen(QSize devicePixels)
{
    if (devicePixels != m_scaledFor) {
        m_scaledFor = devicePixels;
        m_scaled = QImage();
        if (!m_sourceRect.isEmpty() && !devicePixels.isEmpty()) {
            const QImage source =
                m_sourceRect == m_picture.rect() ? m_picture : m_picture.copy(m_sourceRect);
            m_scaled = source.scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            m_scaled.setDevicePixelRatio(devicePixelRatioF());
        }
    }
    return m_scaled;
}

void PagePicture::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    drawPicture(painter);
    if (hasFocus())
        drawFocusFrame(painter);
}

void PagePicture::drawPicture(QPainter &painter)
{
    if (m_sourceRect.isEmpty() || size().isEmpty())
        return;
    const QSize device = devicePixels();
    if (enlarges(device)) {
        // Bilinear from the source, for the painted part only (the painter clips to it).
        m_scaled = QImage();
        m_scaledFor = QSize();
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(rect()), m_picture, QRectF(m_sourceRect));
        painter.restore();
        return;
    }
    const QImage &scaled = scaledForScreen(device);
    if (!scaled.isNull())
        painter.drawImage(QPointF(0, 0), scaled);
}

void PagePicture::drawFocusFrame(QPainter &painter)
{
    QRect shown = rect();
    if (const QWidget *holder = parentWidget())
        shown &= QRect(mapFromParent(QPoint(0, 0)), holder->size());
    if (shown.isEmpty())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = shown.adjusted(1, 1, -1, -1);
    option.backgroundColor = Qt::white;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void PagePicture::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void PagePicture::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void PagePicture::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // The frame follows the viewport, not the page: moved pixels would carry it along.
    if (hasFocus())
        update();
}

} // namespace preview
