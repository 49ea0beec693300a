#include "Decision.h"

#include "compare/ComparisonExport.h"
#include "compare/IncomeReading.h"

#include <algorithm>

namespace decision {
namespace {

struct StatusText {
    Status status;
    const char *name;
};
constexpr StatusText kStatuses[] = {
    {Status::Pending, "Pending"},
    {Status::Approved, "Approved"},
    {Status::ApprovedWithConditions, "Approved with conditions"},
    {Status::Denied, "Denied"},
    {Status::Withdrawn, "Withdrawn"},
};

bool isAmount(const QString &typed)
{
    const std::optional<double> amount = compare::readRent(typed);
    return amount && *amount > 0;
}

bool isNumber(const QString &typed, double *value = nullptr)
{
    bool ok = false;
    const double read = typed.trimmed().toDouble(&ok);
    if (value)
        *value = read;
    return ok;
}

} // namespace

QString statusName(Status status)
{
    for (const StatusText &entry : kStatuses)
        if (entry.status == status)
            return QString::fromLatin1(entry.name);
    return QString();
}

std::optional<Status> statusNamed(const QString &name)
{
    for (const StatusText &entry : kStatuses)
        if (name == QLatin1String(entry.name))
            return entry.status;
    return std::nullopt;
}

bool Reasons::any() const
{
    return incomeBelowMinimum || creditHistory || rentalHistory || evictionRecord || unverifiableInformation
        || !other.trimmed().isEmpty();
}

QStringList Reasons::sentences() const
{
    QStringList list;
    if (incomeBelowMinimum)
        list << QStringLiteral("Income below the minimum required for the rent.");
    if (creditHistory)
        list << QStringLiteral("Credit history.");
    if (rentalHistory)
        list << QStringLiteral("Rental history.");
    if (evictionRecord)
        list << QStringLiteral("Eviction record.");
    if (unverifiableInformation)
        list << QStringLiteral("Information that could not be verified, or an incomplete application.");
    if (!other.trimmed().isEmpty())
        list << other.trimmed();
    return list;
}

QStringList ScoreDisclosure::factors() const
{
    QStringList list;
    for (const QString &factor : keyFactors)
        if (!factor.trimmed().isEmpty())
            list << factor.trimmed();
    return list;
}

Criteria criteriaAt(const compare::ApplicantRow &row, const compare::Terms &terms)
{
    return {terms.monthlyRent, terms.minimumMultiple, compare::incomeMultiple(row, terms.monthlyRent)};
}

std::optional<QDate> readDate(const QString &typed)
{
    const QDate date = QDate::fromString(typed.trimmed(), Qt::ISODate);
    if (!date.isValid() || typed.trimmed().size() != 10)
        return std::nullopt;
    return date;
}

QString dateText(const QDate &date) { return date.isValid() ? date.toString(Qt::ISODate) : QString(); }

QStringList problemsOf(const Decision &decision, const QDate &today)
{
    QStringList problems;
    if (decision.status == Status::Pending)
        return problems; // nothing decided, nothing to check
    if (!decision.date.isValid())
        problems << QStringLiteral("The decision needs its date (YYYY-MM-DD).");
    else if (decision.date > today)
        problems << QStringLiteral("The decision's date %1 is in the future.").arg(dateText(decision.date));
    const Conditions &conditions = decision.conditions;
    if (decision.status == Status::ApprovedWithConditions) {
        if (!conditions.coSigner && !conditions.deposit && !conditions.higherRent && conditions.other.trimmed().isEmpty())
            problems << QStringLiteral("An approval with conditions needs at least one condition.");
        if (conditions.deposit && !isAmount(conditions.depositAmount))
            problems << QStringLiteral("The larger deposit needs its amount (\"%1\" is not one).").arg(conditions.depositAmount);
        if (conditions.higherRent && !isAmount(conditions.rentAmount))
            problems << QStringLiteral("The higher rent needs its amount (\"%1\" is not one).").arg(conditions.rentAmount);
    }
    if (decision.reportUsed && decision.agency.trimmed().isEmpty())
        problems << QStringLiteral("A consumer report was used: name the agency that gave it.");
    const ScoreDisclosure &score = decision.score;
    if (score.used) {
        double value = 0, low = 0, high = 0;
        if (!isNumber(score.score, &value))
            problems << QStringLiteral("The credit score \"%1\" is not a number.").arg(score.score);
        if (!isNumber(score.rangeLow, &low) || !isNumber(score.rangeHigh, &high) || !(low < high))
            problems << QStringLiteral("The credit score needs its range, lowest and highest possible score.");
        else if (isNumber(score.score) && (value < low || value > high))
            problems << QStringLiteral("The credit score %1 lies outside its range %2–%3.")
                            .arg(score.score.trimmed(), score.rangeLow.trimmed(), score.rangeHigh.trimmed());
        if (!score.date.isValid())
            problems << QStringLiteral("The credit score needs the date it was created.");
        else if (score.date > today)
            problems << QStringLiteral("The credit score's date %1 is in the future.").arg(dateText(score.date));
        if (score.providedBy.trimmed().isEmpty())
            problems << QStringLiteral("The credit score needs who provided it.");
        if (!decision.reportUsed)
            problems << QStringLiteral("A credit score comes from a consumer report: mark the report as used.");
    }
    return problems;
}

} // namespace decision
