#pragma once
#include <QImage>
#include <QRectF>
#include <QWidget>

namespace preview {

// A picture box that shows part of a picture stretched over its whole area, smoothly and at the
// screen's device pixels, so the page stays sharp on high-density screens. A reduced picture is
// scaled once per size and kept (it is smaller than the source). An enlarged one is never kept:
// at four times on a screen of device pixel ratio 2 it would take over 200 MB and a second to
// scale, so only the part being painted is scaled, straight from the source.
//
// With the keyboard focus it shows the program's focus frame around the part of it that can be
// seen, wherever its parent has moved it.
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
    // The scaled copy held for painting, null while the picture is enlarged.
    const QImage &heldScaledCopy() const { return m_scaled; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void drawPicture(QPainter &painter);
    void drawFocusFrame(QPainter &painter);
    QSize devicePixels() const;
    bool enlarges(QSize devicePixels) const;
    const QImage &scaledForScreen(QSize devicePixels);

    QImage m_picture;
    QRect m_sourceRect;
    QImage m_scaled;
    QSize m_scaledFor;
};

} // namespace preview
