#pragma once
#include "pdfform/FormLayer.h"
#include "PassphrasePrompt.h"
#include "RecentFiles.h"
#include "decision/DecisionFile.h"
#include "record/FormLanguage.h"
#include "record/LockedFile.h"

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace record {
class RecordValues;
}

namespace entry {

class RecordPersistence;

// The main window's File menu: applicants kept as files of their own (New, Open, Save As, Open
// Recent), locked with a passphrase if the user wants (Change Passphrase, Remove Lock, Lock and Close
// Applicant), the fillable PDF's export and a filled one's import, and Quit. The fields always hold
// one record, which the store follows as when typing; this knows which applicant file, if any, holds
// what the fields show, and asks before entries that are in no applicant file are replaced.
class ApplicantFiles final : public QObject {
    Q_OBJECT
public:
    enum class Dialog { Open, SaveAs, ImportPdf, ExportPdf };
    // The file the user chose in the dialog, or empty when they cancelled it.
    using AskFileName = std::function<QString(Dialog, const QString &startIn)>;
    // The record's values (null: blank fields) in the applicant's form language.
    using ExportPdf =
        std::function<void(const record::RecordValues *record, record::FormLanguage language, const QString &target)>;
    using ImportPdf = std::function<pdfform::FilledValues(const QString &path)>;

    ApplicantFiles(QWidget *window, const record::RecordValues &fields, RecordPersistence &record,
                   RecentFiles recent = RecentFiles());

    QMenuBar *menuBar() const { return m_menuBar; }
    QMenu *fileMenu() const { return m_fileMenu; }

    // The program's name, and after it the open applicant file's name, if any.
    QString windowTitle() const;
    void showTitle();
    const QString &openFile() const { return m_file; }

    // Whether the fields hold entries that are in no applicant file: changed since the file was
    // opened or saved, or, with none open, anything but a blank record.
    bool hasUnsavedEntries() const;
    // Asks Save / Don't Save / Cancel when there are such entries, before `what` ("opening another
    // applicant"); true when the entries were saved or may go.
    bool mayReplaceEntries(const QString &what);

    // The menu's commands without their dialogs; each asks first where the menu would, tells the
    // user what failed, and is true when it was done.
    bool newApplicant();
    bool open(const QString &path);
    bool saveAs(const QString &path);
    bool importFilledPdf(const QString &path);
    bool exportFillablePdf(const QString &target, bool withValues);
    // The open file locked again with a new passphrase, or saved without a lock.
    // The decision on the open applicant, made in the Applicants window's dialog for its file.
    bool decideOpenApplicant();
    bool changePassphrase();
    bool removeLock();
    // Saves the entries to the open file locked (asking for a file and a passphrase when there is
    // none, or it is not locked), then empties the fields, and with them the store, and forgets the
    // passphrase: nothing of the applicant is left in plain text in any file the program keeps. The
    // store's dated backups, which may hold applicants, are named and offered for destruction.
    bool lockAndClose();
    // The Applicants window, made at its first use, showing the folder (the last one when empty).
    void showApplicants(const QString &folder = QString());
    class ApplicantsWindow *applicantsWindow() const { return m_applicants; }

    // Whether the open file is locked (its passphrase is held for the run).
    bool isLocked() const { return m_passphrase != nullptr; }

    // At start-up, when the store notes that a locked applicant was open at the end of the last run:
    // asks for its passphrase and restores the entries its journal keeps. Cancelled, the window starts
    // empty and the journal stays for the next start. True when the entries came back.
    bool resumeLockedApplicant();

    // At start-up: when the fields hold exactly what the applicant file used last holds, that file
    // is the open one (the store kept it from the last run), so that quitting asks nothing.
    void recogniseLastFile();

