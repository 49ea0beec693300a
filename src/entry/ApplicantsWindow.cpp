#include "ApplicantsWindow.h"

#include "base/Failure.h"
#include "compare/ComparisonExport.h"
#include "compare/IncomeReading.h"
#include "DecisionDialog.h"
#include "DisposalDialog.h"
#include "LetterDialog.h"
#include "VacancyDialog.h"
#include "decision/DecisionRows.h"
#include "decision/Disposal.h"
#include "decision/Letters.h"
#include "runtime/MessageBoxes.h"
#include "shell/DialogFit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QItemSelectionModel>
#include <QResizeEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QEventLoop>
#include <QProgressDialog>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <utility>

namespace entry {
namespace {

using compare::ApplicantRow;
using compare::Column;

using compare::ComparisonModel;

// inotify watches are a per-user resource: past this many files the folder's own watch, which sees
// files come and go and every save (saves rename a new file into place), is enough.
constexpr int kMostWatchedFiles = 500;
// The rows measured for the columns' first widths: a folder of thousands would be measured whole.
constexpr int kRowsMeasured = 200;

// Sorts numbers as numbers and dates as dates, by the sort keys the model made once per row.
class ComparisonProxy final : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override
    {
        const QVariant a = left.data(ComparisonModel::SortRole), b = right.data(ComparisonModel::SortRole);
        if (a.typeId() == QMetaType::Double && b.typeId() == QMetaType::Double)
            return a.toDouble() < b.toDouble();
        if (a.typeId() == QMetaType::QDateTime && b.typeId() == QMetaType::QDateTime)
            return a.toDateTime() < b.toDateTime();
        return QString::localeAwareCompare(a.toString(), b.toString()) < 0;
    }
};

} // namespace

ApplicantsWindow::ApplicantsWindow(OpenApplicant open, compare::ComparisonSettings settings, QWidget *parent)
    : QWidget(parent, Qt::Window), m_open(std::move(open)), m_settings(std::move(settings)),
      m_prompt(std::make_unique<DialogPassphrasePrompt>(this)), m_generation(std::make_shared<int>(0))
{
    setObjectName(QStringLiteral("ApplicantsWindow"));
    setWindowTitle(tr("Applicants — Tenvoria"));
    setAccessibleName(tr("Applicants"));
    build();
    // The size it had, within the screen it opens on and leaving room for the frame and title bar:
    // a 1024 x 768 screen at twice the scale has room for about 496 x 336 of it.
    const QRect screen = (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                            : QRect(0, 0, 1024, 768));
    const QSize room = screen.size() - QSize(16, 48);
    if (!restoreGeometry(m_settings.value(QStringLiteral("Geometry"))))
        resize(QSize(1000, 560).boundedTo(room));
    if (width() > room.width() || height() > room.height())
        resize(size().boundedTo(room));
    // "Columns", not the "Header" of the order before the figures moved next to the names.
    m_headerRestored = m_table->horizontalHeader()->restoreState(m_settings.value(QStringLiteral("Columns")));
}

ApplicantsWindow::~ApplicantsWindow()
{
    ++*m_generation;
    // QWidget's destructor closes the window, and the field losing the focus then would save
    // terms into settings already destroyed.
    for (QObject *sender : std::initializer_list<QObject *>{m_rent, m_minimum, m_filter, m_proxy, m_watcher, m_relistTimer})
        sender->disconnect(this);
}

