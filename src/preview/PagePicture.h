#pragma once
#include <QImage>
#include <QRectF>
#include <QWidget>

namespace preview {

// A picture box that shows part of a picture stretched over its whole area. The picture is
// scaled once per size from the unscaled source, smoothly and at the screen's device pixels,
// so the page stays sharp on high-density screens and scrolling never re-scales.
class PagePicture : public QWidget {
    Q_OBJECT
public:
    explicit PagePicture(QWidget *parent = nullptr);

    // Shows sourceRect (in the picture's pixels) of picture over the widget; a null picture
    // leaves the box blank.
    void setPicture(const QImage &picture, const QRectF &sourceRect);
    void setPicture(const QImage &picture) { setPicture(picture, QRectF(picture.rect())); }
    void clearPicture() { setPicture(QImage()); }
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const QImage &scaledForScreen();

    QImage m_picture;
    QRect m_sourceRect;
    QImage m_scaled;
    QSize m_scaledFor;
};

} // namespace preview
