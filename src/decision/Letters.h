#pragma once
// The letters to an applicant after the decision: an approval, the adverse action notice the Fair
// Credit Reporting Act asks for (15 U.S.C. § 1681m(a)) when a denial or a conditional approval
// rested on a consumer report, and a plain denial when none was used. Built with the program's
// own engine as the form is, so they share its fonts, page set-up, .doc and PDF.
#include "Decision.h"
#include "Vacancy.h"
#include "form/FormDocument.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace decision {

enum class LetterKind { Approval, AdverseAction, Denial };
// "approval", "adverse-action", "denial": the render tool's names.
std::optional<LetterKind> letterKindNamed(const QString &name);
QString letterTitle(LetterKind kind);

// What a letter is made from: the applicant's record (by settings key), the decision and the
// folder's particulars, and the day it is dated.
struct LetterInput {
    QMap<QString, QString> record;
    Decision decision;
    Vacancy vacancy;
    QDate date;
};

// What the letter needs and the input lacks, each named in a sentence; empty when it can be made.
QStringList missingFor(LetterKind kind, const LetterInput &input);

// One paragraph of a letter.
struct LetterParagraph {
    QString text;
    bool heading = false;
};
// The letter's paragraphs in order. Throws base::Failure naming everything missing (missingFor).
QList<LetterParagraph> letterContent(LetterKind kind, const LetterInput &input);

// A letter made once: its .doc bytes and their one decoding, and its PDF titled with the letter.
struct Letter {
    form::FormDocument document;
    QString title;
    QByteArray pdf() const;
};
// Builds the letter with the built-in engine. Throws base::Failure (missing elements first).
Letter buildLetter(LetterKind kind, const LetterInput &input);

// Writes a letter's .doc or PDF owner-only through the checked replacement (a letter may hold a
// credit score), following a link the user made. Throws base::WriteFailure.
void saveLetter(const QString &path, const QByteArray &bytes);

// Makes the letter and saves it as a .doc or a PDF, by the name's ending (.doc or .pdf, any case):
// the target is checked first and the missing elements named, so that a refusal writes nothing.
// Throws base::Failure.
void saveLetterAs(const QString &path, LetterKind kind, const LetterInput &input);

} // namespace decision