void ApplicantsWindow::build()
{
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("Folder"));
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_folderLabel->setMinimumWidth(80);
    auto *choose = new QPushButton(tr("C&hoose Folder…"), this);
    connect(choose, &QPushButton::clicked, this, &ApplicantsWindow::chooseFolder);
    top->addWidget(m_folderLabel, 1);
    top->addWidget(choose);
    layout->addLayout(top);

    auto *terms = new QHBoxLayout;
    m_rent = new QLineEdit(this);
    m_rent->setObjectName(QStringLiteral("Rent"));
    m_rent->setAccessibleName(tr("Monthly rent"));
    m_rent->setPlaceholderText(tr("e.g. 1,450"));
    m_rent->setMaximumWidth(120);
    auto *rentLabel = new QLabel(tr("Monthly &rent:"), this);
    rentLabel->setBuddy(m_rent);
    // A line, not a spin box: a spin box changes what is typed (0 to its least, 2.97 to 2.9)
    // without a word; this one keeps it and says why it cannot be taken.
    m_minimum = new QLineEdit(QStringLiteral("3"), this);
    m_minimum->setObjectName(QStringLiteral("Minimum"));
    m_minimum->setAccessibleName(tr("Minimum income multiple"));
    m_minimum->setMaximumWidth(60);
    auto *minimumLabel = new QLabel(tr("&Minimum income:"), this);
    minimumLabel->setBuddy(m_minimum);
    auto *timesRent = new QLabel(tr("× rent"), this);
    terms->addWidget(rentLabel);
    terms->addWidget(m_rent);
    terms->addSpacing(8);
    terms->addWidget(minimumLabel);
    terms->addWidget(m_minimum);
    terms->addWidget(timesRent);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("Filter"));
    m_filter->setAccessibleName(tr("Filter the applicants"));
    m_filter->setPlaceholderText(tr("Filter"));
    m_filter->setClearButtonEnabled(true);
    auto *filterLabel = new QLabel(tr("&Filter:"), this);
    filterLabel->setBuddy(m_filter);
    auto *filter = new QHBoxLayout;
    filter->addWidget(filterLabel);
    filter->addWidget(m_filter, 1);
    // The filter goes below the terms when the window is too narrow for both on a line (a small
    // screen, a large scale): resizeEvent turns the direction.
    m_controls = new QBoxLayout(QBoxLayout::LeftToRight);
    m_controls->addLayout(terms);
    m_controls->addSpacing(12);
    m_controls->addLayout(filter, 1);
    layout->addLayout(m_controls);
    m_termsProblem = new QLabel(this);
    m_termsProblem->setObjectName(QStringLiteral("TermsProblem"));
    m_termsProblem->setWordWrap(true);
    m_termsProblem->setStyleSheet(QStringLiteral("color: #801010"));
    m_termsProblem->hide();
    layout->addWidget(m_termsProblem);

    m_model = new ComparisonModel(this);
    m_proxy = new ComparisonProxy(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setFilterKeyColumn(-1);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("Applicants"));
    m_table->setAccessibleName(tr("Applicants of the folder"));
    m_table->setModel(m_proxy);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(int(Column::Multiple), Qt::DescendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false); // Tab leaves the table for the buttons, as everywhere else
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionsMovable(true);
    m_table->horizontalHeader()->setDefaultSectionSize(110);
    m_table->horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(m_table, 1);
    connect(m_table, &QTableView::activated, this, &ApplicantsWindow::openRow); // double click, Enter
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_table, &QTableView::customContextMenuRequested, this, &ApplicantsWindow::showRowMenu);

    auto *decisions = new QHBoxLayout;
    m_decide = new QPushButton(tr("&Decision…"), this);
    m_decide->setObjectName(QStringLiteral("Decide"));
    m_letters = new QPushButton(tr("Le&tters…"), this);
    m_letters->setObjectName(QStringLiteral("Letters"));
    auto *vacancy = new QPushButton(tr("&Vacancy…"), this);
    vacancy->setObjectName(QStringLiteral("Vacancy"));
    auto *dispose = new QPushButton(tr("Dispose of E&xpired Applications…"), this);
    dispose->setObjectName(QStringLiteral("Dispose"));
    decisions->addWidget(m_decide);
    decisions->addWidget(m_letters);
    decisions->addStretch(1);
    decisions->addWidget(vacancy);
    decisions->addWidget(dispose);
    layout->addLayout(decisions);
    connect(m_decide, &QPushButton::clicked, this, [this] { decide(chosenPath()); });
    connect(m_letters, &QPushButton::clicked, this, [this] { writeLetters(chosenPath()); });
    connect(vacancy, &QPushButton::clicked, this, &ApplicantsWindow::editVacancy);
    connect(dispose, &QPushButton::clicked, this, &ApplicantsWindow::disposeExpired);

    auto *bottom = new QHBoxLayout;
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Status"));
    m_status->setWordWrap(true);
    auto *pdf = new QPushButton(tr("Export &PDF…"), this);
    auto *csv = new QPushButton(tr("Export &CSV…"), this);
    auto *close = new QPushButton(tr("Close"), this);
    bottom->addWidget(m_status, 1);
    bottom->addWidget(pdf);
    bottom->addWidget(csv);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    connect(pdf, &QPushButton::clicked, this, [this] {
        const QString target = askExportPath(QStringLiteral("PDF Files (*.pdf)"), QStringLiteral("pdf"));
        if (!target.isEmpty())
            exportPdf(target);
    });
    connect(csv, &QPushButton::clicked, this, [this] {
        const QString target = askExportPath(QStringLiteral("CSV Files (*.csv)"), QStringLiteral("csv"));
        if (!target.isEmpty())
            exportCsv(target);
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    connect(m_filter, &QLineEdit::textChanged, m_proxy, &QSortFilterProxyModel::setFilterFixedString);
    for (const auto changed : {&QSortFilterProxyModel::rowsInserted, &QSortFilterProxyModel::rowsRemoved})
        connect(m_proxy, changed, this, &ApplicantsWindow::showCount);
    connect(m_proxy, &QSortFilterProxyModel::modelReset, this, &ApplicantsWindow::showCount);
    connect(m_proxy, &QSortFilterProxyModel::layoutChanged, this, &ApplicantsWindow::showCount);
    // The multiples follow the terms as they are typed; a refusal is said once the field is left,
    // and goes as soon as what is typed can be taken.
    for (QLineEdit *field : {m_rent, m_minimum}) {
        connect(field, &QLineEdit::textChanged, this, &ApplicantsWindow::applyTerms);
        connect(field, &QLineEdit::editingFinished, this, [this] {
            sayTermsProblem();
            saveTerms();
        });
    }

    m_watcher = new QFileSystemWatcher(this);
    m_relistTimer = new QTimer(this);
    m_relistTimer->setSingleShot(true);
    m_relistTimer->setInterval(250); // a save is several events; one listing for them all
    connect(m_relistTimer, &QTimer::timeout, this, &ApplicantsWindow::relist);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_relistTimer, qOverload<>(&QTimer::start));
    connect(m_watcher, &QFileSystemWatcher::fileChanged, m_relistTimer, qOverload<>(&QTimer::start));

    setTabOrder(choose, m_rent);
    setTabOrder(m_rent, m_minimum);
    setTabOrder(m_minimum, m_filter);
    setTabOrder(m_filter, m_table);
    setTabOrder(m_table, m_decide);
    setTabOrder(m_decide, m_letters);
    setTabOrder(m_letters, vacancy);
    setTabOrder(vacancy, dispose);
    setTabOrder(dispose, pdf);
    setTabOrder(pdf, csv);
    setTabOrder(csv, close);
}

