#pragma once
#include "RecordWidgets.h"

#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

namespace runtime {
class ErrorTrap;
} // namespace runtime

namespace record {
class HeldLock;
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
//
// While an applicant from a locked file is open, nothing of it is written in plain text: the entries
// go to a journal beside the store, a locked applicant file under the open file's lock (held in
// memory, so no key is derived per keystroke), and the store keeps only a note naming the locked
// file, with its record keys empty. The next start finds the note and restores the journal after
// the passphrase.
class RecordPersistence : public QObject {
    Q_OBJECT
public:
    RecordPersistence(RecordWidgets &widgets, record::SettingsStore &store, QObject *parent = nullptr);

    // Connects the change, focus and option behaviours of every control of the record.
    void bind();

    // Restores the record in the order the load uses, each step a labelled line of `trap`
    // (128 to 338): the pay bases and the applicant's residences, the 70 texts, then the
    // co-applicant's residences. Write-backs of values just read are suppressed.
    void restore(runtime::ErrorTrap &trap);

    // The record the fields hold, by settings key: each text, and each choice's selected word.
    QMap<QString, QString> currentRecord() const;
    // The fields take the record (by settings key; keys it lacks are left alone, a choice takes the
    // option its word names, else its first), and the store follows in one write, as if typed. A whole
    // record (a file's, a blank one) brings its form language, English when it names none; an import's,
    // which lacks the hidden rows, leaves the applicant's language as it is.
    void takeRecord(const QMap<QString, QString> &record);
    // The language the applicant's form is printed in; kept like a field (record::kFormLanguageKey).
    void setFormLanguage(record::FormLanguage language);
    record::FormLanguage formLanguage() const { return m_widgets.formLanguage(); }

    // True while stored values may be behind what the window shows.
    bool hasUnsavedValues() const { return !m_unsaved.isEmpty(); }
    // Writes the changes an earlier refused write left pending; quiet when it fails again.
    // True when nothing is pending any more.
    bool retryUnsaved();
    const record::SettingsStore &store() const { return m_store; }
    record::SettingsStore &store() { return m_store; }

    // From now on the entries go to the journal under `lock`, for the locked file `lockedFile`. The
    // first switch empties the store's record keys and writes the note, in one write, before the
    // journal is written: now, or, without `writeNow`, by the takeRecord that follows.
    void keepInJournal(const QString &lockedFile, std::shared_ptr<const record::HeldLock> lock, bool writeNow = true);
    // Back to the store: it takes the entries and loses the note in one write, then the journal goes.
    void keepInStore();
    bool isJournalling() const { return m_journalLock != nullptr; }
    // The locked file the store's note names (a locked applicant was open when the program ended), or empty.
    QString lockedNote();
    // Forgets the note and removes the journal, for a note without a journal.
    void forgetLockedNote();
    // Where the journal of the store is kept.
    QString journalPath() const;
    // The file the entries are saved in now: the journal or the store.
    QString savedIn() const;
    // The description of the last refused write.
    const QString &lastError() const { return m_lastError; }

private:
    void restoreChoice(runtime::ErrorTrap &trap, int firstLabel, const record::ChoiceSpec &choice);
    void noteFormLanguage(record::FormLanguage language); // pending until the next flush
    void write(const QString &key, const QString &value);
    void saveUnsaved();
    void flush();
    void showStoredValuesOfUnchangedFields();

    RecordWidgets &m_widgets;
    record::SettingsStore &m_store;
    bool m_restoring = false;
    bool m_failing = false;
    QMap<QString, QString> m_unsaved; // changes not yet in the store, by key
    QSet<QString> m_changed;         // keys the user has changed since the start
    QString m_lastError;
    std::shared_ptr<const record::HeldLock> m_journalLock; // while entries go to the journal
};

// Selects the whole text of a line edit whenever it gains the focus, so typing replaces it.
void selectAllOnFocus(class QLineEdit *edit);

} // namespace entry
