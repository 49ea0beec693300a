#pragma once

class QFrame;
class QGroupBox;
class QPushButton;
class QScrollBar;
class QWidget;

namespace preview {

class PagePicture;

// The preview window's controls, named as the rest of the program refers to them.
struct Form2Controls {
    QFrame *Picture2 = nullptr;      // viewport that clips the page picture
    QWidget *viewportClient = nullptr; // the viewport's inside, where the page moves
    PagePicture *Picture1 = nullptr; // page picture
    QScrollBar *VScroll1 = nullptr;
    QScrollBar *HScroll1 = nullptr;
    PagePicture *zoomSource = nullptr; // hidden zoom source holding the unscaled page
    QGroupBox *Frame1 = nullptr;
    QPushButton *PushButton1 = nullptr; // "Zoom In"
    QPushButton *PushButton2 = nullptr; // "Zoom Out"
    QPushButton *PushButton8 = nullptr; // "< Back"
    QPushButton *PushButton6 = nullptr; // "Save Results To Word File"
};

// Places the controls on the window at their designed positions (in twips, 15 to the pixel),
// with the window's fonts and its fixed client size.
Form2Controls buildForm2Controls(QWidget *window);

} // namespace preview