compare::Terms ApplicantsWindow::terms() const
{
    compare::Terms terms;
    terms.monthlyRent = compare::readRent(m_rent->text()).value_or(0);
    terms.minimumMultiple = m_minimumInForce;
    return terms;
}

QString ApplicantsWindow::termsProblem() const
{
    QStringList problems;
    if (!m_rent->text().trimmed().isEmpty() && !compare::readRent(m_rent->text()))
        problems << QStringLiteral("\"%1\" is not a monthly rent this window can read: type it in dollars, as 1450 or 1,450.")
                        .arg(m_rent->text().trimmed());
    const compare::MinimumReading minimum = compare::readMinimum(m_minimum->text());
    if (!minimum.value)
        problems << QStringLiteral("%1. Rows are marked against %2 \u00d7 the rent until then.")
                        .arg(minimum.why, compare::minimumText(m_minimumInForce));
    return problems.join(QLatin1Char(' '));
}

QString ApplicantsWindow::statusText() const { return m_status->text(); }

QString ApplicantsWindow::shownTermsProblem() const { return m_termsProblem->isHidden() ? QString() : m_termsProblem->text(); }

void ApplicantsWindow::applyTerms()
{
    if (const std::optional<double> minimum = compare::readMinimum(m_minimum->text()).value)
        m_minimumInForce = *minimum;
    m_model->setTerms(terms());
    if (!m_termsProblem->text().isEmpty()) // a refusal shown goes, or follows the text
        sayTermsProblem();
}

void ApplicantsWindow::sayTermsProblem()
{
    m_termsProblem->setText(termsProblem());
    m_termsProblem->setVisible(!m_termsProblem->text().isEmpty());
}

