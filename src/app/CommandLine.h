#pragma once
#include <QString>
#include <QStringList>

namespace app {

// What the command line asks for. The program takes one applicant file (a path, or a file: URL as
// some file managers pass one), --applicants FOLDER, --help and --version; Qt's own options (-platform, -style, …) are
// taken off by the application object before this reads the rest. Nothing else stops the start:
// unknown options and further files are ignored, and a notice names them.
struct CommandLine {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    QString applicantFile; // for Run; empty for none
    QString applicantsFolder; // --applicants FOLDER: the Applicants window on that folder
    QStringList ignored;   // what the start leaves unused, each in a few words
};

CommandLine readCommandLine(const QStringList &arguments);

// The one line said on standard error about the ignored arguments; empty when there are none.
QString ignoredNotice(const CommandLine &line);

// The usage text --help prints.
QString usageText();

} // namespace app
