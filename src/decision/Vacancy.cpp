#include "Vacancy.h"

#include "base/Failure.h"
#include "compare/ComparisonSettings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace decision {
namespace {

struct PeriodKey {
    Status status;
    const char *name;
};
constexpr PeriodKey kPeriodKeys[] = {
    {Status::Approved, "RetainApproved"},
    {Status::ApprovedWithConditions, "RetainApprovedWithConditions"},
    {Status::Denied, "RetainDenied"},
    {Status::Withdrawn, "RetainWithdrawn"},
};

// A hundred years: past it a typing slip, not a policy.
constexpr int kLongestPeriod = 1200;

std::optional<int> &periodOf(RetentionPeriods &periods, Status status)
{
    switch (status) {
    case Status::Approved:
        return periods.approved;
    case Status::ApprovedWithConditions:
        return periods.approvedWithConditions;
    case Status::Denied:
        return periods.denied;
    default:
        return periods.withdrawn;
    }
}

} // namespace

const Agency *Vacancy::agencyNamed(const QString &name) const
{
    for (const Agency &agency : agencies)
        if (agency.name.trimmed() == name.trimmed())
            return &agency;
    return nullptr;
}

bool isTollFree(const QString &phone)
{
    QString digits;
    for (QChar ch : phone)
        if (ch.isDigit())
            digits += ch;
    if (digits.size() == 11 && digits.startsWith(QLatin1Char('1')))
        digits.remove(0, 1);
    static const QStringList codes = {QStringLiteral("800"), QStringLiteral("833"), QStringLiteral("844"),
                                      QStringLiteral("855"), QStringLiteral("866"), QStringLiteral("877"),
                                      QStringLiteral("888")};
    return digits.size() == 10 && codes.contains(digits.left(3));
}

QStringList problemsOf(const Agency &agency)
{
    QStringList problems;
    const QString name = agency.name.trimmed();
    if (name.isEmpty())
        problems << QStringLiteral("A consumer reporting agency needs its name.");
    const QString who = name.isEmpty() ? QStringLiteral("The agency") : QStringLiteral("The agency %1").arg(name);
    if (agency.address.trimmed().isEmpty())
        problems << QStringLiteral("%1 needs its address: the adverse action notice must give it.").arg(who);
    if (agency.phone.trimmed().isEmpty())
        problems << QStringLiteral("%1 needs its telephone number: the adverse action notice must give it.").arg(who);
    else if (agency.nationwide && !isTollFree(agency.phone))
        problems << QStringLiteral("%1 keeps files nationwide, so the notice must give its toll-free number "
                                   "(800, 833, 844, 855, 866, 877 or 888); \"%2\" is not one.")
                        .arg(who, agency.phone.trimmed());
    return problems;
}

std::optional<int> RetentionPeriods::of(Status status) const
{
    if (status == Status::Pending)
        return std::nullopt;
    return periodOf(const_cast<RetentionPeriods &>(*this), status);
}

std::optional<QDate> keepUntil(const Decision &decision, const RetentionPeriods &periods)
{
    const std::optional<int> months = periods.of(decision.status);
    if (!months || !decision.date.isValid())
        return std::nullopt;
    return decision.date.addMonths(*months); // QDate clamps a day the month lacks to its last
}

bool isExpired(const Decision &decision, const RetentionPeriods &periods, const QDate &today)
{
    const std::optional<QDate> until = keepUntil(decision, periods);
    return until && today > *until;
}

Vacancy vacancyOf(const compare::ComparisonSettings &settings, const QString &folder)
{
    Vacancy vacancy;
    const auto text = [&](const char *name) { return settings.folderValue(QLatin1String(name), folder); };
    vacancy.unitAddress = text("UnitAddress");
    vacancy.landlordName = text("LandlordName");
    vacancy.landlordAddress = text("LandlordAddress");
    vacancy.landlordPhone = text("LandlordPhone");
    const QJsonArray agencies = QJsonDocument::fromJson(text("Agencies").toUtf8()).array();
    for (const QJsonValue &value : agencies) {
        const QJsonObject object = value.toObject();
        vacancy.agencies.append({object.value(QLatin1String("name")).toString(),
                                 object.value(QLatin1String("address")).toString(),
                                 object.value(QLatin1String("phone")).toString(),
                                 object.value(QLatin1String("website")).toString(),
                                 object.value(QLatin1String("nationwide")).toBool(true)});
    }
    return vacancy;
}

void setVacancyOf(compare::ComparisonSettings &settings, const QString &folder, const Vacancy &vacancy)
{
    QStringList problems;
    QJsonArray agencies;
    for (const Agency &agency : vacancy.agencies) {
        problems << problemsOf(agency);
        agencies.append(QJsonObject{{QLatin1String("name"), agency.name.trimmed()},
                                    {QLatin1String("address"), agency.address.trimmed()},
                                    {QLatin1String("phone"), agency.phone.trimmed()},
                                    {QLatin1String("website"), agency.website.trimmed()},
                                    {QLatin1String("nationwide"), agency.nationwide}});
    }
    if (!problems.isEmpty())
        throw base::Failure(problems.join(QLatin1Char(' ')));
    const auto set = [&](const char *name, const QString &value) {
        settings.setFolderValue(QLatin1String(name), folder, value.trimmed());
    };
    set("UnitAddress", vacancy.unitAddress);
    set("LandlordName", vacancy.landlordName);
    set("LandlordAddress", vacancy.landlordAddress);
    set("LandlordPhone", vacancy.landlordPhone);
    set("Agencies", agencies.isEmpty() ? QString() : QString::fromUtf8(QJsonDocument(agencies).toJson(QJsonDocument::Compact)));
}

RetentionPeriods retentionOf(const compare::ComparisonSettings &settings, const QString &folder)
{
    RetentionPeriods periods;
    for (const PeriodKey &key : kPeriodKeys) {
        const QString text = settings.folderValue(QLatin1String(key.name), folder);
        if (text.isEmpty())
            continue; // the default
        bool ok = false;
        const int months = text.toInt(&ok);
        periodOf(periods, key.status) = ok && months >= 0 && months <= kLongestPeriod ? std::optional<int>(months) : std::nullopt;
    }
    return periods;
}

void setRetentionOf(compare::ComparisonSettings &settings, const QString &folder, const RetentionPeriods &periods)
{
    for (const PeriodKey &key : kPeriodKeys)
        if (const std::optional<int> months = periods.of(key.status); months && (*months < 0 || *months > kLongestPeriod))
            throw base::Failure(QStringLiteral("A retention period is a number of months from 0 to %1; %2 is not one.")
                                    .arg(kLongestPeriod)
                                    .arg(*months));
    for (const PeriodKey &key : kPeriodKeys) {
        const std::optional<int> months = periods.of(key.status);
        // "none" is written as such, so that it is told apart from the default.
        settings.setFolderValue(QLatin1String(key.name), folder, months ? QString::number(*months) : QStringLiteral("none"));
    }
}

} // namespace decision