    void setAskFileName(AskFileName ask) { m_askFileName = std::move(ask); }
    // The prompt for passphrases; the window's dialogs unless a test gives its own (not owned).
    void setPassphrasePrompt(PassphrasePrompt *prompt) { m_prompt = prompt; }
    // How hard new locks make guessing; tests lower it to save time.
    void setLockCost(const record::LockCost &cost) { m_lockCost = cost; }
    void setPdfForms(ExportPdf exportPdf, ImportPdf importPdf)
    {
        m_exportPdf = std::move(exportPdf);
        m_importPdf = std::move(importPdf);
    }
    RecentFiles &recent() { return m_recent; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Rewrites the open file with another lock (none for null): the file as it is, not the window's
    // entries. Tells the user why and what stays when it fails.
    bool relock(std::shared_ptr<const record::Passphrase> next, const QString &whatStays,
                std::shared_ptr<const record::HeldLock> *held);
    // The store or the journal, as the open file is locked or not, takes the entries from now on;
    // with `recordFollows`, a takeRecord is next and writes the journal.
    void followLock(bool recordFollows = false);
    // Offers to destroy the dated backups of the store, which may hold applicants in plain text.
    void offerToDestroyStoreBackups();
    void buildMenu();
    void fillRecentMenu();
    void onOpen();
    void onSaveAs();
    void onImport();
    void onExport();
    bool save(const QString &path, std::shared_ptr<const record::Passphrase> lock);
    // Reads the file off the window's thread while the user may cancel; false when they did.
    bool readCancellable(const QString &path, const std::shared_ptr<const record::Passphrase> &passphrase,
                         QMap<QString, QString> &values, std::shared_ptr<const record::HeldLock> *held);
    // Whether a save to `path` may go ahead, and with what lock: the store is refused (and the user
    // told); the open locked file keeps its passphrase; otherwise the user chooses, or must lock.
    // False when refused or cancelled.
    bool readyToSave(const QString &path, bool mustLock, std::shared_ptr<const record::Passphrase> &lock);
    // Opens a locked file: with the passphrase held for the run if it fits, otherwise as the user
    // types it, asked as the passphrase of `askedFor` (whose entries are `restoring` from the last run).
    // The file is read off the window's thread. False when the user cancelled; throws base::Failure
    // for anything but a wrong passphrase.
    bool unlock(const QString &path, const QString &askedFor, QMap<QString, QString> &values,
                std::shared_ptr<const record::Passphrase> &passphrase, std::shared_ptr<const record::HeldLock> &held,
                bool restoring = false);
    // The fields blank (the hidden rows aside), no file open, no passphrase held.
    void clearEntries();
    std::shared_ptr<const record::Passphrase> askNewPassphrase(const QString &path);
    void updateLockActions();
    bool isStore(const QString &path) const; // the settings store itself, under any name
    // Whether the open file changed on disk since it was read or written here (size, time, content).
    bool changedOnDisk() const;
    void remember(const QString &path);
    QString askFileName(Dialog dialog);
    QString startFolder();

    QWidget *m_window;
    const record::RecordValues &m_fields;
    RecordPersistence &m_record;
    RecentFiles m_recent;
    QMenuBar *m_menuBar = nullptr;
    QMenu *m_fileMenu = nullptr;
    QMenu *m_recentMenu = nullptr;
    QString m_file;                  // the open applicant file, or empty
    QMap<QString, QString> m_inFile; // the record as that file holds it (blank with none open)
    decision::FileStamp m_stamp;     // that file as it was read or written here
    AskFileName m_askFileName;
    ExportPdf m_exportPdf;
    ImportPdf m_importPdf;
    DialogPassphrasePrompt m_dialogPrompt;
    PassphrasePrompt *m_prompt = &m_dialogPrompt;
    record::LockCost m_lockCost;
    std::shared_ptr<const record::Passphrase> m_passphrase; // of the open file, when it is locked
    std::shared_ptr<const record::HeldLock> m_held;         // its lock, for the journal
    bool m_working = false; // a key is being worked out under the dialog
    class ApplicantsWindow *m_applicants = nullptr;
    QAction *m_changePassphrase = nullptr;
    QAction *m_removeLock = nullptr;
};

} // namespace entry
