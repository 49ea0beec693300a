#include "DecisionRows.h"

#include "DecisionFile.h"
#include "base/Failure.h"

namespace decision {

void addDecisions(QList<compare::ApplicantRow> &rows, const RetentionPeriods &periods)
{
    for (compare::ApplicantRow &row : rows) {
        if (row.state != compare::ApplicantRow::State::Read)
            continue;
        try {
            const Decision decision = readDecision(row.path);
            row.decisionStatus = statusName(decision.status);
            row.decided = decision.status == Status::Pending ? QDate() : decision.date;
            row.keepUntil = keepUntil(decision, periods).value_or(QDate());
        } catch (const base::Failure &failure) {
            // Changed or damaged since the listing read it: said, not hidden as Pending.
            row.decisionStatus = QStringLiteral("Unreadable");
            row.reason = failure.description();
        }
    }
}

QList<compare::ApplicantRow> listWithDecisions(const QString &folder, const RetentionPeriods &periods)
{
    QList<compare::ApplicantRow> rows = compare::listApplicants(folder);
    addDecisions(rows, periods);
    return rows;
}

} // namespace decision
