#include "ApplicantList.h"

#include <QCoreApplication>

#include "base/Failure.h"
#include "record/ApplicantFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <thread>
#include <vector>
#include <cmath>
#include <cstring>

namespace compare {
namespace {

QString value(const QMap<QString, QString> &record, const char *key)
{
    return record.value(QLatin1String(key)).simplified();
}

} // namespace

QString columnTitle(Column column)
{
    switch (column) {
    case Column::File: return QCoreApplication::translate("compare::Column", "File");
    case Column::Name: return QCoreApplication::translate("compare::Column", "Applicant");
    case Column::CoName: return QCoreApplication::translate("compare::Column", "Co-applicant");
    case Column::Phone: return QCoreApplication::translate("compare::Column", "Phone");
    case Column::MonthlyPayment: return QCoreApplication::translate("compare::Column", "Current monthly payment");
    case Column::Income: return QCoreApplication::translate("compare::Column", "Applicant's annual income");
    case Column::CoIncome: return QCoreApplication::translate("compare::Column", "Co-applicant's annual income");
    case Column::Combined: return QCoreApplication::translate("compare::Column", "Combined annual income");
    case Column::Multiple: return QCoreApplication::translate("compare::Column", "Income ÷ rent");
    case Column::Employer: return QCoreApplication::translate("compare::Column", "Current employer");
    case Column::EmployedFor: return QCoreApplication::translate("compare::Column", "Employed there");
    case Column::LivedFor: return QCoreApplication::translate("compare::Column", "At current address");
    case Column::Modified: return QCoreApplication::translate("compare::Column", "File date");
    case Column::Status: return QCoreApplication::translate("compare::Column", "Status");
    case Column::Decided: return QCoreApplication::translate("compare::Column", "Decided");
    case Column::KeepUntil: return QCoreApplication::translate("compare::Column", "Keep until");
    case Column::Count: break;
    }
    return {};
}

std::optional<double> incomeMultiple(const ApplicantRow &row, double monthlyRent)
{
    if (row.state != ApplicantRow::State::Read || !row.combined.annual || !(monthlyRent > 0))
        return std::nullopt;
    return *row.combined.annual / (12 * monthlyRent);
}

std::optional<qint64> multipleHundredths(const ApplicantRow &row, double monthlyRent)
{
    const qint64 rentCents = std::llround(monthlyRent * 100);
    if (row.state != ApplicantRow::State::Read || !row.combined.annual || rentCents <= 0)
        return std::nullopt;
    // Incomes are at most $20 million together and rents in cents: the products stay far inside 64 bits.
    return std::llround(*row.combined.annual * 100) * 100 / (12 * rentCents);
}

QString cellText(const ApplicantRow &row, Column column, double monthlyRent)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const auto amount = [&](const IncomeReading &reading, const QString &typed) {
        if (reading.annual)
            return english.toString(*reading.annual, 'f', 0);
        return typed; // shown as typed; the reason is the cell's tooltip
    };
    switch (column) {
    case Column::File: return row.fileName;
    case Column::Modified: return row.modified.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    case Column::Status: return row.decisionStatus;
    case Column::Decided: return row.decided.toString(Qt::ISODate);
    case Column::KeepUntil: return row.keepUntil.toString(Qt::ISODate);
    default: break;
    }
    if (row.state != ApplicantRow::State::Read)
        return column == Column::Name ? row.reason : QString();
    switch (column) {
    case Column::Name: return row.name;
    case Column::CoName: return row.coName;
    case Column::Phone: return row.phone;
    case Column::MonthlyPayment: return row.monthlyPayment;
    case Column::Income: return amount(row.income, row.incomeText);
    case Column::CoIncome: return amount(row.coIncome, row.coIncomeText);
    case Column::Combined: return row.combined.annual ? english.toString(*row.combined.annual, 'f', 0) : QString();
    case Column::Multiple: {
        const std::optional<qint64> hundredths = multipleHundredths(row, monthlyRent);
        if (!hundredths)
            return QString();
        return english.toString(*hundredths / 100) + QLatin1Char('.') + QStringLiteral("%1").arg(*hundredths % 100, 2, 10, QLatin1Char('0'));
    }
    case Column::Employer: return row.employer;
    case Column::EmployedFor: return row.employedFor;
    case Column::LivedFor: return row.livedFor;
    default: return {};
    }
}

