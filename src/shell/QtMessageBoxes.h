#pragma once
#include "MessageBoxes.h"

namespace shell {

// The real boxes, parented to the active window; the program installs them at start-up.
class QtMessageBoxes final : public MessageBoxes {
public:
    void inform(const QString &title, const QString &text, BoxIcon icon) override;
    BoxAnswer askYesNo(const QString &title, const QString &text, BoxAnswer defaultAnswer = BoxAnswer::Yes) override;
    void notify(const QString &title, const QString &text, BoxIcon icon) override;
    SaveAnswer askSaveDiscardCancel(const QString &title, const QString &text) override;
    int askChoice(const QString &title, const QString &text, const QStringList &buttons, int defaultButton,
                  int escapeButton) override;
};

} // namespace shell
