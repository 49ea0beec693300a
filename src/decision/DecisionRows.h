#pragma once
// The decision of each row of the Applicants window: its status, date and keep-until day, read
// from the files the comparison listed.
#include "Vacancy.h"
#include "compare/ApplicantList.h"

#include <QList>
#include <QString>

namespace decision {

// A file's row with its decision's status, date and keep-until day, from one read of the file. A
// locked file's decision is locked with it and stays blank; a decision that cannot be read says so
// in the status, with why in the row's reason (the status's tooltip).
compare::ApplicantRow rowWithDecision(const QString &path, const RetentionPeriods &periods);

// A folder's rows with their decisions: what the Applicants window lists. Throws base::Failure
// when the folder cannot be listed.
QList<compare::ApplicantRow> listWithDecisions(const QString &folder, const RetentionPeriods &periods);

} // namespace decision
