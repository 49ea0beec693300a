#include "RecordPersistence.h"

#include "record/RecordCatalogue.h"
#include "runtime/AppError.h"
#include "runtime/ErrorTrap.h"
#include "runtime/MessageBoxes.h"
#include "record/ApplicantFile.h"
#include "record/RecordValues.h"
#include "record/SettingsStore.h"

#include "base/Failure.h"

#include <QFile>

#include <QEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>

namespace entry {
namespace {

// Focus-in selects everything; done after Qt's own focus handling, which may move the cursor.
class SelectAllOnFocus final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto *edit = static_cast<QLineEdit *>(watched);
            QTimer::singleShot(0, edit, [edit] {
                edit->setSelection(0, static_cast<int>(edit->text().size()));
            });
        }
        return false;
    }
};

} // namespace

void selectAllOnFocus(QLineEdit *edit)
{
    edit->installEventFilter(new SelectAllOnFocus(edit));
}

RecordPersistence::RecordPersistence(RecordWidgets &widgets, record::SettingsStore &store, QObject *parent)
    : QObject(parent), m_widgets(widgets), m_store(store)
{
}

void RecordPersistence::bind()
{
    for (const record::TextFieldSpec &field : record::textFields()) {
        QLineEdit *edit = m_widgets.text(QLatin1String(field.id));
        const QString key = QLatin1String(field.key);
        connect(edit, &QLineEdit::textChanged, this, [this, key](const QString &text) { write(key, text); });
        selectAllOnFocus(edit);
    }
    for (const record::ChoiceSpec &choice : record::choices()) {
        const QString key = QLatin1String(choice.key);
        for (const auto &[id, word] : {std::pair{choice.firstId, choice.firstWord},
                                       std::pair{choice.secondId, choice.secondWord}}) {
            const QString value = QLatin1String(word);
            connect(m_widgets.option(QLatin1String(id)), &QRadioButton::toggled, this,
                    [this, key, value](bool selected) {
                        if (selected)
                            write(key, value);
                    });
        }
    }
}

void RecordPersistence::restore(runtime::ErrorTrap &trap)
{
    m_restoring = true;
    int label = 128;
    // A file that could not be read is reported once, here, with its path and the reason.
    trap.line(label, [&] {
        if (!m_store.openingProblem().isEmpty())
            throw runtime::AppError(m_store.openingProblem());
    });
    for (const record::ChoiceId choice : {record::choice::CoEmpInfoSalary, record::choice::AppInfoEmpInfoSalary,
                                          record::choice::AppInfoCurrentHouse, record::choice::AppInfoPreviousHouse}) {
        restoreChoice(trap, label, *record::findChoice(choice.name()));
        label += 12;
    }
    for (const record::TextFieldSpec &field : record::textFields()) {
        trap.line(label, [&] {
            m_widgets.text(QLatin1String(field.id))->setText(m_store.read(QLatin1String(field.key)));
        });
        label += 2;
    }
    for (const record::ChoiceId choice : {record::choice::CoCurrentHouse, record::choice::CoPreviousHouse}) {
        restoreChoice(trap, label, *record::findChoice(choice.name()));
        label += 12;
    }
    // The form's language is no field of the designed load: a store that cannot say it leaves English.
    try {
        m_widgets.setFormLanguage(record::languageOfCode(m_store.read(QLatin1String(record::kFormLanguageKey)))
                                      .value_or(record::FormLanguage::English));
    } catch (const base::Failure &) {
    }
    m_restoring = false;
}

// Exact, case-sensitive match of the whole stored word; anything else keeps the initial option.
void RecordPersistence::restoreChoice(runtime::ErrorTrap &trap, int firstLabel, const record::ChoiceSpec &choice)
{
    QRadioButton *first = m_widgets.option(QLatin1String(choice.firstId));
    QRadioButton *second = m_widgets.option(QLatin1String(choice.secondId));
    const QString key = QLatin1String(choice.key);
    if (trap.test(firstLabel, [&] { return m_store.read(key) == QLatin1String(choice.firstWord); })) {
        trap.line(firstLabel + 2, [&] { first->setChecked(true); });
        trap.line(firstLabel + 4, [&] { second->setChecked(false); });
    } else if (trap.test(firstLabel + 6, [&] { return m_store.read(key) == QLatin1String(choice.secondWord); })) {
        trap.line(firstLabel + 8, [&] { first->setChecked(false); });
        trap.line(firstLabel + 10, [&] { second->setChecked(true); });
    }
}

