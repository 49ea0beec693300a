#pragma once
#include "RecordWidgets.h"

#include <QObject>
#include <QString>

namespace shell {
class ErrorTrap;
class SettingsStore;
} // namespace shell

namespace entry {

struct ChoiceSpec;

// Write-through persistence of the record: every text change and every option selection is
// written to the settings store at once, under the field's key; the load restores every field.
//
// A write the store refuses is not silent: the user is told once where the values could not be
// saved, the window keeps every value, and the next write that succeeds writes every field the
// window shows, so nothing typed is lost.
class RecordPersistence : public QObject {
    Q_OBJECT
public:
    RecordPersistence(const RecordWidgets &widgets, shell::SettingsStore &store, QObject *parent = nullptr);

    // Connects the change, focus and option behaviours of every control of the record.
    void bind();

    // Restores the record in the order the load uses, each step a labelled line of `trap`
    // (128 to 338): the pay bases and the applicant's residences, the 70 texts, then the
    // co-applicant's residences. Write-backs of values just read are suppressed.
    void restore(shell::ErrorTrap &trap);

    // True while stored values may be behind what the window shows.
    bool hasUnsavedValues() const { return m_failing; }
    // Writes every field when an earlier write failed; quiet when it fails again.
    void retryUnsaved();

private:
    void restoreChoice(shell::ErrorTrap &trap, int firstLabel, const ChoiceSpec &choice);
    void write(const QString &key, const QString &value);
    void writeEverything();

    const RecordWidgets &m_widgets;
    shell::SettingsStore &m_store;
    bool m_restoring = false;
    bool m_failing = false;
};

// Selects the whole text of a line edit whenever it gains the focus, so typing replaces it.
void selectAllOnFocus(class QLineEdit *edit);

} // namespace entry
