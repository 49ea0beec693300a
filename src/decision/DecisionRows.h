#pragma once
// The decision of each row of the Applicants window: its status, date and keep-until day, read
// from the files the comparison listed.
#include "Vacancy.h"
#include "compare/ApplicantList.h"

#include <QList>
#include <QString>

namespace decision {

// Fills each readable row's decision columns from its file. A locked file's decision is locked
// with it and stays blank; a decision that cannot be read says so in the status, with why in the
// row's reason kept for the tooltip.
void addDecisions(QList<compare::ApplicantRow> &rows, const RetentionPeriods &periods);

// A folder's rows with their decisions: what the Applicants window lists. Throws base::Failure
// when the folder cannot be listed.
QList<compare::ApplicantRow> listWithDecisions(const QString &folder, const RetentionPeriods &periods);

} // namespace decision
