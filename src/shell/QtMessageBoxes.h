#pragma once
#include "runtime/MessageBoxes.h"

namespace shell {

// The real boxes, parented to the active window; the program installs them at start-up.
class QtMessageBoxes final : public runtime::MessageBoxes {
public:
    void inform(const QString &title, const QString &text, runtime::BoxIcon icon) override;
    runtime::BoxAnswer askYesNo(const QString &title, const QString &text, runtime::BoxAnswer defaultAnswer = runtime::BoxAnswer::Yes) override;
    void notify(const QString &title, const QString &text, runtime::BoxIcon icon) override;
    runtime::SaveAnswer askSaveDiscardCancel(const QString &title, const QString &text) override;
    int askChoice(const QString &title, const QString &text, const QStringList &buttons, int defaultButton,
                  int escapeButton) override;
};

} // namespace shell
