#pragma once
#include "RecordWidgets.h"

#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>

namespace runtime {
class ErrorTrap;
} // namespace runtime

namespace record {
class SettingsStore;
struct ChoiceSpec;
} // namespace record

namespace entry {

// Write-through persistence of the record: every text change and every option selection is
// written to the settings store at once, under the field's key; the load restores every field.
//
// A write the store refuses is not silent: the user is told once, in a notice that leaves the
// keyboard with the field, where the values could not be saved; the window keeps every value, and
// the next write that succeeds writes every change still pending, so nothing typed is lost.
class RecordPersistence : public QObject {
    Q_OBJECT
public:
    RecordPersistence(const RecordWidgets &widgets, record::SettingsStore &store, QObject *parent = nullptr);

    // Connects the change, focus and option behaviours of every control of the record.
    void bind();

    // Restores the record in the order the load uses, each step a labelled line of `trap`
    // (128 to 338): the pay bases and the applicant's residences, the 70 texts, then the
    // co-applicant's residences. Write-backs of values just read are suppressed.
    void restore(runtime::ErrorTrap &trap);

    // The record the fields hold, by settings key: each text, and each choice's selected word.
    QMap<QString, QString> currentRecord() const;
    // The fields take the record (by settings key; keys it lacks are left alone, a choice takes the
    // option its word names, else its first), and the store follows in one write, as if typed.
    void takeRecord(const QMap<QString, QString> &record);

    // True while stored values may be behind what the window shows.
    bool hasUnsavedValues() const { return !m_unsaved.isEmpty(); }
    // Writes the changes an earlier refused write left pending; quiet when it fails again.
    // True when nothing is pending any more.
    bool retryUnsaved();
    const record::SettingsStore &store() const { return m_store; }
    // The description of the last refused write.
    const QString &lastError() const { return m_lastError; }

private:
    void restoreChoice(runtime::ErrorTrap &trap, int firstLabel, const record::ChoiceSpec &choice);
    void write(const QString &key, const QString &value);
    void saveUnsaved();
    void flush();
    void showStoredValuesOfUnchangedFields();

    const RecordWidgets &m_widgets;
    record::SettingsStore &m_store;
    bool m_restoring = false;
    bool m_failing = false;
    QMap<QString, QString> m_unsaved; // changes not yet in the store, by key
    QSet<QString> m_changed;         // keys the user has changed since the start
    QString m_lastError;
};

// Selects the whole text of a line edit whenever it gains the focus, so typing replaces it.
void selectAllOnFocus(class QLineEdit *edit);

} // namespace entry
