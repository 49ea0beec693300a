#pragma once

class QFrame;
class QGroupBox;
class QPushButton;
class QScrollBar;
class QWidget;

namespace preview {

class PagePicture;

// The preview window's controls, named as the rest of the program refers to them.
struct PreviewControls {
    QFrame *viewport = nullptr;      // viewport that clips the page picture
    QWidget *viewportClient = nullptr; // the viewport's inside, where the page moves
    PagePicture *page = nullptr; // page picture
    QScrollBar *verticalBar = nullptr;
    QScrollBar *horizontalBar = nullptr;
    PagePicture *zoomSource = nullptr; // hidden zoom source holding the unscaled page
    QGroupBox *buttonFrame = nullptr;
    QPushButton *zoomInButton = nullptr; // "Zoom In"
    QPushButton *zoomOutButton = nullptr; // "Zoom Out"
    QPushButton *backButton = nullptr; // "< Back"
    QPushButton *saveButton = nullptr; // "Save Results To Word File"
};

// Places the controls on the window at their designed positions (in twips, 15 to the pixel),
// with the window's fonts and its fixed client size.
PreviewControls buildPreviewControls(QWidget *window);

} // namespace preview
