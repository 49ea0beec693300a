#pragma once

class QPushButton;

namespace shell {

// Enter or Return on a focused push button presses it, as Space does, the way buttons behave on
// Windows and in GTK programs. Qt does this by itself only for a dialog's default buttons; the
// program's windows are no dialogs. Dialogs keep their own keys (Enter for the default button,
// Escape to cancel).
void pressOnEnter(QPushButton *button);

} // namespace shell
