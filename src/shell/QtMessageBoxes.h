#pragma once
#include "MessageBoxes.h"

namespace shell {

// The real boxes, parented to the active window; the program installs them at start-up.
class QtMessageBoxes final : public MessageBoxes {
public:
    void inform(const QString &title, const QString &text, BoxIcon icon) override;
    BoxAnswer askYesNo(const QString &title, const QString &text, BoxAnswer defaultAnswer = BoxAnswer::Yes) override;
    void notify(const QString &title, const QString &text, BoxIcon icon) override;
};

} // namespace shell
