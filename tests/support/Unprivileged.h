#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

// The spare user that tests which need permissions to apply run as.
constexpr unsigned kUnprivilegedId = 65534;

// Permissions do not stop root. Run as root, this runs the calling test again in a child process
// as an unprivileged user, from a copy of the test program that user can read, with a home and a
// temporary folder of its own; the child's verdict becomes the test's, and the caller returns at
// once. Run as anyone else it returns false and the test goes on in this process.
//
//   if (testsupport::rerunUnprivileged()) return;
inline bool rerunUnprivileged()
{
    if (::geteuid() != 0)
        return false;
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filter = QStringLiteral("%1.%2").arg(QString::fromUtf8(info->test_suite_name()),
                                                       QString::fromUtf8(info->name()));
    QTemporaryDir scratch;
    const QString program = scratch.filePath(QStringLiteral("test-program"));
    const QString home = scratch.filePath(QStringLiteral("home"));
    const QString temp = scratch.filePath(QStringLiteral("tmp"));
    // The build folder may be closed to that user; a copy in an open folder is not.
    if (!QFile::copy(QStringLiteral("/proc/self/exe"), program) || !QDir().mkpath(home) || !QDir().mkpath(temp)
        || ::chmod(QFile::encodeName(scratch.path()).constData(), 0755) != 0
        || ::chmod(QFile::encodeName(program).constData(), 0755) != 0
        || ::chown(QFile::encodeName(home).constData(), kUnprivilegedId, kUnprivilegedId) != 0
        || ::chown(QFile::encodeName(temp).constData(), kUnprivilegedId, kUnprivilegedId) != 0) {
        ADD_FAILURE() << "cannot prepare the unprivileged run of " << filter.toStdString();
        return true;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("TMPDIR"), temp);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.setWorkingDirectory(temp);
    const QString id = QString::number(kUnprivilegedId);
    child.start(QStringLiteral("setpriv"), {QStringLiteral("--reuid=") + id, QStringLiteral("--regid=") + id,
                                           QStringLiteral("--clear-groups"), program,
                                           QStringLiteral("--gtest_filter=") + filter});
    const bool finished = child.waitForFinished(180000);
    const QByteArray output = child.readAll();
    EXPECT_TRUE(finished) << output.toStdString();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << output.toStdString();
    return true;
}

} // namespace testsupport
