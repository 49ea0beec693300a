#pragma once

class QGroupBox;

namespace shell {

// Draws the frame's caption on its top border, interrupting the line, the way the windows were
// designed; the platform style would put it above the border and take a line of the frame's
// height for it.
void putCaptionOnBorder(QGroupBox *frame);

} // namespace shell