void RecordPersistence::write(const QString &key, const QString &value)
{
    if (m_restoring)
        return; // the value was just read from this key
    m_unsaved.insert(key, value);
    m_changed.insert(key);
    flush();
}

QString RecordPersistence::journalPath() const { return m_store.filePath() + QStringLiteral(".journal"); }

QString RecordPersistence::savedIn() const { return m_journalLock ? journalPath() : m_store.filePath(); }

QString RecordPersistence::lockedNote() { return m_store.read(QLatin1String(record::kLockedApplicantNoteKey)); }

void RecordPersistence::keepInJournal(const QString &lockedFile, std::shared_ptr<const record::HeldLock> lock,
                                      bool writeNow)
{
    QList<std::pair<QString, QString>> note;
    if (!m_journalLock) {
        // Nothing of the applicant may reach the store: its record keys are emptied first.
        for (const QString &key : record::userEntries(currentRecord()).keys())
            note.append({key, QString()});
    }
    note.append({QLatin1String(record::kLockedApplicantNoteKey), lockedFile});
    m_journalLock = std::move(lock);
    m_unsaved.clear();
    try {
        m_store.write(note);
    } catch (const base::Failure &error) {
        // The entries still go only to the journal; the next start just does not offer them back.
        runtime::messageBoxes().notify(
            runtime::applicationTitle(),
            QStringLiteral("The settings file %1 could not note that a locked applicant is open.\r\n\r\n%2\r\n\r\n"
                           "Save the applicant before you close the program: the next start will not offer the "
                           "entries back.")
                .arg(m_store.filePath(), error.description()),
            runtime::BoxIcon::Warning);
    }
    for (const QString &key : currentRecord().keys())
        m_unsaved.insert(key, QString()); // pending until the journal is written
    if (writeNow)
        flush();
}

void RecordPersistence::keepInStore()
{
    if (!m_journalLock)
        return;
    m_journalLock.reset();
    const QMap<QString, QString> values = currentRecord();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        m_unsaved.insert(it.key(), it.value());
    m_unsaved.insert(QLatin1String(record::kLockedApplicantNoteKey), QString());
    flush();
    // Locked, the journal needs no overwriting; one that cannot be removed names nobody once the note
    // is gone, and the next locked applicant's journal replaces it.
    if (m_unsaved.isEmpty())
        QFile::remove(journalPath());
}

void RecordPersistence::forgetLockedNote()
{
    try {
        m_store.write(QLatin1String(record::kLockedApplicantNoteKey), QString());
    } catch (const base::Failure &) {
        return; // the note stays, and with it the journal it names
    }
    QFile::remove(journalPath());
}

QMap<QString, QString> RecordPersistence::currentRecord() const
{
    return record::settingsOf(m_widgets);
}

void RecordPersistence::takeRecord(const QMap<QString, QString> &values)
{
    // One write for the whole record rather than one for each field the change reaches.
    m_restoring = true;
    for (const record::TextFieldSpec &field : record::textFields()) {
        const QString key = QLatin1String(field.key);
        // The hidden reference rows are nothing the user can see or change: no record replaces them.
        if (!values.contains(key) || !field.shown)
            continue;
        QLineEdit *edit = m_widgets.text(QLatin1String(field.id));
        edit->setText(values.value(key));
        edit->setModified(false);
        m_unsaved.insert(key, edit->text()); // what the field took, as typing would store it
        m_changed.insert(key);
    }
    for (const record::ChoiceSpec &choice : record::choices()) {
        const QString key = QLatin1String(choice.key);
        if (!values.contains(key))
            continue;
        const bool second = values.value(key) == QLatin1String(choice.secondWord);
        m_widgets.option(QLatin1String(second ? choice.secondId : choice.firstId))->setChecked(true);
        m_unsaved.insert(key, QLatin1String(second ? choice.secondWord : choice.firstWord));
        m_changed.insert(key);
    }
    const QString languageKey = QLatin1String(record::kFormLanguageKey);
    const bool whole = std::all_of(record::textFields().begin(), record::textFields().end(),
                                   [&](const record::TextFieldSpec &field) { return values.contains(QLatin1String(field.key)); });
    if (whole || values.contains(languageKey))
        noteFormLanguage(record::languageOfCode(values.value(languageKey)).value_or(record::FormLanguage::English));
    m_restoring = false;
    flush();
}

