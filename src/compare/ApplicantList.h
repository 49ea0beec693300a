#pragma once
#include "IncomeReading.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

#include <functional>
#include <optional>

namespace compare {

// One applicant file of a folder as the comparison shows it. The SSN and the date of birth are
// never taken into it.
struct ApplicantRow {
    enum class State { Read, Locked, Refused };
    State state = State::Read;
    QString path;
    QString fileName;
    QDateTime modified;
    QString reason; // for Locked and Refused: why there are no values
    QString name, coName, phone, monthlyPayment, employer, employedFor, livedFor;
    QString incomeText, coIncomeText; // as typed
    IncomeReading income, coIncome, combined;
    // The landlord's decision as the decision layer read it (empty while it was not, or for a
    // locked file, whose decision is locked with it): shown, sorted and exported, never read here.
    QString decisionStatus;
    QDate decided, keepUntil;
};

// The comparison's columns, in their order, for the window, the CSV and the PDF alike.
// The decision's figures come right after the names, so that a window of 1,000 pixels shows them.
enum class Column {
    File, Name, CoName, Combined, Multiple, Status, Decided, KeepUntil, Income, CoIncome, Phone, MonthlyPayment, Employer, EmployedFor, LivedFor,
    Modified, Count
};
QString columnTitle(Column column);

// Combined annual income ÷ (12 × monthly rent), when both are known and the rent is positive.
std::optional<double> incomeMultiple(const ApplicantRow &row, double monthlyRent);

// The same multiple in hundredths, cut (never rounded) from the income and rent in cents: 2.966 is
// 296. It is the figure shown, and a minimum of two decimals compares with it exactly as with the
// whole multiple, so the figure never contradicts the mark.
std::optional<qint64> multipleHundredths(const ApplicantRow &row, double monthlyRent);

// What a cell shows as text; the multiple with two decimals, cut.
QString cellText(const ApplicantRow &row, Column column, double monthlyRent);

// Every applicant file (*.tenvoria) of the folder, sorted by name. A file that cannot be read (not a
// regular file, damaged, foreign, oversized, unreadable) is a row with its reason, a locked one a row
// that says so; none is skipped and none stops the listing. Throws base::Failure when the folder
// itself cannot be listed.
// One file's row.
ApplicantRow applicantRow(const QString &path);

// How a file becomes its row; a layer above reads more of the file in the same read.
using RowReader = std::function<ApplicantRow(const QString &path)>;
QList<ApplicantRow> listApplicants(const QString &folder, const RowReader &readRow = applicantRow);

// The values of a row from a record already read (by settings key), as applicantRow() takes them:
// for a locked file opened with its passphrase.
void fillRow(ApplicantRow &row, const QMap<QString, QString> &record);

} // namespace compare
