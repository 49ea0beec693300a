#include "DecisionRows.h"

#include "DecisionFile.h"
#include "base/Failure.h"

#include <QFileInfo>

namespace decision {
namespace {

void setDecision(compare::ApplicantRow &row, const Decision &decision, const RetentionPeriods &periods)
{
    row.decisionStatus = statusName(decision.status);
    row.decided = decision.status == Status::Pending ? QDate() : decision.date;
    row.keepUntil = keepUntil(decision, periods).value_or(QDate());
}

} // namespace

compare::ApplicantRow rowWithDecision(const QString &path, const RetentionPeriods &periods)
{
    const QFileInfo info(path);
    compare::ApplicantRow row;
    try {
        // One read for the record and the decision both.
        const ApplicantReading reading = readApplicant(path);
        row.path = info.absoluteFilePath();
        row.fileName = info.fileName();
        row.modified = info.lastModified();
        compare::fillRow(row, reading.record);
        setDecision(row, reading.decision, periods);
        return row;
    } catch (const base::Failure &failure) {
        // Locked, damaged or foreign: the comparison's row says so in its own words. A record it
        // reads means that the decision is what could not be: said, not shown as pending.
        row = compare::applicantRow(path);
        if (row.state == compare::ApplicantRow::State::Read) {
            row.decisionStatus = QStringLiteral("Unreadable");
            row.reason = failure.description();
        }
        return row;
    }
}

QList<compare::ApplicantRow> listWithDecisions(const QString &folder, const RetentionPeriods &periods)
{
    return compare::listApplicants(folder, [&periods](const QString &path) { return rowWithDecision(path, periods); });
}

} // namespace decision
