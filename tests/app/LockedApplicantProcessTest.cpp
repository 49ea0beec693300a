// A locked applicant open in the running program is in no file in plain text, not even after the
// program is killed outright; the next start gives the entries back after the passphrase.
#include "ProgramRun.h"
#include "record/ApplicantFile.h"
#include "record/RecordValues.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(LockedApplicantProcess, KilledWhileOpenItLeavesNoPlainTextAndTheNextStartRestoresTheEdit)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString temporary = home.filePath(QStringLiteral("tmp"));
    ASSERT_TRUE(QDir().mkpath(temporary));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), temporary);
    environment.insert(QStringLiteral("TMPDIR"), temporary);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    const QString ssn = QStringLiteral("518-27-9043"), birth = QStringLiteral("14 Mar 1979"),
                  name = QStringLiteral("Ifeoma Brandvold");
    QMap<QString, QString> values = record::blankRecord();
    values.insert(QStringLiteral("App Info Name"), name);
    values.insert(QStringLiteral("App Info SSN"), ssn);
    values.insert(QStringLiteral("App Info Date Of Birth"), birth);
    const QString file = home.filePath(QStringLiteral("ifeoma.tenvoria"));
    record::writeApplicantFile(file, values, &*std::make_unique<record::Passphrase>(QStringLiteral("kettle drum")),
                               record::LockCost{1, 64 * 1024});

    QProcess running;
    running.setProcessEnvironment(environment);
    running.start(QStringLiteral(TENVORIA_LOCKED_HOST), {QStringLiteral("open"), file, QStringLiteral("kettle drum")});
    while (!running.canReadLine() && running.waitForReadyRead(120000)) {
    }
    ASSERT_EQ(running.readLine().trimmed(), QByteArray("typed")) << running.readAllStandardError().toStdString();
    ASSERT_EQ(::kill(static_cast<pid_t>(running.processId()), SIGKILL), 0);
    ASSERT_TRUE(running.waitForFinished(60000));

    int files = 0;
    for (QDirIterator it(home.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories); it.hasNext();) {
        const QString found = it.next();
        QFile in(found);
        if (found == file || !in.open(QIODevice::ReadOnly))
            continue;
        ++files;
        const QByteArray content = in.readAll();
        for (const QString &secret : {ssn, birth, name, QStringLiteral("edited")})
            EXPECT_FALSE(content.contains(secret.toUtf8())) << found.toStdString() << " holds " << secret.toStdString();
    }
    EXPECT_GE(files, 2); // the store's note and the journal at least

    const testsupport::ProgramRun next = testsupport::runProgram(
        QStringLiteral(TENVORIA_LOCKED_HOST), {QStringLiteral("start"), QStringLiteral("kettle drum")}, 120000, environment);
    ASSERT_TRUE(next.finished);
    EXPECT_EQ(next.exitCode, 0) << next.errors.toStdString();
    EXPECT_EQ(next.output.trimmed(), QStringLiteral("%1 edited|%2|%3").arg(name, ssn, birth)) << next.errors.toStdString();
}

} // namespace
