#pragma once
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace entry {

// Asks for passphrases: a new one (typed twice, never empty) to lock a file with, or the one that
// opens a locked file. Behind an interface so that tests answer it and see every question.
class PassphrasePrompt {
public:
    virtual ~PassphrasePrompt() = default;
    // The new passphrase for `fileName`, or nothing when the user cancelled.
    virtual std::optional<QString> askNew(const QString &fileName) = 0;
    // The passphrase that replaces the one `fileName` is locked with (typed twice, never empty), or
    // nothing when the user cancelled.
    virtual std::optional<QString> askChanged(const QString &fileName) = 0;
    // The passphrase that opens `fileName`; `again` when the one given before did not. Nothing when
    // the user cancelled.
    virtual std::optional<QString> askToOpen(const QString &fileName, bool again) = 0;
    // The passphrase of `fileName` whose entries, kept locked when the program last ended, are to
    // come back; as askToOpen unless the prompt words it otherwise.
    virtual std::optional<QString> askToRestore(const QString &fileName, bool again) { return askToOpen(fileName, again); }
};

// The window's own dialogs.
class DialogPassphrasePrompt final : public PassphrasePrompt {
public:
    explicit DialogPassphrasePrompt(QWidget *parent) : m_parent(parent) {}
    std::optional<QString> askNew(const QString &fileName) override;
    std::optional<QString> askChanged(const QString &fileName) override;
    std::optional<QString> askToOpen(const QString &fileName, bool again) override;
    std::optional<QString> askToRestore(const QString &fileName, bool again) override;

private:
    std::optional<QString> askTwice(const QString &intro, const QString &firstLabel, const QString &button);
    std::optional<QString> askOnce(const QString &intro, const QString &button);
    QWidget *m_parent;
};

} // namespace entry
