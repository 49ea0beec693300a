#pragma once
// tenvoria-render's commands for the landlord's decisions: the disposal of a folder's expired
// applicant files and the letters to an applicant.
#include <QString>
#include <QStringList>

class QTextStream;

namespace tools {

struct DisposalRequest {
    QString folder;
    bool dryRun = false;
    QString passphraseFile; // opens the folder's locked files; empty: they stay unchecked
};
// Lists the folder's expired files on `out` (file, applicant, decision, its date, kept until) and,
// without dryRun, disposes of them as the Applicants window does, with the same log. The folder's
// retention periods come from the Applicants window's settings. Returns the process's exit code:
// 0 when everything listed was disposed of (or only listed), 1 otherwise, the problems on `err`.
int runDisposal(const DisposalRequest &request, QTextStream &out, QTextStream &err);

struct LetterRequest {
    QString kind; // approval, adverse-action, denial
    QString applicant;
    QString passphraseFile;
    QString docPath, pdfPath;
};
// Writes the letter for the applicant file's decision, with the particulars kept for its folder.
// Returns the exit code, the reasons for a refusal on `err`.
int runLetter(const LetterRequest &request, QTextStream &err);

} // namespace tools
