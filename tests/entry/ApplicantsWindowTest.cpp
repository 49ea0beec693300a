// The Applicants window: the folder's files listed off the window's thread, sorted by the multiple
// as numbers, filtered, following the folder as files come and go, opening an applicant in the main
// window, remembering each folder's rent; every control named for a screen reader.
#include "entry/ApplicantsWindow.h"

#include "TestFiles.h"
#include "compare/ApplicantList.h"
#include "record/ApplicantFile.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using compare::Column;

class ApplicantsWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder() const { return dir.filePath(QStringLiteral("vacancy")); }
    QString settings() const { return dir.filePath(QStringLiteral("state/applicants")); }
    QStringList opened;

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(folder())); }
    void applicant(const char *file, const char *name, const char *income)
    {
        record::writeApplicantFile(folder() + QLatin1Char('/') + QLatin1String(file),
                                   {{QStringLiteral("App Info Name"), QString::fromUtf8(name)},
                                    {QStringLiteral("App Info SSN"), QStringLiteral("078-05-1120")},
                                    {QStringLiteral("App Info Emp Info Annual Income"), QString::fromUtf8(income)}});
    }
    std::unique_ptr<entry::ApplicantsWindow> window()
    {
        return std::make_unique<entry::ApplicantsWindow>([this](const QString &path) { opened << path; },
                                                         compare::ComparisonSettings(settings()));
    }
    static bool waitForListing(entry::ApplicantsWindow &w, int ms = 5000)
    {
        QElapsedTimer timer;
        timer.start();
        QSignalSpy listed(&w, &entry::ApplicantsWindow::listed);
        while (listed.isEmpty() && timer.elapsed() < ms)
            listed.wait(50);
        return !listed.isEmpty();
    }
    static QStringList column(QTableView *table, Column c)
    {
        QStringList texts;
        for (int r = 0; r < table->model()->rowCount(); ++r)
            texts << table->model()->index(r, int(c)).data().toString();
        return texts;
    }
};

TEST_F(ApplicantsWindowTest, SortsByTheMultipleAsNumbersFiltersAndOpensTheApplicant)
{
    applicant("a.tenvoria", "Ana", "$9,000");     // 9,000 / 12,000 = 0.8
    applicant("b.tenvoria", "Bo", "$120,000");    // 10.0: sorts above 9.0 only as a number
    applicant("c.tenvoria", "Cy", "$108,000");    // 9.0
    testsupport::writeTestFile(folder() + QStringLiteral("/d.tenvoria"), "junk");
    auto w = window();
    w->show();
    w->showFolder(folder());
    ASSERT_TRUE(waitForListing(*w));
    w->rentField()->setText(QStringLiteral("1,000"));
    emit w->rentField()->editingFinished();
    QTableView *table = w->table();
    table->sortByColumn(int(Column::Multiple), Qt::DescendingOrder);
    EXPECT_EQ(column(table, Column::Name).mid(0, 3), (QStringList{QStringLiteral("Bo"), QStringLiteral("Cy"), QStringLiteral("Ana")}));
    EXPECT_EQ(column(table, Column::Multiple).mid(0, 3),
              (QStringList{QStringLiteral("10.0"), QStringLiteral("9.0"), QStringLiteral("0.8 (below)")}));
    EXPECT_EQ(table->model()->rowCount(), 4); // the damaged file is listed too
    // An income that cannot be read with certainty: shown as typed, no multiple, the reason on hover.
    applicant("e.tenvoria", "Ed", "42.000");
    ASSERT_TRUE(waitForListing(*w, 1500));
    w->filterField()->setText(QStringLiteral("Ed"));
    ASSERT_EQ(table->model()->rowCount(), 1);
    EXPECT_EQ(table->model()->index(0, int(Column::Income)).data().toString(), QStringLiteral("42.000"));
    EXPECT_EQ(table->model()->index(0, int(Column::Multiple)).data().toString(), QString());
    EXPECT_TRUE(table->model()->index(0, int(Column::Multiple)).data(Qt::ToolTipRole).toString().contains(QStringLiteral("42.000")));
    w->filterField()->clear();
    EXPECT_FALSE(column(table, Column::Name).join(QLatin1Char(' ')).contains(QStringLiteral("078-05")));

    w->filterField()->setText(QStringLiteral("cy"));
    ASSERT_EQ(table->model()->rowCount(), 1);
    emit table->activated(table->model()->index(0, 0));
    EXPECT_EQ(opened, QStringList{QFileInfo(folder() + QStringLiteral("/c.tenvoria")).absoluteFilePath()});

    // The rent is the folder's, kept beside the recent list, and comes back with the folder.
    w->close();
    auto again = window();
    again->showFolder(QString()); // the folder shown last
    EXPECT_EQ(again->folder(), QFileInfo(folder()).absoluteFilePath());
    EXPECT_EQ(again->terms().monthlyRent, 1000);
    EXPECT_FALSE(testsupport::readTestFile(settings()).contains("Ana"));

    for (QWidget *named : std::initializer_list<QWidget *>{table, w->filterField(), w->rentField(), w->minimumField()})
        EXPECT_FALSE(named->accessibleName().isEmpty()) << named->objectName().toStdString();
}

TEST_F(ApplicantsWindowTest, TheListFollowsTheFolderWithinASecond)
{
    applicant("a.tenvoria", "Ana", "$50,000");
    auto w = window();
    w->show();
    w->showFolder(folder());
    ASSERT_TRUE(waitForListing(*w));
    ASSERT_EQ(w->table()->model()->rowCount(), 1);
    applicant("b.tenvoria", "Bo", "$60,000");
    ASSERT_TRUE(waitForListing(*w, 1500)) << "a new file did not show within a second and a half";
    EXPECT_EQ(w->table()->model()->rowCount(), 2);
    ASSERT_TRUE(QFile::remove(folder() + QStringLiteral("/a.tenvoria")));
    ASSERT_TRUE(waitForListing(*w, 1500));
    EXPECT_EQ(column(w->table(), Column::Name), QStringList{QStringLiteral("Bo")});
}

} // namespace
