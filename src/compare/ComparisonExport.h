#pragma once
#include "ApplicantList.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace compare {

// What the comparison is made for: the unit's monthly rent and the least income multiple the
// landlord accepts (0 rent: none typed).
struct Terms {
    double monthlyRent = 0;
    double minimumMultiple = 3;
};

// The minimum as the window and the PDF show it: "3", "2.5", "2.97".
QString minimumText(double minimum);

// Whether the row's multiple is known and below the minimum: the exact multiple, which the figure
// shown (two decimals, cut) always agrees with.
bool belowMinimum(const ApplicantRow &row, const Terms &terms);

// The comparison as CSV: UTF-8, CRLF line ends, fields quoted as RFC 4180 says, a header row, and a
// last column with the rows' notes (why an income was not read, why a file has no values). A value
// a spreadsheet would run as a formula (=, +, -, @, a tab or CR first) is written behind an
// apostrophe, so that it shows as the text it is.
QByteArray comparisonCsv(const QList<ApplicantRow> &rows, const Terms &terms);

// The comparison as a PDF: one landscape US Letter table a page, the folder, rent and minimum in
// each page's header, rows below the minimum marked (shaded, and "(below)" by the multiple for a page
// printed without colour), no column cut where figures or dates stand, text as vector text with its fonts embedded.
QByteArray comparisonPdf(const QList<ApplicantRow> &rows, const Terms &terms, const QString &folder);

// Writes an export to `path` through the checked replacement, owner-only (it names applicants and
// their incomes), following a link the user made. Throws base::WriteFailure.
void writeComparison(const QString &path, const QByteArray &bytes);

// The note of a row: why an income or the file could not be read, or how an income was read.
QString rowNote(const ApplicantRow &row);

} // namespace compare