void RecordPersistence::setFormLanguage(record::FormLanguage language)
{
    noteFormLanguage(language);
    flush();
}

void RecordPersistence::noteFormLanguage(record::FormLanguage language)
{
    const bool storeHasNoKeyToClear = !m_journalLock && language == record::FormLanguage::English
        && m_store.read(QLatin1String(record::kFormLanguageKey)).isEmpty();
    m_widgets.setFormLanguage(language);
    if (storeHasNoKeyToClear) // an English applicant's store stays as it always was, without the key
        return;
    m_unsaved.insert(QLatin1String(record::kFormLanguageKey),
                     language == record::FormLanguage::English ? QString() : record::languageCode(language));
}

void RecordPersistence::flush()
{
    const bool wasFailing = m_failing;
    try {
        saveUnsaved();
    } catch (const base::Failure &error) {
        m_lastError = error.description();
        if (!wasFailing) {
            m_failing = true;
            // Not modal: a modal box would take the keys typed after this one.
            runtime::messageBoxes().notify(
                runtime::applicationTitle(),
                QStringLiteral("Your entries could not be saved to %1.\r\n\r\n%2\r\n\r\nEverything you type stays in "
                               "the window and is saved as soon as that file can be written again.")
                    .arg(savedIn(), error.description()),
                runtime::BoxIcon::Warning);
        }
        return;
    }
    if (wasFailing)
        showStoredValuesOfUnchangedFields();
    for (const QString &notice : m_store.takeNotices())
        runtime::messageBoxes().notify(runtime::applicationTitle(), notice, runtime::BoxIcon::Warning);
}

bool RecordPersistence::retryUnsaved()
{
    if (m_unsaved.isEmpty())
        return true;
    try {
        saveUnsaved();
    } catch (const base::Failure &error) {
        m_lastError = error.description(); // still failing: the user has been told
        return false;
    }
    showStoredValuesOfUnchangedFields();
    return true;
}

// Only what changed since the last successful write is written: a window that could not show the
// stored values (a file that could not be read at start-up) must not write blanks over them.
void RecordPersistence::saveUnsaved()
{
    if (m_journalLock) {
        // The whole record each time: the journal is one locked file, a few kilobytes.
        record::writeLockedJournal(journalPath(), currentRecord(), *m_journalLock);
        m_unsaved.clear();
        m_failing = false;
        return;
    }
    QList<std::pair<QString, QString>> values;
    for (auto it = m_unsaved.cbegin(); it != m_unsaved.cend(); ++it)
        values.append({it.key(), it.value()});
    m_store.write(values); // one durable write for everything pending
    m_unsaved.clear();
    m_failing = false;
}

// After a failure, the file may hold values the window never showed; fields the user has not
// changed take them over.
void RecordPersistence::showStoredValuesOfUnchangedFields()
{
    if (m_journalLock)
        return; // the store holds nothing of this applicant
    m_restoring = true;
    for (const record::TextFieldSpec &field : record::textFields()) {
        const QString key = QLatin1String(field.key);
        if (!m_changed.contains(key))
            m_widgets.text(QLatin1String(field.id))->setText(m_store.read(key));
    }
    for (const record::ChoiceSpec &choice : record::choices()) {
        const QString key = QLatin1String(choice.key);
        if (m_changed.contains(key))
            continue;
        const QString stored = m_store.read(key);
        if (stored == QLatin1String(choice.firstWord))
            m_widgets.option(QLatin1String(choice.firstId))->setChecked(true);
        else if (stored == QLatin1String(choice.secondWord))
            m_widgets.option(QLatin1String(choice.secondId))->setChecked(true);
    }
    m_restoring = false;
}

} // namespace entry
