#include "PreviewControls.h"

#include "PagePicture.h"
#include "Twips.h"

#include "shell/Appearance.h"
#include "shell/ButtonKeys.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>

namespace preview {
namespace {
constexpr int kClientWidth = 9840;
constexpr int kClientHeight = 9390;
constexpr int kViewportBorderPixels = 2; // a sunken picture-box border

// A picture box: white, and left alone by the window's colouring.
void makeWhitePictureBox(QWidget *widget)
{
    shell::markAsPictureBox(widget);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
    // Named explicitly: a widget without a role of its own borrows its parent's.
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}

template <class Widget> Widget *place(Widget *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QScrollBar *scrollBar(QWidget *window, Qt::Orientation orientation, const char *name, const QRect &geometry)
{
    auto *bar = place(new QScrollBar(orientation, window), name, geometry);
    bar->setRange(0, 32767);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setTracking(false); // a dragged thumb moves the page when it is released
    return bar;
}

// Controls without a caption of their own are named for screen readers after what they do.
template <class Widget> Widget *named(Widget *widget, const QString &accessibleName)
{
    widget->setAccessibleName(accessibleName);
    return widget;
}

QPushButton *pushButton(QWidget *container, const QString &text, const char *name, const QRect &geometry)
{
    auto *button = place(new QPushButton(text, container), name, geometry);
    button->setFont(shell::windowFont(11.25));
    button->setAutoDefault(false);
    shell::pressOnEnter(button);
    return button;
}
} // namespace

PreviewControls buildPreviewControls(QWidget *window)
{
    window->setFont(shell::windowFont(9));
    window->setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));

    PreviewControls c;
    c.viewport = place(new QFrame(window), "Picture2", twipsToPixels(120, 120, 9330, 7425));
    c.viewport->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    c.viewport->setLineWidth(kViewportBorderPixels);
    makeWhitePictureBox(c.viewport);
    c.viewportClient = place(new QWidget(c.viewport), "Picture2Client", c.viewport->contentsRect());
    makeWhitePictureBox(c.viewportClient);

    named(c.viewport, QCoreApplication::translate("preview::PreviewWindow", "Page view"));
    c.page = place(new PagePicture(c.viewportClient), "Picture1", twipsToPixels(0, 0, 2340, 3435));
    named(c.page, QCoreApplication::translate("preview::PreviewWindow", "Rental application page"));
    shell::markAsPictureBox(c.page);
    // The page takes the keyboard (Tab or a click) to be scrolled; it comes first in the window's
    // keyboard order, being made first.
    c.page->setFocusPolicy(Qt::StrongFocus);

    c.verticalBar = named(scrollBar(window, Qt::Vertical, "VScroll1", twipsToPixels(9450, 120, 255, 7425)),
                       QCoreApplication::translate("preview::PreviewWindow", "Scroll the page up and down"));
    c.horizontalBar = named(scrollBar(window, Qt::Horizontal, "HScroll1", twipsToPixels(120, 7545, 9330, 255)),
                       QCoreApplication::translate("preview::PreviewWindow", "Scroll the page sideways"));

    c.zoomSource = place(new PagePicture(window), "Zoom_Ori", twipsToPixels(10320, 480, 735, 375));
    makeWhitePictureBox(c.zoomSource);

    c.buttonFrame =
        place(new QGroupBox(QCoreApplication::translate("preview::PreviewWindow", "Zoom:"), window), "Frame1", twipsToPixels(120, 7860, 9600, 855));
    c.zoomInButton =
        pushButton(c.buttonFrame, QCoreApplication::translate("preview::PreviewWindow", "Zoom In"), "PushButton1", twipsToPixels(240, 300, 4440, 405));
    c.zoomOutButton =
        pushButton(c.buttonFrame, QCoreApplication::translate("preview::PreviewWindow", "Zoom Out"), "PushButton2", twipsToPixels(4800, 300, 4560, 405));

    c.backButton =
        pushButton(window, QCoreApplication::translate("preview::PreviewWindow", "< Back"), "PushButton8", twipsToPixels(120, 8850, 4680, 405));
    // Read aloud as a word, not as "less than".
    named(c.backButton, QCoreApplication::translate("preview::PreviewWindow", "Back"));
    c.saveButton = pushButton(window, QCoreApplication::translate("preview::PreviewWindow", "Save Results To Word File"), "PushButton6",
                               twipsToPixels(4920, 8850, 4800, 405));
    return c;
}

} // namespace preview
