#include "ApplicantFiles.h"

#include "ApplicantsWindow.h"
#include "MainWindowLayout.h"
#include "RecordPersistence.h"
#include "Working.h"
#include "base/Failure.h"
#include "base/SafeWrite.h"
#include "record/ApplicantFile.h"
#include "record/SettingsStore.h"
#include "shell/AppTitle.h"
#include "shell/DialogFit.h"
#include "runtime/MessageBoxes.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <optional>
#include <cstdio>

#include <sys/stat.h>

namespace entry {
namespace {

// Made when asked for, so that they are in the windows' language.
QString applicantFilter()
{
    return QCoreApplication::translate("entry::ApplicantFiles", "Applicant Files (*.%1);;All Files (*)")
        .arg(QLatin1String(record::kApplicantSuffix));
}
QString pdfFilter() { return QCoreApplication::translate("entry::ApplicantFiles", "PDF Files (*.pdf)"); }

void warn(const QString &text)
{
    runtime::messageBoxes().inform(runtime::applicationTitle(), text, runtime::BoxIcon::Warning);
}

// The file dialogs of the menu, Qt's own, with the suffix added to a name typed without one.
QString fileDialog(QWidget *parent, ApplicantFiles::Dialog dialog, const QString &startIn)
{
    using Dialog = ApplicantFiles::Dialog;
    const bool saving = dialog == Dialog::SaveAs || dialog == Dialog::ExportPdf;
    const bool pdf = dialog == Dialog::ImportPdf || dialog == Dialog::ExportPdf;
    const QMap<Dialog, QString> captions = {
        {Dialog::Open, QCoreApplication::translate("entry::ApplicantFiles", "Open Applicant")},
        {Dialog::SaveAs, QCoreApplication::translate("entry::ApplicantFiles", "Save Applicant As")},
        {Dialog::ImportPdf, QCoreApplication::translate("entry::ApplicantFiles", "Import Filled PDF")},
        {Dialog::ExportPdf, QCoreApplication::translate("entry::ApplicantFiles", "Export Fillable PDF")}};
    QFileDialog box(parent, captions.value(dialog), startIn, pdf ? pdfFilter() : applicantFilter());
    box.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    box.setDefaultSuffix(pdf ? QStringLiteral("pdf") : QLatin1String(record::kApplicantSuffix));
    shell::fitDialogToScreen(box, parent);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return {};
    return box.selectedFiles().constFirst();
}

} // namespace

ApplicantFiles::ApplicantFiles(QWidget *window, const record::RecordValues &fields, RecordPersistence &record,
                               RecentFiles recent)
    : QObject(window), m_window(window), m_fields(fields), m_record(record), m_recent(std::move(recent)),
      m_inFile(record::blankRecord()), m_dialogPrompt(window)
{
    buildMenu();
}

void ApplicantFiles::buildMenu()
{
    m_menuBar = new QMenuBar(m_window);
    m_menuBar->setObjectName(QStringLiteral("MenuBar"));
    m_fileMenu = m_menuBar->addMenu(tr("&File"));
    m_fileMenu->setObjectName(QStringLiteral("FileMenu"));
    const auto add = [this](const QString &text, QKeySequence keys, auto slot) {
        QAction *action = m_fileMenu->addAction(text);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(tr("&New Applicant"), QKeySequence(Qt::CTRL | Qt::Key_N), [this] { newApplicant(); });
    add(tr("&Open Applicant…"), QKeySequence(Qt::CTRL | Qt::Key_O), &ApplicantFiles::onOpen);
    add(tr("Save Applicant &As…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
        &ApplicantFiles::onSaveAs);
    m_changePassphrase = add(tr("C&hange Passphrase…"), {}, [this] { changePassphrase(); });
    m_removeLock = add(tr("Re&move Lock…"), {}, [this] { removeLock(); });
    add(tr("&Lock and Close Applicant"), QKeySequence(Qt::CTRL | Qt::Key_W), [this] { lockAndClose(); });
    m_recentMenu = m_fileMenu->addMenu(tr("Open &Recent"));
    m_recentMenu->setObjectName(QStringLiteral("RecentMenu"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &ApplicantFiles::fillRecentMenu);
    m_fileMenu->addSeparator();
    add(tr("Appli&cants…"), QKeySequence(Qt::CTRL | Qt::Key_L), [this] { showApplicants(); });
    add(tr("&Decision…"), {}, [this] { decideOpenApplicant(); });
    add(tr("&Import Filled PDF…"), {}, &ApplicantFiles::onImport);
    add(tr("&Export Fillable PDF…"), {}, &ApplicantFiles::onExport);
    // The applicant's own choice, kept with the entries: the form, the fillable PDF and the letters
    // are printed in it. Each language is named in its own words, whatever the windows speak.
    QMenu *languages = m_fileMenu->addMenu(tr("Form Lan&guage"));
    languages->setObjectName(QStringLiteral("FormLanguageMenu"));
    auto *group = new QActionGroup(languages);
    for (const auto &[language, name] : {std::pair{record::FormLanguage::English, QStringLiteral("&English")},
                                         std::pair{record::FormLanguage::Spanish, QStringLiteral("E&spa\u00f1ol")}}) {
        QAction *action = languages->addAction(name);
        action->setCheckable(true);
        action->setActionGroup(group);
        action->setData(int(language));
        const record::FormLanguage chosen = language; // a lambda may not capture a structured binding in C++20
        connect(action, &QAction::triggered, this, [this, chosen] { m_record.setFormLanguage(chosen); });
    }
    // Opening, New and the next start change the language too: the menu shows it as it is now.
    connect(languages, &QMenu::aboutToShow, this, [this, languages] {
        for (QAction *action : languages->actions())
            action->setChecked(action->data().toInt() == int(m_record.formLanguage()));
    });
    m_fileMenu->addSeparator();
    add(tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { m_window->close(); });
    // The shortcuts work from the window too, not only while the menu is open.
    m_window->addActions(m_fileMenu->actions());
    // A line edit on X11 takes Ctrl+W for itself (delete the word before the cursor, as in a
    // terminal), so that Lock and Close would never reach the menu while a field has the keyboard.
    for (QLineEdit *field : m_window->findChildren<QLineEdit *>())
        field->installEventFilter(this);
    fillRecentMenu();
    updateLockActions();
}

bool ApplicantFiles::eventFilter(QObject *watched, QEvent *event)
{
    // Left unaccepted, the override lets the shortcut map give the key to the menu's action.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_W))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

void ApplicantFiles::updateLockActions()
{
    m_changePassphrase->setEnabled(isLocked());
    m_removeLock->setEnabled(isLocked());
}

void ApplicantFiles::fillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList files = m_recent.paths();
    int number = 1;
    for (const QString &file : files) {
        QString text = QFileInfo(file).fileName();
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *action = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(text));
        action->setToolTip(file);
        action->setStatusTip(file);
        connect(action, &QAction::triggered, this, [this, file] { open(file); });
    }
    m_recentMenu->setEnabled(!files.isEmpty());
}

QString ApplicantFiles::windowTitle() const
{
    const QString product = QString::fromLatin1(shell::kProductName);
    return m_file.isEmpty() ? product : product + QStringLiteral(" \u2014 ") + QFileInfo(m_file).fileName();
}

void ApplicantFiles::showTitle()
{
    m_window->setWindowTitle(windowTitle());
    updateLockActions();
}

bool ApplicantFiles::hasUnsavedEntries() const
{
    return record::userEntries(m_record.currentRecord()) != record::userEntries(m_inFile);
}

bool ApplicantFiles::mayReplaceEntries(const QString &what)
{
    if (!hasUnsavedEntries())
        return true;
    const QString where = m_file.isEmpty() ? tr("are in no applicant file")
                                           : tr("have changed since %1 was saved").arg(m_file);
    switch (runtime::messageBoxes().askSaveDiscardCancel(
        runtime::applicationTitle(),
        tr("The entries in the window %1.\r\n\r\nSave them before %2?").arg(where, what))) {
    case runtime::SaveAnswer::Save: {
        if (!m_file.isEmpty())
            return save(m_file, m_passphrase);
        const QString target = askFileName(Dialog::SaveAs);
        std::shared_ptr<const record::Passphrase> lock;
        return !target.isEmpty() && readyToSave(target, false, lock) && save(target, lock);
    }
    case runtime::SaveAnswer::Discard:
        return true;
    case runtime::SaveAnswer::Cancel:
        break;
    }
    return false;
}

bool ApplicantFiles::newApplicant()
{
    if (!mayReplaceEntries(tr("starting a new applicant")))
        return false;
    clearEntries();
    return true;
}

void ApplicantFiles::clearEntries()
{
    m_inFile = record::blankRecord();
    m_stamp = {};
    m_file.clear();
    m_passphrase.reset();
    m_held.reset();
    m_record.takeRecord(m_inFile);
    followLock();
    showTitle();
}

void ApplicantFiles::followLock(bool recordFollows)
{
    if (m_passphrase && m_held && !m_file.isEmpty())
        m_record.keepInJournal(m_file, m_held, !recordFollows);
    else
        m_record.keepInStore();
}

bool ApplicantFiles::open(const QString &path)
{
    // A file handed over by another start while a key is worked out waits for it: opened now, it
    // would replace the entries that work is about.
    if (m_working) {
        QTimer::singleShot(100, this, [this, path] { open(path); });
        return false;
    }
    // Read before asking: a file that cannot be opened costs no question and changes nothing. A
    // locked one is checked as far as it can be without its passphrase.
    QMap<QString, QString> values;
    std::shared_ptr<const record::Passphrase> passphrase;
    std::shared_ptr<const record::HeldLock> held;
    const QString what = tr("opening %1").arg(QFileInfo(path).fileName());
    // Taken before the read: a change made in between makes the next save ask, never go unseen.
    decision::FileStamp stamp;
    try {
        stamp = decision::stampOf(path);
    } catch (const base::Failure &) {
    }
    try {
        try {
            values = record::readApplicantFile(path);
        } catch (const record::UnlockFailure &failure) {
            if (failure.kind() != record::UnlockFailure::Kind::NeedsPassphrase)
                throw;
            // The entries in the window are settled before the passphrase is asked for.
            if (!mayReplaceEntries(what) || !unlock(path, path, values, passphrase, held))
                return false;
        }
    } catch (const base::Failure &failure) {
        if (!QFileInfo::exists(path)) {
            try {
                m_recent.remove(path);
            } catch (const base::Failure &) {
                // The list stays as it was; the next change writes it.
            }
        }
        warn(failure.description() + tr("\r\n\r\nThe entries in the window are unchanged."));
        return false;
    }
    if (!passphrase && !mayReplaceEntries(what))
        return false;
    m_file = QFileInfo(path).absoluteFilePath();
    m_passphrase = passphrase;
    m_held = held;
    // The recent list before the record: a program killed in between starts again with entries that
    // are the listed file's, recognised as such, never with the file's entries and an older list.
    remember(m_file);
    m_stamp = stamp;
    if (m_passphrase) {
        // The journal first, so that the store never takes the applicant.
        followLock(true);
        m_record.takeRecord(values);
    } else {
        m_record.takeRecord(values);
        followLock();
    }
    m_inFile = values;
    showTitle();
    return true;
}

bool ApplicantFiles::readCancellable(const QString &path, const std::shared_ptr<const record::Passphrase> &passphrase,
                                     QMap<QString, QString> &values, std::shared_ptr<const record::HeldLock> *held)
{
    struct Outcome {
        QMap<QString, QString> values;
        std::shared_ptr<const record::HeldLock> held;
    };
    auto outcome = std::make_shared<Outcome>();
    const QScopedValueRollback working(m_working, true);
    if (!runCancellable(m_window, tr("Unlocking %1…").arg(QFileInfo(path).fileName()),
                        [outcome, path, passphrase] {
                            outcome->values = record::readApplicantFile(path, passphrase.get(), &outcome->held);
                        }))
        return false;
    values = std::move(outcome->values);
    if (held)
        *held = std::move(outcome->held);
    return true;
}

bool ApplicantFiles::unlock(const QString &path, const QString &askedFor, QMap<QString, QString> &values,
                            std::shared_ptr<const record::Passphrase> &passphrase,
                            std::shared_ptr<const record::HeldLock> &held, bool restoring)
{
    // The passphrase held for the run opens the file if it fits; otherwise the user is asked until
    // the right one is given or they cancel.
    std::shared_ptr<const record::Passphrase> kept = m_passphrase;
    bool again = false; // the user's last passphrase did not fit
    for (;;) {
        if (kept) {
            passphrase = std::exchange(kept, nullptr);
        } else {
            const std::optional<QString> typed = restoring ? m_prompt->askToRestore(askedFor, again)
                                                           : m_prompt->askToOpen(askedFor, again);
            if (!typed)
                return false;
            passphrase = std::make_shared<const record::Passphrase>(*typed);
        }
        try {
            return readCancellable(path, passphrase, values, &held);
        } catch (const record::UnlockFailure &failure) {
            if (failure.kind() != record::UnlockFailure::Kind::WrongPassphrase)
                throw;
            again = passphrase != m_passphrase; // a held passphrase that did not fit is no mistake
        }
    }
}

bool ApplicantFiles::resumeLockedApplicant()
{
    const QString lockedFile = m_record.lockedNote();
    if (lockedFile.isEmpty())
        return false;
    const QString journal = m_record.journalPath();
    if (!QFileInfo::exists(journal)) {
        m_record.forgetLockedNote(); // the program ended before anything was kept
        return false;
    }
    QMap<QString, QString> values;
    std::shared_ptr<const record::Passphrase> passphrase;
    std::shared_ptr<const record::HeldLock> held;
    try {
        if (!mayReplaceEntries(tr("restoring the entries of %1").arg(QFileInfo(lockedFile).fileName()))
            || !unlock(journal, lockedFile, values, passphrase, held, true))
            return false; // the journal and the note stay for the next start
    } catch (const base::Failure &failure) {
        warn(tr("The entries of the locked applicant %1, kept from the last run, could not be restored.\r\n\r\n"
                            "%2\r\n\r\nThey stay in %3.")
                 .arg(lockedFile, failure.description(), journal));
        return false;
    }
    m_file = lockedFile;
    m_passphrase = passphrase;
    m_held = held;
    try {
        m_stamp = decision::stampOf(lockedFile);
    } catch (const base::Failure &) {
        m_stamp = {};
    }
    // What the file itself holds tells whether the entries are saved; a file that is gone or no longer
    // opens with this passphrase holds none of them.
    m_inFile = record::blankRecord();
    try {
        QMap<QString, QString> inFile;
        if (readCancellable(lockedFile, passphrase, inFile, nullptr))
            m_inFile = inFile;
    } catch (const base::Failure &) {
    }
    followLock(true);
    m_record.takeRecord(values);
    showTitle();
    return true;
}

bool ApplicantFiles::saveAs(const QString &path)
{
    std::shared_ptr<const record::Passphrase> lock;
    return readyToSave(path, false, lock) && save(path, lock);
}

bool ApplicantFiles::readyToSave(const QString &path, bool mustLock, std::shared_ptr<const record::Passphrase> &lock)
{
    // The store is rewritten by every keystroke and emptied by New: no applicant is safe there.
    // Refused before any question about a lock.
    if (isStore(path)) {
        warn(tr("The applicant could not be saved as %1: it is the settings file the window's entries are "
                            "kept in. Choose another name.\r\n\r\nThe entries are still in the window.")
                 .arg(path));
        return false;
    }
    // Saving the open locked file again keeps its lock without asking.
    if (m_passphrase && !m_file.isEmpty() && QFileInfo(path).absoluteFilePath() == m_file) {
        lock = m_passphrase;
        return true;
    }
    if (!mustLock) {
        const int answer = runtime::messageBoxes().askChoice(
            runtime::applicationTitle(),
            tr("Lock %1 with a passphrase? A locked file can be opened only with the passphrase, so that a "
                           "lost or shared copy does not give away the applicant's SSN and date of birth.")
                .arg(QFileInfo(path).fileName()),
            {tr("&Lock with a Passphrase…"), tr("Save &Without Lock"), tr("Cancel")},
            m_passphrase ? 0 : 1, 2);
        if (answer == 1) {
            lock.reset();
            return true;
        }
        if (answer != 0)
            return false;
    }
    lock = askNewPassphrase(path);
    return lock != nullptr;
}

std::shared_ptr<const record::Passphrase> ApplicantFiles::askNewPassphrase(const QString &path)
{
    const std::optional<QString> typed = m_prompt->askNew(path);
    // The dialog refuses an empty one; a prompt that gives one anyway locks nothing.
    if (!typed || typed->isEmpty())
        return nullptr;
    return std::make_shared<const record::Passphrase>(*typed);
}

void ApplicantFiles::recogniseLastFile()
{
    // A blank record is in no danger and names no applicant: the title stays the program's alone.
    if (!hasUnsavedEntries())
        return;
    const QStringList recent = m_recent.paths();
    if (recent.isEmpty())
        return;
    QMap<QString, QString> values;
    try {
        values = record::readApplicantFile(recent.constFirst());
    } catch (const base::Failure &) {
        return; // then the fields are in no file that is known; Open tells why a file cannot be read
    }
    if (record::userEntries(values) != record::userEntries(m_record.currentRecord()))
        return;
    m_inFile = values;
    m_file = QFileInfo(recent.constFirst()).absoluteFilePath();
    showTitle();
}

bool ApplicantFiles::save(const QString &path, std::shared_ptr<const record::Passphrase> lock)
{
    if (!m_file.isEmpty() && QFileInfo(path).absoluteFilePath() == m_file && changedOnDisk()) {
        switch (runtime::messageBoxes().askChoice(
            runtime::applicationTitle(),
            tr("%1 was changed on disk since it was opened here: by another program, by someone else on a "
                           "shared folder, or by a decision written from the Applicants window.\r\n\r\nReload it "
                           "(the entries in the window give way to the file's), save the entries under another name, "
                           "or replace the file's entries with the window's? A decision in the file is kept either way.")
                .arg(QFileInfo(path).fileName()),
            {tr("&Reload"), tr("Save &As…"), tr("Re&place"), tr("Cancel")},
            1, 3)) {
        case 0: {
            const QString file = m_file;
            const QMap<QString, QString> inFile = std::exchange(m_inFile, m_record.currentRecord()); // the user lets them go
            if (!open(file))
                m_inFile = inFile;
            return false;
        }
        case 1: {
            const QString other = askFileName(Dialog::SaveAs);
            return !other.isEmpty() && QFileInfo(other).absoluteFilePath() != m_file && readyToSave(other, lock != nullptr, lock)
                && save(other, lock);
        }
        case 2:
            break;
        default:
            return false;
        }
    }
    const QMap<QString, QString> values = m_record.currentRecord();
    auto held = std::make_shared<std::shared_ptr<const record::HeldLock>>();
    const QScopedValueRollback working(m_working, true);
    try {
        if (lock) {
            // Locking works out a key: the window keeps painting meanwhile.
            runToEnd(m_window, tr("Locking %1…").arg(QFileInfo(path).fileName()),
                     [path, values, lock, cost = m_lockCost, held] {
                         record::writeApplicantFile(path, values, lock.get(), cost, nullptr, held.get());
                     });
        } else {
            record::writeApplicantFile(path, values);
        }
    } catch (const base::Failure &failure) {
        warn(failure.description() + tr("\r\n\r\nThe entries are still in the window."));
        return false;
    }
    m_inFile = values;
    m_file = QFileInfo(path).absoluteFilePath();
    try {
        m_stamp = decision::stampOf(m_file);
    } catch (const base::Failure &) {
        m_stamp = {};
    }
    m_passphrase = std::move(lock);
    m_held = m_passphrase ? *held : nullptr;
    followLock();
    showTitle();
    remember(m_file);
    return true;
}

bool ApplicantFiles::changedOnDisk() const
{
    if (!m_stamp.exists())
        return false; // nothing was read from it here to compare with
    try {
        return decision::changedSince(m_file, m_stamp);
    } catch (const base::Failure &) {
        return true; // it cannot be read to tell: ask rather than overwrite unseen
    }
}

bool ApplicantFiles::isStore(const QString &path) const
{
    struct stat chosen {};
    struct stat store {};
    const QString storePath = m_record.store().filePath();
    if (::stat(QFile::encodeName(path).constData(), &chosen) == 0
        && ::stat(QFile::encodeName(storePath).constData(), &store) == 0)
        return chosen.st_dev == store.st_dev && chosen.st_ino == store.st_ino;
    try {
        return base::finalLinkTarget(path) == base::finalLinkTarget(storePath);
    } catch (const base::Failure &) {
        return false;
    }
}

void ApplicantFiles::remember(const QString &path)
{
    try {
        m_recent.add(path);
    } catch (const base::Failure &failure) {
        // The list of recent files is a convenience: its failure does not stop the work.
        std::fprintf(stderr, "%s\n", qPrintable(failure.description()));
    }
    fillRecentMenu();
}

bool ApplicantFiles::importFilledPdf(const QString &path)
{
    if (!m_importPdf)
        return false;
    pdfform::FilledValues imported;
    try {
        imported = m_importPdf(path);
    } catch (const base::Failure &failure) {
        warn(tr("The PDF %1 could not be imported: %2\r\n\r\nThe entries in the window are unchanged.")
                 .arg(path, failure.description()));
        return false;
    }
    if (!mayReplaceEntries(tr("importing %1").arg(QFileInfo(path).fileName())))
        return false;
    m_record.takeRecord(record::recordOfImport(imported.values));
    // What came from the PDF is in no applicant file yet.
    m_file.clear();
    m_passphrase.reset();
    m_held.reset();
    followLock();
    m_inFile = record::blankRecord();
    showTitle();
    // The fields the applicant filled in by name; the ones left empty only by their number.
    QStringList filled;
    for (const QString &key : imported.taken)
        if (!imported.values.value(key).isEmpty())
            filled.append(mainwindow::fieldTitle(key));
    QString report = tr("From %1:\r\n\r\n").arg(path);
    report += filled.isEmpty() ? tr("No field was filled in.")
                               : tr("Filled in (%1): %2.").arg(filled.size()).arg(filled.join(QStringLiteral("; ")));
    if (const qsizetype empty = imported.taken.size() - filled.size(); empty > 0)
        report += tr("\r\n%1 more fields were taken empty.").arg(empty);
    if (!imported.refused.empty()) {
        report += tr("\r\n\r\nNot taken (%1):").arg(imported.refused.size());
        for (const auto &[name, reason] : imported.refused)
            report += tr("\r\n%1: %2").arg(mainwindow::fieldTitle(name), reason);
    }
    runtime::messageBoxes().inform(runtime::applicationTitle(), report,
                                 imported.refused.empty() ? runtime::BoxIcon::None : runtime::BoxIcon::Warning);
    return true;
}

bool ApplicantFiles::exportFillablePdf(const QString &target, bool withValues)
{
    if (!m_exportPdf)
        return false;
    if (withValues && isLocked()
        && runtime::messageBoxes().askYesNo(
               runtime::applicationTitle(),
               tr("%1 is locked, but the PDF will not be: whoever gets it can read the applicant's SSN and "
                              "date of birth.\r\n\r\nExport it with the values anyway?")
                   .arg(QFileInfo(m_file).fileName()),
               runtime::BoxAnswer::No)
            != runtime::BoxAnswer::Yes)
        return false;
    try {
        m_exportPdf(withValues ? &m_fields : nullptr, m_fields.formLanguage(), target);
    } catch (const base::Failure &failure) {
        warn(tr("The fillable PDF could not be saved: %1").arg(failure.description()));
        return false;
    }
    runtime::messageBoxes().inform(runtime::applicationTitle(),
                                 tr("The fillable form was saved to %1.").arg(target),
                                 runtime::BoxIcon::None);
    return true;
}

void ApplicantFiles::showApplicants(const QString &folder)
{
    if (!m_applicants) {
        m_applicants = new ApplicantsWindow(
            [this](const QString &path) {
                // The main window shows the applicant; it comes to the front for that.
                if (open(path)) {
                    m_window->raise();
                    m_window->activateWindow();
                }
            },
            compare::ComparisonSettings(), m_window);
    }
    if (!folder.isEmpty() || m_applicants->folder().isEmpty())
        m_applicants->showFolder(folder);
    m_applicants->show();
    m_applicants->raise();
    m_applicants->activateWindow();
}

bool ApplicantFiles::decideOpenApplicant()
{
    // The decision lives in the applicant's file, beside the entries: there must be one.
    if (m_file.isEmpty()) {
        warn(tr("The entries are in no applicant file yet. Save them with Save Applicant As… first: the decision is "
                "kept in the applicant's file."));
        return false;
    }
    showApplicants(QFileInfo(m_file).absolutePath());
    m_applicants->decide(m_file);
    // Only the decision's section changed when the entries the file holds are still the ones read
    // here: the next save then need not ask about a change on disk that was this window's own.
    if (!isLocked()) {
        try {
            if (record::readApplicantFile(m_file) == m_inFile)
                m_stamp = decision::stampOf(m_file);
        } catch (const base::Failure &) {
        }
    }
    return true;
}

bool ApplicantFiles::changePassphrase()
{
    if (!isLocked() || m_file.isEmpty())
        return false;
    const std::optional<QString> typed = m_prompt->askChanged(m_file);
    if (!typed || typed->isEmpty())
        return false;
    const auto next = std::make_shared<const record::Passphrase>(*typed);
    std::shared_ptr<const record::HeldLock> held;
    if (!relock(next, tr("The file keeps its old passphrase."), &held))
        return false;
    m_passphrase = next;
    m_held = held;
    followLock(); // the journal follows: the old passphrase opens nothing any more
    runtime::messageBoxes().inform(runtime::applicationTitle(),
                                   tr("The passphrase of %1 was changed. Only the new one opens it now.")
                                       .arg(QFileInfo(m_file).fileName()),
                                   runtime::BoxIcon::None);
    return true;
}

bool ApplicantFiles::relock(std::shared_ptr<const record::Passphrase> next, const QString &whatStays,
                            std::shared_ptr<const record::HeldLock> *held)
{
    auto relocked = std::make_shared<std::shared_ptr<const record::HeldLock>>();
    const QScopedValueRollback working(m_working, true);
    try {
        // The file as it is, not the window's entries: only its lock changes. Two keys are worked
        // out, off the window's thread.
        runToEnd(m_window, tr("Locking %1 anew…").arg(QFileInfo(m_file).fileName()),
                 [file = m_file, current = m_passphrase, next, cost = m_lockCost, relocked] {
                     // The file's other sections (the decision) are kept: the file opens with the current passphrase.
                     record::writeApplicantFile(file, record::readApplicantFile(file, current.get()), next.get(), cost,
                                                current.get(), relocked.get());
                 });
    } catch (const base::Failure &failure) {
        warn(failure.description() + QStringLiteral("\r\n\r\n") + whatStays);
        return false;
    }
    if (held)
        *held = *relocked;
    return true;
}

bool ApplicantFiles::removeLock()
{
    if (!isLocked() || m_file.isEmpty())
        return false;
    if (runtime::messageBoxes().askYesNo(runtime::applicationTitle(),
                                       tr("Remove the lock from %1? Whoever gets the file can then read the "
                                                      "applicant's SSN and date of birth.")
                                           .arg(QFileInfo(m_file).fileName()),
                                       runtime::BoxAnswer::No)
        != runtime::BoxAnswer::Yes)
        return false;
    if (!relock(nullptr, tr("The file stays locked."), nullptr))
        return false;
    m_passphrase.reset();
    m_held.reset();
    followLock(); // a plain file's entries are kept as plain ones are
    showTitle();
    return true;
}

bool ApplicantFiles::lockAndClose()
{
    QString target = m_file;
    std::shared_ptr<const record::Passphrase> lock = m_passphrase;
    if (target.isEmpty())
        target = askFileName(Dialog::SaveAs);
    if (target.isEmpty())
        return false;
    if (!lock && !readyToSave(target, true, lock))
        return false;
    if (!save(target, lock))
        return false;
    // The fields, and so the store, hold nothing of the applicant any more; the passphrase goes.
    clearEntries();
    offerToDestroyStoreBackups();
    return true;
}

void ApplicantFiles::offerToDestroyStoreBackups()
{
    const QStringList backups = m_record.store().backups();
    if (backups.isEmpty())
        return;
    if (runtime::messageBoxes().askYesNo(
            runtime::applicationTitle(),
            tr("The settings file was copied before the program rewrote it, because it had been edited by "
                           "hand. These copies may hold applicants' SSNs and dates of birth in plain text:\r\n\r\n%1"
                           "\r\n\r\nDestroy them? Their contents are overwritten before they are removed.")
                .arg(backups.join(QStringLiteral("\r\n"))),
            runtime::BoxAnswer::No)
        != runtime::BoxAnswer::Yes)
        return;
    QStringList failures;
    for (const QString &backup : backups) {
        try {
            record::SettingsStore::destroyBackup(backup);
        } catch (const base::Failure &failure) {
            failures.append(failure.description());
        }
    }
    if (!failures.isEmpty())
        warn(failures.join(QStringLiteral("\r\n")));
}

void ApplicantFiles::onOpen()
{
    const QString path = askFileName(Dialog::Open);
    if (!path.isEmpty())
        open(path);
}

void ApplicantFiles::onSaveAs()
{
    const QString path = askFileName(Dialog::SaveAs);
    if (!path.isEmpty())
        saveAs(path);
}

void ApplicantFiles::onImport()
{
    const QString path = askFileName(Dialog::ImportPdf);
    if (!path.isEmpty())
        importFilledPdf(path);
}

void ApplicantFiles::onExport()
{
    const int answer = runtime::messageBoxes().askChoice(
        runtime::applicationTitle(),
        tr("Export the fillable form blank, for an applicant to fill in, or holding the values in the "
                       "window?"),
        {tr("Blank"), tr("With Current Values"), tr("Cancel")}, 0, 2);
    if (answer != 0 && answer != 1)
        return;
    const QString target = askFileName(Dialog::ExportPdf);
    if (!target.isEmpty())
        exportFillablePdf(target, answer == 1);
}

QString ApplicantFiles::startFolder()
{
    if (!m_file.isEmpty())
        return QFileInfo(m_file).absolutePath();
    const QStringList recent = m_recent.paths();
    return recent.isEmpty() ? QDir::homePath() : QFileInfo(recent.constFirst()).absolutePath();
}

QString ApplicantFiles::askFileName(Dialog dialog)
{
    const QString folder = startFolder();
    return m_askFileName ? m_askFileName(dialog, folder) : fileDialog(m_window, dialog, folder);
}

} // namespace entry
