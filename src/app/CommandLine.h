#pragma once
#include <QString>
#include <QStringList>

namespace app {

// What the command line asks for. The program takes one applicant file (a path, or a file: URL as
// some file managers pass one), --applicants FOLDER, --help and --version; Qt's own options (-platform, -style, …) are
// taken off by the application object before this reads the rest.
struct CommandLine {
    enum class Action { Run, Help, Version, Mistake };
    Action action = Action::Run;
    QString applicantFile; // for Run; empty for none
    QString applicantsFolder; // --applicants FOLDER: the Applicants window on that folder
    QString mistake;       // for Mistake: what is wrong, in a sentence
};

CommandLine readCommandLine(const QStringList &arguments);

// The usage text --help prints, and a mistake is followed by.
QString usageText();

} // namespace app
