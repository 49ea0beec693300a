#pragma once

class QVBoxLayout;
class QWidget;

namespace entry {

// A dialog's page of fields in a scroll area that follows the keyboard's focus, added to `outer`:
// on a small screen or at a large scale the whole page is still reached, and the field a Tab or an
// Alt key goes to is brought into view. Returns the page's layout.
QVBoxLayout *addScrolledPage(QWidget *dialog, QVBoxLayout *outer);

} // namespace entry