void ApplicantsWindow::saveTerms()
{
    if (m_folder.isEmpty())
        return;
    m_settings.setTermsOf(m_folder, terms());
    saveSettings();
}

void ApplicantsWindow::showFolder(const QString &folder)
{
    const QString chosen = folder.isEmpty() ? m_settings.lastFolder() : QFileInfo(folder).absoluteFilePath();
    m_folder = chosen;
    m_listingProblem.clear();
    watch(false);
    m_model->setRows({});
    if (m_folder.isEmpty()) {
        m_folderLabel->setText(tr("Choose the folder that holds the vacancy's applicant files."));
        return;
    }
    m_folderLabel->setText(m_folder);
    const compare::Terms terms = m_settings.termsOf(m_folder);
    {
        const QSignalBlocker blockRent(m_rent), blockMinimum(m_minimum);
        m_rent->setText(terms.monthlyRent > 0 ? QLocale(QLocale::English, QLocale::UnitedStates).toString(terms.monthlyRent, 'f', terms.monthlyRent == std::floor(terms.monthlyRent) ? 0 : 2)
                                              : QString());
        m_minimum->setText(compare::minimumText(terms.minimumMultiple));
    }
    applyTerms();
    sayTermsProblem();
    m_settings.setLastFolder(m_folder);
    saveSettings();
    relist();
}

void ApplicantsWindow::chooseFolder()
{
    QFileDialog dialog(this, tr("The Vacancy's Applicant Files"), m_folder.isEmpty() ? QDir::homePath() : m_folder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    shell::fitDialogToScreen(dialog, this);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        showFolder(dialog.selectedFiles().constFirst());
}

void ApplicantsWindow::relist()
{
    if (m_folder.isEmpty())
        return;
    if (m_listing) { // once the listing under way is in, another
        m_relistWaiting = true;
        return;
    }
    m_listing = true;
    if (m_model->rowCount() == 0)
        m_status->setText(tr("Reading the folder…"));
    const int generation = ++*m_generation;
    const std::shared_ptr<int> current = m_generation;
    QPointer<ApplicantsWindow> window(this);
    const QString folder = m_folder;
    const decision::RetentionPeriods periods = decision::retentionOf(m_settings, m_folder);
    // A thread of its own, never joined: a listing stuck on a vanished network mount holds that
    // thread only, and the window, and the program's end, do not wait for it.
    std::thread([=] {
        QList<ApplicantRow> rows;
        QString problem;
        try {
            rows = decision::listWithDecisions(folder, periods);
        } catch (const base::Failure &failure) {
            problem = failure.description();
        }
        QMetaObject::invokeMethod(qApp, [=]() mutable {
            if (window && *current == generation)
                window->takeRows(folder, std::move(rows), problem);
        }, Qt::QueuedConnection);
    }).detach();
}

void ApplicantsWindow::takeRows(const QString &folder, QList<ApplicantRow> rows, const QString &problem)
{
    m_listing = false;
    if (folder != m_folder)
        return;
    // The row chosen stays chosen when the list is read again.
    const QModelIndexList selected = m_table->selectionModel()->selectedRows();
    const QString chosen = selected.isEmpty() ? QString() : selected.front().data(ComparisonModel::PathRole).toString();
    m_listingProblem = problem;
    m_model->setRows(std::move(rows)); // one reset: the proxy sorts once
    if (!chosen.isEmpty())
        for (int r = 0; r < m_proxy->rowCount(); ++r)
            if (m_proxy->index(r, 0).data(ComparisonModel::PathRole).toString() == chosen) {
                m_table->selectRow(r);
                break;
            }
    // Until the user sets the widths, each column as wide as its title and values need, within reason.
    if (!m_headerRestored && m_model->rowCount() > 0) {
        m_table->resizeColumnsToContents();
        for (int c = 0; c < int(Column::Count); ++c)
            m_table->setColumnWidth(c, std::min(m_table->columnWidth(c), 220));
    }
    showCount();
    watch(problem.isEmpty());
    emit listed();
    if (std::exchange(m_relistWaiting, false))
        relist();
}

void ApplicantsWindow::watch(bool folderListed)
{
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    if (!watched.isEmpty())
        m_watcher->removePaths(watched);
    if (m_folder.isEmpty())
        return;
    if (!folderListed) {
        // A folder deleted (or not made yet) is seen coming back from the nearest folder above it
        // that is there; one that cannot be read, from itself.
        QString there = m_folder;
        while (!QFileInfo(there).isDir() && QFileInfo(there).path() != there)
            there = QFileInfo(there).path();
        m_watcher->addPath(there);
        if (there != m_folder && QFileInfo(m_folder).isDir()) // made again before the watch was in place
            m_relistTimer->start();
        return;
    }
    // The folder itself, and each file while they are few: a save renames, which the folder sees;
    // a file written in place only its own watch sees. Files that could not be read (a link that
    // loops, a FIFO) are not watched: inotify would refuse them, loudly, at every listing.
    QStringList paths{m_folder};
    for (const ApplicantRow &row : m_model->rows())
        if (row.state != ApplicantRow::State::Refused && paths.size() <= kMostWatchedFiles)
            paths << row.path;
    m_watcher->addPaths(paths);
}

void ApplicantsWindow::showCount()
{
    const QList<ApplicantRow> &rows = m_model->rows();
    if (!m_listingProblem.isEmpty()) {
        m_status->setText(m_listingProblem);
        return;
    }
    if (rows.isEmpty()) {
        m_status->setText(m_listing ? tr("Reading the folder…") : tr("No applicant files in this folder yet."));
        return;
    }
    const int refused = int(std::count_if(rows.cbegin(), rows.cend(), [](const ApplicantRow &row) {
        return row.state != ApplicantRow::State::Read;
    }));
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QString without = refused ? tr(", %1 of them without values (see the second column)").arg(english.toString(refused))
                                    : QString();
    if (m_proxy->rowCount() == rows.size())
        m_status->setText(tr("%1 applicant files%2.").arg(english.toString(rows.size()), without));
    else
        m_status->setText(tr("%1 of %2 applicant files shown by the filter%3.")
                              .arg(english.toString(m_proxy->rowCount()), english.toString(rows.size()), without));
}

void ApplicantsWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The terms and a filter of a usable width (16 characters) on one line, or the filter on a line
    // of its own. Not a minimum width on the filter: that would keep the window wider than a small
    // screen before the line could break.
    const QLayoutItem *filter = m_controls->itemAt(2);
    const int usableFilter = filter->sizeHint().width() - m_filter->sizeHint().width() + m_filter->fontMetrics().averageCharWidth() * 16;
    const int oneLine = m_controls->itemAt(0)->sizeHint().width() + 12 + usableFilter + layout()->contentsMargins().left()
                        + layout()->contentsMargins().right();
    const auto direction = width() >= oneLine ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    if (m_controls->direction() != direction) {
        m_controls->setDirection(direction);
        layout()->activate(); // now, not at the next event: the window is seen at this size
    }
}

