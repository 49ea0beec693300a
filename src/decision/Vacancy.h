#pragma once
// What the letters say of the vacancy and the screening: the unit, the landlord, the consumer
// reporting agencies, and how long each outcome's files are kept. Kept per folder in the
// Applicants window's owner-only settings (compare::ComparisonSettings), never in an applicant's
// file.
#include "Decision.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace compare {
class ComparisonSettings;
}

namespace decision {

struct Agency {
    QString name, address, phone, website;
    bool nationwide = true; // keeps files on consumers nationwide: its phone must be toll-free
};

struct Vacancy {
    QString unitAddress;
    QString landlordName, landlordAddress, landlordPhone;
    QList<Agency> agencies;
    // The agency of that name, or null.
    const Agency *agencyNamed(const QString &name) const;
};

// Why the agency cannot be kept, each problem a sentence; empty when it can.
QStringList problemsOf(const Agency &agency);
// Whether the number is a US toll-free one (800, 833, 844, 855, 866, 877, 888), with or without
// the leading 1 and any punctuation.
bool isTollFree(const QString &phone);

// How many months the files of each outcome are kept after the decision; none: kept until the
// landlord sets a period. Pending files are never disposed of.
struct RetentionPeriods {
    std::optional<int> approved;
    std::optional<int> approvedWithConditions;
    std::optional<int> denied = 25;
    std::optional<int> withdrawn = 25;
    std::optional<int> of(Status status) const;
};

// The last day the file is kept: the decision's date plus its outcome's period in calendar months
// (a day the month lacks becomes its last day: 31 January + 1 month is 28 or 29 February). None for a
// pending decision or an outcome without a period.
std::optional<QDate> keepUntil(const Decision &decision, const RetentionPeriods &periods);
// Whether the file's time is up: its keep-until day has passed.
bool isExpired(const Decision &decision, const RetentionPeriods &periods, const QDate &today);

Vacancy vacancyOf(const compare::ComparisonSettings &settings, const QString &folder);
// Refuses (base::Failure, nothing changed) an agency with problems.
void setVacancyOf(compare::ComparisonSettings &settings, const QString &folder, const Vacancy &vacancy);
RetentionPeriods retentionOf(const compare::ComparisonSettings &settings, const QString &folder);
void setRetentionOf(compare::ComparisonSettings &settings, const QString &folder, const RetentionPeriods &periods);

} // namespace decision