void fillRow(ApplicantRow &row, const QMap<QString, QString> &record)
{
    row.name = value(record, "App Info Name");
    row.coName = value(record, "Co Name");
    row.phone = value(record, "App Info Phone");
    row.monthlyPayment = value(record, "App Info Current Monthly Payment");
    row.employer = value(record, "App Info Emp Info Current Employer");
    row.employedFor = value(record, "App Info Emp Info How Long");
    row.livedFor = value(record, "App Info Current How Long");
    row.incomeText = value(record, "App Info Emp Info Annual Income");
    row.coIncomeText = value(record, "Co Emp Info Annual Income");
    row.income = readIncome(row.incomeText);
    row.coIncome = readIncome(row.coIncomeText);
    row.combined = combineIncomes(row.income, row.coIncome);
}

ApplicantRow applicantRow(const QString &path)
{
    ApplicantRow row;
    const QFileInfo info(path);
    row.path = info.absoluteFilePath();
    row.fileName = info.fileName();
    row.modified = info.lastModified();
    try {
        QMap<QString, QString> record;
        try {
            record = record::readApplicantFile(path);
        } catch (const record::UnlockFailure &failure) {
            if (failure.kind() != record::UnlockFailure::Kind::NeedsPassphrase)
                throw;
            row.state = ApplicantRow::State::Locked;
            row.reason = QStringLiteral("Locked with a passphrase: open it to see it");
            return row;
        }
        fillRow(row, record);
    } catch (const base::Failure &failure) {
        row.state = ApplicantRow::State::Refused;
        // "The applicant file X cannot be opened: why." names the file twice in a row of its own.
        QString why = failure.description();
        const qsizetype colon = why.indexOf(QStringLiteral(": "));
        row.reason = colon >= 0 ? why.mid(colon + 2) : why;
        if (!row.reason.isEmpty())
            row.reason[0] = row.reason[0].toUpper();
    }
    return row;
}

QList<ApplicantRow> listApplicants(const QString &folder, const RowReader &readRow)
{
    const QDir dir(folder);
    if (!dir.exists())
        throw base::Failure(QStringLiteral("The folder %1 cannot be listed: %2.").arg(folder, QString::fromLocal8Bit(std::strerror(ENOENT))));
    if (!QFileInfo(folder).isReadable() || !QFileInfo(folder).isExecutable())
        throw base::Failure(QStringLiteral("The folder %1 cannot be listed: %2.").arg(folder, QString::fromLocal8Bit(std::strerror(EACCES))));
    // System: a FIFO or socket named like an applicant file is listed with its reason, not skipped.
    const QStringList names = dir.entryList({QStringLiteral("*.tenvoria")}, QDir::Files | QDir::System,
                                            QDir::Name | QDir::IgnoreCase);
    QList<ApplicantRow> rows(names.size());
    // Each file is read on its own, so the files are shared among the processor's cores: a folder
    // of thousands is read in a fraction of the time. Each thread fills its own rows, so no locks.
    const qsizetype threads = std::clamp<qsizetype>(qsizetype(std::thread::hardware_concurrency()), 1, 4);
    const qsizetype share = (names.size() + threads - 1) / threads;
    const auto read = [&](qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to; ++i)
            rows[i] = readRow(dir.filePath(names[i]));
    };
    if (names.size() < 64) {
        read(0, names.size());
        return rows;
    }
    std::vector<std::thread> helpers;
    for (qsizetype from = share; from < names.size(); from += share)
        helpers.emplace_back(read, from, std::min(from + share, names.size()));
    read(0, std::min(share, names.size()));
    for (std::thread &helper : helpers)
        helper.join();
    return rows;
}

} // namespace compare
