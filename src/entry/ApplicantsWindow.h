#pragma once
#include "compare/ApplicantList.h"
#include "compare/ComparisonModel.h"
#include "compare/ComparisonSettings.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <memory>

class QBoxLayout;
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
// files come, change and go, and as the folder itself goes and comes back.
class ApplicantsWindow final : public QWidget {
    Q_OBJECT
public:
    using OpenApplicant = std::function<void(const QString &path)>;
    // Where an export goes, or empty when the user cancelled; tests answer it.
    using AskExportPath = std::function<QString(const QString &filter, const QString &suggested)>;

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
    QList<compare::ApplicantRow> shownRows() const;

    OpenApplicant m_open;
    compare::ComparisonSettings m_settings;
    AskExportPath m_askExportPath;
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
    QTableView *m_table = nullptr;
    compare::ComparisonModel *m_model = nullptr;
    QSortFilterProxyModel *m_proxy = nullptr;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_relistTimer = nullptr;
};

} // namespace entry
