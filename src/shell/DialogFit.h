#pragma once

class QWidget;

namespace shell {

// Sizes a dialog of Qt's own (a file dialog) to fit the screen its parent is on, leaving room for
// the frame: at its designed size it is cut off on a small screen or at a large scale factor
// (1,024 x 768 at twice the scale is 512 x 384). A dialog that fits keeps its size.
void fitDialogToScreen(QWidget &dialog, const QWidget *parent);

} // namespace shell
