#pragma once
// The landlord's decision on one applicant, and the criteria that held when it was made: what a
// fair-housing claim would ask to see, kept in the applicant's file beside the record.
#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace compare {
struct ApplicantRow;
struct Terms;
} // namespace compare

namespace decision {

enum class Status { Pending, Approved, ApprovedWithConditions, Denied, Withdrawn };

// "Pending", "Approved", "Approved with conditions", "Denied", "Withdrawn": shown, logged and stored.
QString statusName(Status status);
std::optional<Status> statusNamed(const QString &name);

// What a conditional approval asks. An amount is kept as typed ("1,500"); validation reads it.
struct Conditions {
    bool coSigner = false;
    bool deposit = false;
    QString depositAmount;
    bool higherRent = false;
    QString rentAmount;
    QString other; // free text; a condition when not blank
};

// The checklist of reasons for a denial or a conditional approval.
struct Reasons {
    bool incomeBelowMinimum = false;
    bool creditHistory = false;
    bool rentalHistory = false;
    bool evictionRecord = false;
    bool unverifiableInformation = false;
    QString other;
    bool any() const;
    // Each reason checked, as a sentence a letter lists.
    QStringList sentences() const;
};

// A credit score used in the decision, disclosed as 15 U.S.C. § 1681m(a)(1)(B) and § 1681g(f) ask.
struct ScoreDisclosure {
    bool used = false;
    QString score, rangeLow, rangeHigh; // as typed
    std::array<QString, 4> keyFactors;  // up to four, blank ones left out
    QDate date;
    QString providedBy;
    QStringList factors() const;
};

// The folder's terms and the applicant's multiple at the moment of the decision.
struct Criteria {
    double monthlyRent = 0;       // 0: none was set
    double minimumMultiple = 3;
    std::optional<double> multiple; // unknown when the incomes or the rent could not be read
};

struct Decision {
    Status status = Status::Pending;
    QDate date; // of the decision; invalid while pending
    Conditions conditions;
    Reasons reasons;
    bool reportUsed = false;
    QString agency; // the name of one of the folder's agencies, when a report was used
    ScoreDisclosure score;
    Criteria criteria;
};

// The criteria of this moment for an applicant's row: the folder's terms and the multiple they give.
Criteria criteriaAt(const compare::ApplicantRow &row, const compare::Terms &terms);

// A date as the program writes and reads it: YYYY-MM-DD. Nothing when it cannot be read.
std::optional<QDate> readDate(const QString &typed);
QString dateText(const QDate &date);

// Why the decision cannot be kept, each problem a sentence; empty when it can. `today` is the
// day the check is made (a decision dated later is refused).
QStringList problemsOf(const Decision &decision, const QDate &today);

} // namespace decision
