#pragma once
// Runs another program to its end for a test: a tool that checks what we wrote, or one of our
// own programs under a private environment. A time limit makes a hang fail the test instead of
// stopping the run.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace testsupport {

struct ProgramRun {
    bool finished = false;                              // ended within the time allowed
    QProcess::ExitStatus status = QProcess::CrashExit;  // NormalExit unless it crashed or was killed
    int exitCode = -1;                                  // its exit code; -1 unless it ended normally
    QString output;                                     // standard output
    QString errors;                                     // standard error
};

inline ProgramRun runProgram(const QString &program, const QStringList &arguments, int timeoutMs = 120000,
                             const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ProgramRun run;
    run.finished = process.waitForFinished(timeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.status = run.finished ? process.exitStatus() : QProcess::CrashExit;
    if (run.status == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace testsupport
