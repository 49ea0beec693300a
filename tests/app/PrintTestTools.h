#pragma once
// What the print and PDF tests share: generating the form for a record through the real
// generator and engine, running the PDF tools, and reading what they report.
#include "ProgramRun.h"

#include <QRectF>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace printtest {

enum class Record { Empty, Sample, Long };

// Generates the form for the record into `folder` and answers the document's path (empty on
// failure); the record's cell texts, as the document holds them, go to `cellTexts`.
QString generateForm(Record record, const QString &folder, QStringList *cellTexts = nullptr);

// The same for a record of these text fields (by control name), the rest left empty.
QString generateForm(const std::map<QString, QString> &texts, const QString &folder);

using testsupport::ProgramRun;
using testsupport::runProgram;

// pdftotext's words (ligatures decomposed) with their boxes, in points from the page's top-left corner.
struct Word {
    int page = 0;
    QRectF box;
    QString text;
};
std::vector<Word> wordsOf(const QString &pdf);

// The text as pdftotext reads it in drawing order (a cell's lines together), ligatures decomposed, whitespace collapsed to single spaces.
QString flatTextOf(const QString &pdf);

// Whether every text occurs in the flattened text, in any order; the missing ones otherwise.
QStringList missingTexts(const QStringList &texts, const QString &flatText);

// The y of every horizontal table line on the first page, in points from its top, found in a
// 288 dpi rendering: a thin dark band is one line (its centre); a thick one (a shaded row) gives
// its top and bottom edges.
std::vector<double> rowBoundaries(const QString &pdf, const QString &scratchFolder);

} // namespace printtest
