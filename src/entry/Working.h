#pragma once
#include <QString>

#include <functional>

class QWidget;

namespace entry {

// Runs `work` on a thread of its own while a dialog says what is being done and offers Cancel, so
// that the window keeps painting through a long computation (a key derived from a passphrase).
// True when the work ended (what it threw is thrown here); false when the user cancelled: the work
// then finishes unseen, and what it gives is dropped. `work` must own everything it uses.
bool runCancellable(QWidget *parent, const QString &what, std::function<void()> work);
// The same for work that must not be left halfway (a file being written): no Cancel.
void runToEnd(QWidget *parent, const QString &what, std::function<void()> work);

} // namespace entry
