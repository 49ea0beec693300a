// The program as main() wires it, with its signal handling, on the user's store (under
// XDG_CONFIG_HOME), the passphrase dialog answered with the passphrase given on the command line:
//   LockedHost open FILE PASSPHRASE  opens the locked file, types into the applicant's name, prints
//                                    "typed" and runs until it is killed;
//   LockedHost start PASSPHRASE      starts as the program does, prints "name|SSN|date of birth" of
//                                    the window and ends.
#include "NoHomePage.h"
#include "ScriptedPassphrasePrompt.h"
#include "app/EndOnSignal.h"
#include "app/Program.h"
#include "entry/ApplicantFiles.h"
#include "entry/MainWindow.h"
#include "record/SettingsStore.h"
#include "form/FormEngine.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>

#include <cstdio>

int main(int argc, char **argv)
{
    testsupport::NoHomePage services;
    shell::setStartupServices(&services);
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments().mid(1);
    const bool opening = arguments.size() == 3 && arguments[0] == QLatin1String("open");
    if (!opening && !(arguments.size() == 2 && arguments[0] == QLatin1String("start"))) {
        std::fprintf(stderr, "usage: %s open FILE PASSPHRASE | start PASSPHRASE\n", argv[0]);
        return 2;
    }
    form::FormEngine engine(QDir::temp().filePath(QStringLiteral("engine.lock")));
    record::SettingsStore store;
    app::Program program(store, engine, {QDir::tempPath(), {}});
    const app::EndOnSignal endOnSignal([&program] { program.closeForSignal(); });
    testsupport::ScriptedPassphrasePrompt prompt;
    prompt.openAnswers = {arguments.last()};
    program.mainWindow().applicantFiles().setPassphrasePrompt(&prompt);
    if (!program.start(opening ? arguments[1] : QString()))
        return 3;
    const entry::RecordWidgets &record = program.mainWindow().record();
    QLineEdit *name = record.text(QStringLiteral("txtAppInfoName"));
    if (opening) {
        name->setText(name->text() + QStringLiteral(" edited"));
        std::printf("typed\n");
        std::fflush(stdout);
        return QApplication::exec();
    }
    std::printf("%s|%s|%s\n", qPrintable(name->text()), qPrintable(record.text(QStringLiteral("txtAppInfoSSN"))->text()),
                qPrintable(record.text(QStringLiteral("txtAppInfoDateOfBirth"))->text()));
    return 0;
}
