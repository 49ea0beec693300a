#pragma once

class QWidget;

namespace preview {

// The preview's share of the program's colouring: the window, its frames and labels take the
// system's button-face colour (as a palette role, so they follow the colour scheme), while
// picture boxes keep their own background so the page area stays white.
void colourWindow(QWidget *window);

} // namespace preview
