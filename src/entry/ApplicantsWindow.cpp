#include "ApplicantsWindow.h"

#include "base/Failure.h"
#include "compare/ComparisonExport.h"
#include "compare/IncomeReading.h"
#include "runtime/MessageBoxes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <thread>
#include <utility>

namespace entry {
namespace {

using compare::ApplicantRow;
using compare::Column;

constexpr int kSortRole = Qt::UserRole + 1;
constexpr int kPathRole = Qt::UserRole + 2;
// inotify watches are a per-user resource: past this many files the folder's own watch, which sees
// files come and go and every save (saves rename a new file into place), is enough.
constexpr int kMostWatchedFiles = 500;

QVariant sortValue(const ApplicantRow &row, Column column, const compare::Terms &terms)
{
    const auto number = [](const std::optional<double> &value) { return value ? QVariant(*value) : QVariant(-1.0); };
    switch (column) {
    case Column::Modified: return row.modified;
    case Column::Income: return number(row.income.annual);
    case Column::CoIncome: return number(row.coIncome.annual);
    case Column::Combined: return number(row.combined.annual);
    case Column::Multiple: return number(compare::incomeMultiple(row, terms.monthlyRent));
    case Column::MonthlyPayment: return number(compare::readRent(row.monthlyPayment));
    default: return compare::cellText(row, column, terms.monthlyRent).toCaseFolded();
    }
}

// Sorts numbers as numbers and dates as dates, by the role the cells carry for it.
class ComparisonProxy final : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override
    {
        const QVariant a = left.data(kSortRole), b = right.data(kSortRole);
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
      m_generation(std::make_shared<int>(0))
{
    setObjectName(QStringLiteral("ApplicantsWindow"));
    setWindowTitle(QStringLiteral("Applicants \u2014 Tenvoria"));
    setAccessibleName(QStringLiteral("Applicants"));
    build();
    // The size it had, within the screen it opens on: a 1024 x 768 screen at twice the scale has
    // room for 512 x 384 of it.
    const QRect screen = (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                            : QRect(0, 0, 1024, 768));
    if (!restoreGeometry(m_settings.value(QStringLiteral("Geometry"))))
        resize(std::min(1000, screen.width()), std::min(560, screen.height()));
    if (width() > screen.width() || height() > screen.height())
        resize(std::min(width(), screen.width()), std::min(height(), screen.height()));
    m_headerRestored = m_table->horizontalHeader()->restoreState(m_settings.value(QStringLiteral("Header")));
}

ApplicantsWindow::~ApplicantsWindow() { ++*m_generation; }

void ApplicantsWindow::build()
{
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("Folder"));
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_folderLabel->setMinimumWidth(80);
    auto *choose = new QPushButton(QStringLiteral("C&hoose Folder\u2026"), this);
    connect(choose, &QPushButton::clicked, this, &ApplicantsWindow::chooseFolder);
    top->addWidget(m_folderLabel, 1);
    top->addWidget(choose);
    layout->addLayout(top);

    auto *terms = new QHBoxLayout;
    m_rent = new QLineEdit(this);
    m_rent->setObjectName(QStringLiteral("Rent"));
    m_rent->setAccessibleName(QStringLiteral("Monthly rent"));
    m_rent->setPlaceholderText(QStringLiteral("e.g. 1,450"));
    m_rent->setMaximumWidth(120);
    auto *rentLabel = new QLabel(QStringLiteral("Monthly &rent:"), this);
    rentLabel->setBuddy(m_rent);
    m_minimum = new QDoubleSpinBox(this);
    m_minimum->setObjectName(QStringLiteral("Minimum"));
    m_minimum->setAccessibleName(QStringLiteral("Minimum income multiple"));
    m_minimum->setRange(0.5, 20);
    m_minimum->setSingleStep(0.5);
    m_minimum->setDecimals(1);
    m_minimum->setValue(3);
    m_minimum->setSuffix(QStringLiteral(" \u00d7 rent"));
    auto *minimumLabel = new QLabel(QStringLiteral("&Minimum income:"), this);
    minimumLabel->setBuddy(m_minimum);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("Filter"));
    m_filter->setAccessibleName(QStringLiteral("Filter the applicants"));
    m_filter->setPlaceholderText(QStringLiteral("Filter"));
    m_filter->setClearButtonEnabled(true);
    auto *filterLabel = new QLabel(QStringLiteral("&Filter:"), this);
    filterLabel->setBuddy(m_filter);
    terms->addWidget(rentLabel);
    terms->addWidget(m_rent);
    terms->addWidget(minimumLabel);
    terms->addWidget(m_minimum);
    terms->addSpacing(12);
    terms->addWidget(filterLabel);
    terms->addWidget(m_filter, 1);
    layout->addLayout(terms);

