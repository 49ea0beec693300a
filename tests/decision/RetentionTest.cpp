// How long a file is kept, and the vacancy's particulars the letters need.
#include "base/Failure.h"
#include "compare/ComparisonSettings.h"
#include "decision/Vacancy.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

decision::Decision decided(decision::Status status, const QDate &date)
{
    decision::Decision made;
    made.status = status;
    made.date = date;
    return made;
}

TEST(Retention, KeepUntilAddsCalendarMonthsToTheDecisionsDateAcrossMonthEndsAndLeapDays)
{
    const decision::RetentionPeriods periods; // denied and withdrawn 25 months, approvals none
    const auto until = [&](const QDate &date, decision::Status status = decision::Status::Denied) {
        return decision::keepUntil(decided(status, date), periods);
    };
    EXPECT_EQ(until(QDate(2024, 3, 15)), QDate(2026, 4, 15));
    EXPECT_EQ(until(QDate(2023, 1, 31)), QDate(2025, 2, 28));  // no 31 February
    EXPECT_EQ(until(QDate(2025, 1, 31)), QDate(2027, 2, 28));
    EXPECT_EQ(until(QDate(2022, 1, 31)), QDate(2024, 2, 29));  // into a leap year's February
    EXPECT_EQ(until(QDate(2024, 2, 29)), QDate(2026, 3, 29));  // from a leap day
    EXPECT_EQ(until(QDate(2023, 11, 30), decision::Status::Withdrawn), QDate(2025, 12, 30));
    decision::RetentionPeriods twoYears = periods;
    twoYears.denied = 24;
    EXPECT_EQ(decision::keepUntil(decided(decision::Status::Denied, QDate(2024, 2, 29)), twoYears), QDate(2026, 2, 28));

    EXPECT_FALSE(until(QDate(2020, 1, 1), decision::Status::Approved));                 // none until set
    EXPECT_FALSE(until(QDate(2020, 1, 1), decision::Status::ApprovedWithConditions));
    EXPECT_FALSE(until(QDate(2020, 1, 1), decision::Status::Pending));                  // never
    const decision::Decision denied = decided(decision::Status::Denied, QDate(2023, 1, 31));
    EXPECT_FALSE(decision::isExpired(denied, periods, QDate(2025, 2, 28))); // its last day
    EXPECT_TRUE(decision::isExpired(denied, periods, QDate(2025, 3, 1)));
}

TEST(Retention, PeriodsAndParticularsAreKeptPerFolderAndABadAgencyIsRefused)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("applicants"));
    const QString folder = dir.filePath(QStringLiteral("12 Elm St"));
    {
        compare::ComparisonSettings settings(file);
        decision::RetentionPeriods periods;
        periods.approved = 36;
        periods.withdrawn.reset(); // kept until the landlord sets a period again
        decision::setRetentionOf(settings, folder, periods);
        decision::Vacancy vacancy;
        vacancy.unitAddress = QStringLiteral("12 Elm St, Apt 3");
        vacancy.agencies.append({QStringLiteral("Equifax"), QStringLiteral("P.O. Box 740241, Atlanta, GA 30374"),
                                 QStringLiteral("1-800-685-1111"), QStringLiteral("equifax.com"), true});
        decision::setVacancyOf(settings, folder, vacancy);
        settings.save();
    }
    const compare::ComparisonSettings settings(file);
    const decision::RetentionPeriods read = decision::retentionOf(settings, folder);
    EXPECT_EQ(read.approved, 36);
    EXPECT_EQ(read.denied, 25);
    EXPECT_FALSE(read.withdrawn);
    EXPECT_EQ(decision::retentionOf(settings, dir.path()).denied, 25); // another folder keeps the defaults
    const decision::Vacancy vacancy = decision::vacancyOf(settings, folder);
    ASSERT_EQ(vacancy.agencies.size(), 1);
    EXPECT_EQ(vacancy.agencyNamed(QStringLiteral("Equifax"))->address, QStringLiteral("P.O. Box 740241, Atlanta, GA 30374"));

    compare::ComparisonSettings changing(file);
    decision::RetentionPeriods negative;
    negative.denied = -25;
    EXPECT_THROW(decision::setRetentionOf(changing, folder, negative), base::Failure);
    EXPECT_EQ(decision::retentionOf(changing, folder).denied, 25); // unchanged
    decision::Vacancy bad = vacancy;
    bad.agencies[0].address.clear();
    EXPECT_THROW(decision::setVacancyOf(changing, folder, bad), base::Failure);
    bad = vacancy;
    bad.agencies[0].phone = QStringLiteral("(404) 885-8000"); // a nationwide agency's number must be toll-free
    const QStringList problems = decision::problemsOf(bad.agencies[0]);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(QStringLiteral("toll-free")));
    EXPECT_THROW(decision::setVacancyOf(changing, folder, bad), base::Failure);
    bad.agencies[0].nationwide = false;
    EXPECT_TRUE(decision::problemsOf(bad.agencies[0]).isEmpty()); // a local agency may give any number
    EXPECT_EQ(decision::vacancyOf(changing, folder).agencies[0].phone, QStringLiteral("1-800-685-1111"));
}

} // namespace
