#pragma once
#include "compare/ApplicantList.h"
#include "compare/ComparisonModel.h"
#include "compare/ComparisonSettings.h"
#include "decision/DecisionFile.h"
#include "PassphrasePrompt.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QBoxLayout;
class QDialog;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTimer;

namespace entry {

// The landlord's decision: every applicant file of a vacancy's folder in one table, with the
// income-to-rent multiple, sortable and filterable, exported as PDF or CSV. The SSN and date of birth
// are never shown. The folder is listed on a thread of its own, so that a slow or vanished mount
// never holds the window, and its rows go into the table at once; the list follows the folder as
// files come, change and go, and as the folder itself goes and comes back. From here the landlord
// records each decision, saves the letters and disposes of the files whose time is up.
class ApplicantsWindow final : public QWidget {
    Q_OBJECT
public:
    using OpenApplicant = std::function<void(const QString &path)>;
    // Where an export goes, or empty when the user cancelled; tests answer it.
    using AskExportPath = std::function<QString(const QString &filter, const QString &suggested)>;
    // Runs a dialog of the window's (the decision, the vacancy, the letters, the disposal) and
    // returns its result; tests answer it.
    using RunDialog = std::function<int(QDialog &dialog)>;

    ApplicantsWindow(OpenApplicant open, compare::ComparisonSettings settings = compare::ComparisonSettings(),
                     QWidget *parent = nullptr);
    ~ApplicantsWindow() override;

    // Shows the folder's applicants (the one shown last when empty).
    void showFolder(const QString &folder);
    const QString &folder() const { return m_folder; }
    // Whether a listing of the folder is still under way.
    bool isListing() const { return m_listing; }

    void setAskExportPath(AskExportPath ask) { m_askExportPath = std::move(ask); }
    bool exportPdf(const QString &target);
    bool exportCsv(const QString &target);

    void setRunDialog(RunDialog run) { m_runDialog = std::move(run); }
    void setPassphrasePrompt(std::unique_ptr<PassphrasePrompt> prompt) { m_prompt = std::move(prompt); }
    // The decision on an applicant file, its letters, the folder's particulars, and the disposal of
    // the files whose time is up: each asks in a dialog and leaves the work to the decision layer.
    void decide(const QString &path);
    void writeLetters(const QString &path);
    void editVacancy();
    void disposeExpired();
    // The file of the row chosen in the table, or empty.
    QString chosenPath() const;

    // For tests and accessibility checks: the table as the user sees it (filtered and sorted).
    QTableView *table() const { return m_table; }
    QLineEdit *filterField() const { return m_filter; }
    QLineEdit *rentField() const { return m_rent; }
    QLineEdit *minimumField() const { return m_minimum; }
    // Why the rent or the minimum typed is refused, as the window shows it, or empty.
    QString shownTermsProblem() const;
    QString statusText() const;
    compare::Terms terms() const;

signals:
    // A listing of the folder has been taken into the table.
    void listed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void build();
    void chooseFolder();
    void relist();
    void takeRows(const QString &folder, QList<compare::ApplicantRow> rows, const QString &problem);
    void watch(bool folderListed);
    void applyTerms();
    QString termsProblem() const;
    void sayTermsProblem();
    void saveTerms();
    void showCount();
    void openRow(const QModelIndex &index);
    void saveSettings();
    QString askExportPath(const QString &filter, const QString &suffix);
    QString askSavePath(const QString &title, const QString &filter, const QString &suffix, const QString &suggested);
    void showLetters(const QString &path, const decision::ApplicantReading &reading);
    QList<compare::ApplicantRow> shownRows() const;
    void showRowMenu(const QPoint &at);
    int runDialog(QDialog &dialog);
    // An applicant file read for a decision or a letter, with the passphrase that opened it.
    struct Opened {
        decision::ApplicantReading reading;
        std::unique_ptr<record::Passphrase> passphrase;
    };
    std::optional<Opened> openApplicant(const QString &path);
    void warn(const QString &text);
    // Runs the work on a thread of its own while the window waits; false when the user stopped
    // waiting (only when `mayGiveUp`).
    bool waitOffThread(const QString &doing, std::function<void()> work, bool mayGiveUp);

    OpenApplicant m_open;
    compare::ComparisonSettings m_settings;
    AskExportPath m_askExportPath;
    RunDialog m_runDialog;
    std::unique_ptr<PassphrasePrompt> m_prompt;
    QString m_folder;
    QString m_listingProblem;
    double m_minimumInForce = 3; // the last minimum typed that could be taken
    bool m_listing = false;
    bool m_relistWaiting = false;
    bool m_headerRestored = false;
    std::shared_ptr<int> m_generation; // the listing whose rows are wanted; a finished older one is dropped

    QLabel *m_folderLabel = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_termsProblem = nullptr;
    QBoxLayout *m_controls = nullptr;
    QLineEdit *m_rent = nullptr;
    QLineEdit *m_minimum = nullptr;
    QLineEdit *m_filter = nullptr;
    QPushButton *m_decide = nullptr;
    QPushButton *m_letters = nullptr;
    QTableView *m_table = nullptr;
    compare::ComparisonModel *m_model = nullptr;
    QSortFilterProxyModel *m_proxy = nullptr;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_relistTimer = nullptr;
};

} // namespace entry