    m_model = new QStandardItemModel(0, int(Column::Count), this);
    for (int c = 0; c < int(Column::Count); ++c)
        m_model->setHorizontalHeaderItem(c, new QStandardItem(compare::columnTitle(Column(c))));
    m_proxy = new ComparisonProxy(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setFilterKeyColumn(-1);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("Applicants"));
    m_table->setAccessibleName(QStringLiteral("Applicants of the folder"));
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
    layout->addWidget(m_table, 1);
    connect(m_table, &QTableView::activated, this, &ApplicantsWindow::openRow); // double click, Enter

    auto *bottom = new QHBoxLayout;
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Status"));
    m_status->setWordWrap(true);
    auto *pdf = new QPushButton(QStringLiteral("Export &PDF\u2026"), this);
    auto *csv = new QPushButton(QStringLiteral("Export &CSV\u2026"), this);
    auto *close = new QPushButton(QStringLiteral("Close"), this);
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
    connect(m_rent, &QLineEdit::editingFinished, this, &ApplicantsWindow::termsChanged);
    connect(m_minimum, &QDoubleSpinBox::valueChanged, this, &ApplicantsWindow::termsChanged);

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
    setTabOrder(m_table, pdf);
    setTabOrder(pdf, csv);
    setTabOrder(csv, close);
}

compare::Terms ApplicantsWindow::terms() const
{
    compare::Terms terms;
    terms.monthlyRent = compare::readRent(m_rent->text()).value_or(0);
    terms.minimumMultiple = m_minimum->value();
    return terms;
}

void ApplicantsWindow::showFolder(const QString &folder)
{
    const QString chosen = folder.isEmpty() ? m_settings.lastFolder() : QFileInfo(folder).absoluteFilePath();
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    m_folder = chosen;
    m_rows.clear();
    fillTable();
    if (m_folder.isEmpty()) {
        m_folderLabel->setText(QStringLiteral("Choose the folder that holds the vacancy's applicant files."));
        return;
    }
    m_folderLabel->setText(m_folder);
    const compare::Terms terms = m_settings.termsOf(m_folder);
    const QSignalBlocker blockRent(m_rent), blockMinimum(m_minimum);
    m_rent->setText(terms.monthlyRent > 0 ? QLocale(QLocale::English, QLocale::UnitedStates).toString(terms.monthlyRent, 'f', terms.monthlyRent == std::floor(terms.monthlyRent) ? 0 : 2)
                                          : QString());
    m_minimum->setValue(terms.minimumMultiple);
    m_settings.setLastFolder(m_folder);
    saveSettings();
    relist();
}

void ApplicantsWindow::chooseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("The Vacancy's Applicant Files"),
                                                             m_folder.isEmpty() ? QDir::homePath() : m_folder);
    if (!folder.isEmpty())
        showFolder(folder);
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
    m_status->setText(QStringLiteral("Reading the folder\u2026"));
    const int generation = ++*m_generation;
    const std::shared_ptr<int> current = m_generation;
    QPointer<ApplicantsWindow> window(this);
    const QString folder = m_folder;
    // A thread of its own, never joined: a listing stuck on a vanished network mount holds that
    // thread only, and the window, and the program's end, do not wait for it.
    std::thread([=] {
        QList<ApplicantRow> rows;
        QString problem;
        try {
            rows = compare::listApplicants(folder);
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
    m_rows = std::move(rows);
    fillTable();
    // Until the user sets the widths, each column as wide as its title and values need, within reason.
    if (!m_headerRestored) {
        m_table->resizeColumnsToContents();
        for (int c = 0; c < int(Column::Count); ++c)
            m_table->setColumnWidth(c, std::min(m_table->columnWidth(c), 220));
    }
    const int refused = int(std::count_if(m_rows.cbegin(), m_rows.cend(), [](const ApplicantRow &row) {
        return row.state != ApplicantRow::State::Read;
    }));
    if (!problem.isEmpty())
        m_status->setText(problem);
    else if (m_rows.isEmpty())
        m_status->setText(QStringLiteral("No applicant files in this folder yet."));
    else
        m_status->setText(QStringLiteral("%1 applicant files%2.").arg(m_rows.size()).arg(
            refused ? QStringLiteral(", %1 of them without values (see the first column)").arg(refused) : QString()));
    // The folder itself, and each file while they are few: a save renames, which the folder sees;
    // a file written in place only its own watch sees.
    if (m_watcher->directories().isEmpty())
        m_watcher->addPath(m_folder);
    QStringList files;
    for (const ApplicantRow &row : m_rows)
        if (files.size() < kMostWatchedFiles)
            files << row.path;
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    if (!files.isEmpty())
        m_watcher->addPaths(files);
    emit listed();
    if (std::exchange(m_relistWaiting, false))
        relist();
}

void ApplicantsWindow::fillTable()
{
    const compare::Terms current = terms();
    m_model->setRowCount(0);
    m_model->setRowCount(int(m_rows.size()));
    for (int r = 0; r < int(m_rows.size()); ++r) {
        const ApplicantRow &row = m_rows[r];
        const bool below = compare::belowMinimum(row, current);
        const QString note = compare::rowNote(row);
        for (int c = 0; c < int(Column::Count); ++c) {
            auto *item = new QStandardItem(compare::cellText(row, Column(c), current.monthlyRent));
            item->setData(sortValue(row, Column(c), current), kSortRole);
            item->setData(row.path, kPathRole);
            if (row.state != ApplicantRow::State::Read) {
                QFont italic = item->font();
                italic.setItalic(true);
                item->setFont(italic);
                item->setToolTip(row.reason);
            } else if (Column(c) == Column::Income && !row.income.note.isEmpty()) {
                item->setToolTip(row.income.note);
            } else if (Column(c) == Column::CoIncome && !row.coIncome.note.isEmpty()) {
                item->setToolTip(row.coIncome.note);
            } else if (Column(c) == Column::Multiple || Column(c) == Column::Combined) {
                if (!row.combined.annual && !row.combined.empty)
                    item->setToolTip(QStringLiteral("No multiple: ") + row.combined.note);
                else if (current.monthlyRent <= 0)
                    item->setToolTip(QStringLiteral("Type the monthly rent to see the multiple."));
                else if (below)
                    item->setToolTip(QStringLiteral("Below the minimum of %1 \u00d7 the rent").arg(current.minimumMultiple, 0, 'f', 1));
            }
            if (below) {
                item->setBackground(QColor(0xfb, 0xe3, 0xe3));
                item->setForeground(QColor(0x80, 0x10, 0x10));
                if (Column(c) == Column::Multiple)
                    item->setText(item->text() + QStringLiteral(" (below)"));
            }
            if (!note.isEmpty() && item->toolTip().isEmpty() && Column(c) == Column::Name)
                item->setToolTip(note);
            m_model->setItem(r, c, item);
        }
    }
}

void ApplicantsWindow::termsChanged()
{
    if (!m_rent->text().trimmed().isEmpty() && !compare::readRent(m_rent->text()))
        m_status->setText(QStringLiteral("\"%1\" is not a monthly rent this window can read: type it as 1450 or 1,450.").arg(m_rent->text()));
    fillTable();
    if (m_folder.isEmpty())
        return;
    m_settings.setTermsOf(m_folder, terms());
    saveSettings();
}

void ApplicantsWindow::openRow(const QModelIndex &index)
{
    const QString path = index.data(kPathRole).toString();
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
    m_settings.setValue(QStringLiteral("Header"), m_table->horizontalHeader()->saveState());
    saveSettings();
    event->accept();
}

QString ApplicantsWindow::askExportPath(const QString &filter, const QString &suffix)
{
    const QString suggested = (m_folder.isEmpty() ? QDir::homePath() : m_folder) + QStringLiteral("/applicants.") + suffix;
    if (m_askExportPath)
        return m_askExportPath(filter, suggested);
    QFileDialog dialog(this, QStringLiteral("Export the Comparison"), suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
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
    QHash<QString, const ApplicantRow *> byPath;
    for (const ApplicantRow &row : m_rows)
        byPath.insert(row.path, &row);
    QList<ApplicantRow> shown;
    for (int r = 0; r < m_proxy->rowCount(); ++r)
        if (const ApplicantRow *row = byPath.value(m_proxy->index(r, 0).data(kPathRole).toString()))
            shown.append(*row);
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

} // namespace entry
