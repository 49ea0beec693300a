#pragma once
class QWidget;

namespace shell {

// Screen readers present the window as a window (a frame, through AT-SPI), named by its title.
// A plain QWidget that is a window would otherwise be announced as an unnamed client area.
void announceAsWindow(QWidget *window);

} // namespace shell