void ApplicantsWindow::openRow(const QModelIndex &index)
{
    const QString path = index.data(ComparisonModel::PathRole).toString();
    if (!path.isEmpty() && m_open)
        m_open(path);
}

void ApplicantsWindow::saveSettings()
{
    try {
        m_settings.save();
    } catch (const base::Failure &failure) {
        m_status->setText(failure.description());
    }
}

void ApplicantsWindow::closeEvent(QCloseEvent *event)
{
    m_settings.setValue(QStringLiteral("Geometry"), saveGeometry());
    if (!m_folder.isEmpty())
        m_settings.setTermsOf(m_folder, terms());
    m_settings.setValue(QStringLiteral("Columns"), m_table->horizontalHeader()->saveState());
    saveSettings();
    event->accept();
}

QString ApplicantsWindow::askExportPath(const QString &filter, const QString &suffix)
{
    const QString suggested = (m_folder.isEmpty() ? QDir::homePath() : m_folder) + QStringLiteral("/applicants.") + suffix;
    return askSavePath(tr("Export the Comparison"), filter, suffix, suggested);
}

QString ApplicantsWindow::askSavePath(const QString &title, const QString &filter, const QString &suffix, const QString &suggested)
{
    if (m_askExportPath)
        return m_askExportPath(filter, suggested);
    QFileDialog dialog(this, title, suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    shell::fitDialogToScreen(dialog, this);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

namespace {

bool writeExport(const QString &target, const QByteArray &bytes)
{
    try {
        compare::writeComparison(target, bytes);
    } catch (const base::Failure &failure) {
        runtime::messageBoxes().inform(runtime::applicationTitle(),
                                     QStringLiteral("The comparison could not be saved: %1").arg(failure.description()),
                                     runtime::BoxIcon::Warning);
        return false;
    }
    return true;
}

} // namespace

QList<ApplicantRow> ApplicantsWindow::shownRows() const
{
    // In the order and with the filter the table shows.
    QList<ApplicantRow> shown;
    shown.reserve(m_proxy->rowCount());
    for (int r = 0; r < m_proxy->rowCount(); ++r)
        shown.append(m_model->rows().at(m_proxy->mapToSource(m_proxy->index(r, 0)).row()));
    return shown;
}

bool ApplicantsWindow::exportPdf(const QString &target)
{
    return writeExport(target, compare::comparisonPdf(shownRows(), terms(), m_folder));
}

bool ApplicantsWindow::exportCsv(const QString &target)
{
    return writeExport(target, compare::comparisonCsv(shownRows(), terms()));
}

QString ApplicantsWindow::chosenPath() const
{
    // The selected row, or the row the keyboard stands on.
    const QModelIndexList selected = m_table->selectionModel()->selectedRows();
    const QModelIndex chosen = selected.isEmpty() ? m_table->currentIndex() : selected.front();
    return chosen.data(ComparisonModel::PathRole).toString();
}

void ApplicantsWindow::showRowMenu(const QPoint &at)
{
    // The row under the pointer, or the row chosen when the menu key asked with none under it.
    QModelIndex index = m_table->indexAt(at);
    if (!index.isValid())
        index = m_table->currentIndex();
    if (!index.isValid())
        return;
    m_table->selectRow(index.row());
    const QString path = index.data(ComparisonModel::PathRole).toString();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("RowMenu"));
    menu.addAction(tr("&Open"), this, [this, index] { openRow(index); });
    menu.addAction(tr("&Decision…"), this, [this, path] { decide(path); });
    menu.addAction(tr("Le&tters…"), this, [this, path] { writeLetters(path); });
    menu.exec(m_table->viewport()->mapToGlobal(m_table->indexAt(at).isValid() ? at : m_table->visualRect(index).center()));
}

int ApplicantsWindow::runDialog(QDialog &dialog)
{
    // The size the dialog was made for, within the screen; smaller screens scroll its contents.
    const QSize wanted = dialog.size();
    shell::fitDialogToScreen(dialog, this);
    if (const QScreen *screen = this->screen())
        dialog.resize(wanted.expandedTo(dialog.size()).boundedTo(screen->availableGeometry().size() - QSize(16, 48)));
    return m_runDialog ? m_runDialog(dialog) : dialog.exec();
}

void ApplicantsWindow::warn(const QString &text)
{
    runtime::messageBoxes().inform(runtime::applicationTitle(), text, runtime::BoxIcon::Warning);
}

std::optional<ApplicantsWindow::Opened> ApplicantsWindow::openApplicant(const QString &path)
{
    std::unique_ptr<record::Passphrase> passphrase;
    bool again = false;
    for (;;) {
        try {
            decision::ApplicantReading reading = decision::readApplicant(path, passphrase.get());
            return Opened{std::move(reading), std::move(passphrase)};
        } catch (const record::UnlockFailure &failure) {
            using Kind = record::UnlockFailure::Kind;
            if (failure.kind() != Kind::NeedsPassphrase && failure.kind() != Kind::WrongPassphrase) {
                warn(failure.description());
                return std::nullopt;
            }
            again = again || failure.kind() == Kind::WrongPassphrase;
            const std::optional<QString> typed = m_prompt->askToOpen(path, again);
            if (!typed)
                return std::nullopt;
            passphrase = std::make_unique<record::Passphrase>(*typed);
        } catch (const base::Failure &failure) {
            warn(failure.description());
            return std::nullopt;
        }
    }
}

namespace {

QString nameOf(const QMap<QString, QString> &record, const QString &path)
{
    const QString name = record.value(QStringLiteral("App Info Name")).simplified();
    return name.isEmpty() ? QFileInfo(path).fileName() : name;
}

QString letterFileName(decision::LetterKind kind)
{
    switch (kind) {
    case decision::LetterKind::Approval: return QStringLiteral("approval");
    case decision::LetterKind::AdverseAction: return QStringLiteral("adverse-action-notice");
    case decision::LetterKind::Denial: return QStringLiteral("denial");
    }
    return QStringLiteral("letter");
}

} // namespace

void ApplicantsWindow::decide(const QString &path)
{
    if (path.isEmpty()) {
        warn(tr("Choose an applicant in the table first."));
        return;
    }
    std::optional<Opened> opened = openApplicant(path);
    if (!opened)
        return;
    const record::Passphrase *passphrase = opened->passphrase.get();
    compare::ApplicantRow row;
    compare::fillRow(row, opened->reading.record);
    DecisionDialog dialog(nameOf(opened->reading.record, path), opened->reading.decision,
                          decision::vacancyOf(m_settings, QFileInfo(path).absolutePath()),
                          [&](const decision::Decision &typed) -> QString {
                              // Kept with the criteria of this moment: the folder's rent and minimum,
                              // and the multiple they give this applicant.
                              decision::Decision kept = typed;
                              kept.criteria = decision::criteriaAt(row, terms());
                              try {
                                  // Someone else's decision, written while this one was typed, is
                                  // not replaced unseen: the file is read afresh for the next try.
                                  const decision::Decision onDisk = decision::readDecision(path, passphrase);
                                  if (decision::decisionValues(onDisk) != decision::decisionValues(opened->reading.decision)) {
                                      opened->reading.decision = onDisk;
                                      return QStringLiteral("The file's decision was changed while this one was typed "
                                                            "(now: %1). Save again to replace it, or Cancel to keep it.")
                                          .arg(decision::statusName(opened->reading.decision.status));
                                  }
                                  decision::writeDecision(path, kept, passphrase);
                                  opened->reading.decision = kept;
                              } catch (const base::Failure &failure) {
                                  return QStringLiteral("The decision was not saved: %1").arg(failure.description());
                              }
                              return QString();
                          },
                          this);
    if (runDialog(dialog) != QDialog::Accepted)
        return;
    relist();
    if (!dialog.lettersWanted())
        return;
    try {
        showLetters(path, decision::readApplicant(path, passphrase));
    } catch (const base::Failure &failure) {
        warn(failure.description());
    }
}

void ApplicantsWindow::writeLetters(const QString &path)
{
    if (path.isEmpty()) {
        warn(tr("Choose an applicant in the table first."));
        return;
    }
    if (const std::optional<Opened> opened = openApplicant(path))
        showLetters(path, opened->reading);
}

void ApplicantsWindow::showLetters(const QString &path, const decision::ApplicantReading &reading)
{
    const QString folder = QFileInfo(path).absolutePath();
    const decision::LetterInput input{reading.record, reading.decision, decision::vacancyOf(m_settings, folder),
                                      QDate::currentDate()};
    LetterDialog dialog(nameOf(reading.record, path), input,
                        [&](decision::LetterKind kind, bool pdf, bool &cancelled) -> QString {
                            const QString suffix = pdf ? QStringLiteral("pdf") : QStringLiteral("doc");
                            const QString suggested = folder + QLatin1Char('/') + QFileInfo(path).completeBaseName()
                                                      + QLatin1Char('-') + letterFileName(kind) + QLatin1Char('.') + suffix;
                            const QString target = askSavePath(decision::letterTitle(kind),
                                                               pdf ? QStringLiteral("PDF Files (*.pdf)")
                                                                   : QStringLiteral("Word 97-2003 Documents (*.doc)"),
                                                               suffix, suggested);
                            cancelled = target.isEmpty();
                            if (cancelled)
                                return QString();
                            QApplication::setOverrideCursor(Qt::WaitCursor);
                            QString why;
                            try {
                                decision::saveLetterAs(target, kind, input);
                            } catch (const base::Failure &failure) {
                                why = QStringLiteral("The letter was not saved: %1").arg(failure.description());
                            }
                            QApplication::restoreOverrideCursor();
                            return why;
                        },
                        this);
    runDialog(dialog);
}

void ApplicantsWindow::editVacancy()
{
    if (m_folder.isEmpty()) {
        warn(tr("Choose the vacancy's folder first."));
        return;
    }
    const QString folder = m_folder;
    VacancyDialog dialog(folder, decision::vacancyOf(m_settings, folder), decision::retentionOf(m_settings, folder),
                         [&](const decision::Vacancy &vacancy, const decision::RetentionPeriods &periods) -> QString {
                             // Changed on a copy, so that a refusal or a failed save changes nothing.
                             compare::ComparisonSettings changed = m_settings;
                             try {
                                 decision::setVacancyOf(changed, folder, vacancy);
                                 decision::setRetentionOf(changed, folder, periods);
                                 changed.save();
                             } catch (const base::Failure &failure) {
                                 return QStringLiteral("The particulars were not kept: %1").arg(failure.description());
                             }
                             m_settings = std::move(changed);
                             return QString();
                         },
                         this);
    if (runDialog(dialog) == QDialog::Accepted)
        relist(); // the keep-until days follow the periods
}

bool ApplicantsWindow::waitOffThread(const QString &doing, std::function<void()> work, bool mayGiveUp)
{
    // The window waits in an event loop behind a busy dialog, painting and answering, while the
    // work runs on a thread of its own. A thread given up on (a vanished network folder) is left to
    // finish alone: the work keeps what it needs in what it captured, never in this frame.
    auto done = std::make_shared<std::atomic<bool>>(false);
    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    QProgressDialog progress(doing, mayGiveUp ? QStringLiteral("Stop Waiting") : QString(), 0, 0, this);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);
    if (mayGiveUp)
        connect(&progress, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
    std::thread([work = std::move(work), done, waiting] {
        work();
        done->store(true);
        QMetaObject::invokeMethod(qApp, [waiting] {
            if (waiting)
                waiting->quit();
        }, Qt::QueuedConnection);
    }).detach();
    loop.exec();
    progress.reset();
    return done->load();
}

void ApplicantsWindow::disposeExpired()
{
    if (m_folder.isEmpty()) {
        warn(tr("Choose the vacancy's folder first."));
        return;
    }
    const QString folder = m_folder;
    const decision::RetentionPeriods periods = decision::retentionOf(m_settings, folder);
    struct Listed {
        decision::DisposalListing listing;
        QString failure;
    };
    const auto listed = std::make_shared<Listed>();
    const bool finished = waitOffThread(QStringLiteral("Looking for expired applications\u2026"), [listed, folder, periods] {
        try {
            listed->listing = decision::listExpired(folder, periods, QDate::currentDate());
        } catch (const base::Failure &error) {
            listed->failure = error.description();
        }
    }, true);
    if (!finished)
        return;
    if (!listed->failure.isEmpty()) {
        warn(QStringLiteral("The expired applications could not be listed: %1").arg(listed->failure));
        return;
    }
    const decision::DisposalListing &listing = listed->listing;
    DisposalDialog dialog(listing, this);
    if (runDialog(dialog) != QDialog::Accepted || listing.files.isEmpty())
        return;

    // Overwriting and syncing each file can take long on a slow or network disk. Once begun it is
    // waited for: what it did is said at the end.
    struct Disposed {
        decision::DisposalResult result;
        QString failure;
    };
    const auto disposed = std::make_shared<Disposed>();
    const QList<decision::ExpiredFile> files = listing.files;
    waitOffThread(QStringLiteral("Disposing of the expired applications\u2026"), [disposed, folder, files] {
        try {
            disposed->result = decision::dispose(folder, files);
        } catch (const base::Failure &error) {
            disposed->failure = error.description();
        }
    }, false);
    relist();

    const decision::DisposalResult &result = disposed->result;
    const QString &failure = disposed->failure;
    QStringList said;
    if (!failure.isEmpty())
        said << QStringLiteral("Nothing was disposed of: %1").arg(failure);
    if (!result.disposed.isEmpty())
        said << QStringLiteral("Disposed of %1: %2. The folder's disposal log, %3, says what was done.")
                    .arg(result.disposed.size() == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(result.disposed.size()))
                    .arg(result.disposed.join(QStringLiteral(", ")), QString::fromLatin1(decision::kDisposalLogName));
    else if (failure.isEmpty())
        said << QStringLiteral("No file was disposed of.");
    said << result.problems;
    runtime::messageBoxes().inform(runtime::applicationTitle(), said.join(QStringLiteral("\n\n")),
                                   failure.isEmpty() && result.problems.isEmpty() ? runtime::BoxIcon::None
                                                                                  : runtime::BoxIcon::Warning);
}

} // namespace entry
