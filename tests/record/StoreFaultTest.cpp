// The store and the saved copy under real faults, in separate processes: traced system calls,
// two writers at the same time, writers killed at random moments, a full file system.
#include "record/IniText.h"
#include "record/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "ProgramRun.h"

#include <csignal>
#include <unistd.h>

namespace {

const QString kHelper = QStringLiteral(TENVORIA_FAULT_HELPER);

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QMap<QString, QString> storedValues(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const record::IniReading reading = record::decodeIniText(file.readAll());
    EXPECT_TRUE(reading.lossless) << path.toStdString();
    return reading.values;
}

// Runs a program and gives back its exit code and everything it printed.
std::pair<int, QString> run(const QString &program, const QStringList &arguments)
{
    const testsupport::ProgramRun ran = testsupport::runProgram(program, arguments, 300000);
    return {ran.exitCode, ran.output + ran.errors};
}

// The system calls of `arguments` run under strace, one line each.
QStringList tracedCalls(const QString &folder, const QStringList &arguments)
{
    const QString log = folder + QStringLiteral("/strace.log");
    // A sanitizer build's leak check cannot run under ptrace and would fail the traced program.
    const QString sanitizerOptions =
        QStringLiteral("ASAN_OPTIONS=") + qEnvironmentVariable("ASAN_OPTIONS") + QStringLiteral(":detect_leaks=0");
    const QStringList strace{sanitizerOptions,    QStringLiteral("strace"), QStringLiteral("-f"),
                             QStringLiteral("-qq"), QStringLiteral("-o"),     log,
                             QStringLiteral("-e"),
                             QStringLiteral("trace=openat,write,fdatasync,fsync,rename,renameat,renameat2,close")};
    const auto [code, output] = run(QStringLiteral("env"), strace + arguments);
    EXPECT_EQ(code, 0) << output.toStdString();
    QFile file(log);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Asserts that the file `target` was written durably: its content goes into a temporary file in
// the same folder, that file is flushed to disk, renamed over the target, and the folder is then
// flushed so the rename itself survives a power cut. The names are relative to the open folder.
void expectDurableReplacement(const QStringList &calls, const QString &target)
{
    const QString folder = QFileInfo(target).absolutePath();
    const QString name = QFileInfo(target).fileName();
    const QRegularExpression folderOpened(QStringLiteral("openat\\(AT_FDCWD, \"%1\", [^)]*O_DIRECTORY[^)]*\\) = (\\d+)")
                                              .arg(QRegularExpression::escape(folder)));
    const QRegularExpression opened(QStringLiteral("openat\\((\\d+), \"(%1\\.\\w{6})\", [^)]*O_CREAT[^)]*\\) = (\\d+)")
                                        .arg(QRegularExpression::escape(QStringLiteral(".") + name)));
    qsizetype at = 0;
    QString folderFd;
    QString temporaryName;
    QString fd;
    for (; at < calls.size(); ++at) {
        if (const auto match = folderOpened.match(calls[at]); match.hasMatch())
            folderFd = match.captured(1);
        const auto match = opened.match(calls[at]);
        if (match.hasMatch() && match.captured(1) == folderFd) {
            temporaryName = match.captured(2);
            fd = match.captured(3);
            break;
        }
    }
    ASSERT_FALSE(fd.isEmpty()) << "no temporary file beside " << target.toStdString();
    const auto find = [&](const QRegularExpression &pattern, const char *what) {
        for (++at; at < calls.size(); ++at)
            if (pattern.match(calls[at]).hasMatch())
                return true;
        ADD_FAILURE() << what << " missing or out of order";
        return false;
    };
    const QString fdPattern = QStringLiteral("\\(%1[,)]").arg(fd);
    ASSERT_TRUE(find(QRegularExpression(QStringLiteral("\\bwrite") + fdPattern + QStringLiteral(".* = [1-9]")),
                     "the data write"));
    ASSERT_TRUE(find(QRegularExpression(QStringLiteral("\\bf(data)?sync") + fdPattern + QStringLiteral(".*\\s= 0")),
                     "the file's flush"));
    ASSERT_TRUE(find(QRegularExpression(QStringLiteral("renameat2?\\(%1, \"%2\", %1, \"%3\".* = 0")
                                            .arg(folderFd, QRegularExpression::escape(temporaryName),
                                                 QRegularExpression::escape(name))),
                     "the rename"));
    EXPECT_TRUE(find(QRegularExpression(QStringLiteral("\\bfsync\\(%1\\)\\s+= 0").arg(folderFd)), "the folder's flush"));
}

TEST(StoreFaults, StoreWriteAndWordFileSaveReachTheDiskInTheDurableOrder)
{
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("Marrowick.conf"));
    testsupport::writeTestFile(store, "[Tenvoria]\nOld=\"1\"\n");
    expectDurableReplacement(tracedCalls(dir.path(), {kHelper, QStringLiteral("keys"), store, QStringLiteral("K"),
                                                      QStringLiteral("1")}),
                             store);
    EXPECT_EQ(storedValues(store).value(QStringLiteral("Tenvoria/K0")), QStringLiteral("value 0"));

    const QString source = dir.filePath(QStringLiteral("qarvel12345678.doc"));
    const QString saved = dir.filePath(QStringLiteral("Rental application.doc"));
    testsupport::writeTestFile(source, QByteArray(70000, 'd'));
    testsupport::writeTestFile(saved, "older copy");
    expectDurableReplacement(tracedCalls(dir.path(), {kHelper, QStringLiteral("copy"), source, saved}), saved);
    EXPECT_EQ(QFileInfo(saved).size(), 70000);
}

TEST(StoreFaults, TwoProcessesWritingAtTheSameTimeKeepEveryKey)
{
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("Marrowick.conf"));
    QProcess first;
    QProcess second;
    first.start(kHelper, {QStringLiteral("keys"), store, QStringLiteral("first "), QStringLiteral("500")});
    second.start(kHelper, {QStringLiteral("keys"), store, QStringLiteral("second "), QStringLiteral("500")});
    ASSERT_TRUE(first.waitForFinished(300000));
    ASSERT_TRUE(second.waitForFinished(300000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAll().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAll().toStdString();
    const QMap<QString, QString> values = storedValues(store);
    EXPECT_EQ(values.size(), 1000);
    for (int n = 0; n < 500; ++n) {
        EXPECT_EQ(values.value(QStringLiteral("Tenvoria/first %1").arg(n)), QStringLiteral("value %1").arg(n));
        EXPECT_EQ(values.value(QStringLiteral("Tenvoria/second %1").arg(n)), QStringLiteral("value %1").arg(n));
    }
}

TEST(StoreFaults, WriterKilledAtRandomMomentsLeavesAWholeOldOrNewRecordAndNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("Marrowick.conf"));
    constexpr int kKeys = 40;
    long lastGeneration = 0;
    int leftoversRemoved = 0;
    for (int round = 0; round < 100; ++round) {
        QProcess writer;
        writer.start(kHelper, {QStringLiteral("loop"), store, QString::number(kKeys)});
        ASSERT_TRUE(writer.waitForReadyRead(30000)) << "round " << round;
        ::usleep(QRandomGenerator::global()->bounded(20000));
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        ASSERT_TRUE(writer.waitForFinished(30000));

        const QMap<QString, QString> values = storedValues(store);
        ASSERT_EQ(values.size(), kKeys) << "round " << round;
        const QString value = values.first();
        const long generation = value.mid(QStringLiteral("generation ").size()).toLong();
        for (const QString &each : values)
            EXPECT_EQ(each, value) << "round " << round; // one write: all keys old, or all new
        EXPECT_GT(generation, lastGeneration) << "round " << round; // at least one write got through
        lastGeneration = generation;

        // The next start-up removes what the killed write left.
        const int before = entriesOf(dir.path()).size();
        record::SettingsStore reopened(store);
        leftoversRemoved += before - entriesOf(dir.path()).size();
        EXPECT_EQ(entriesOf(dir.path()), (QStringList{QStringLiteral("Marrowick.conf"),
                                                      QStringLiteral("Marrowick.conf.lock")}))
            << "round " << round;
    }
    EXPECT_GE(lastGeneration, 1);
    RecordProperty("leftoversRemoved", leftoversRemoved);
}

// A small file system of its own, filled up: the Word-file save and the store write must fail
// with the system's reason, keep the old files and leave nothing behind.
TEST(StoreFaults, FullFileSystemKeepsTheOldFilesAndSaysWhy)
{
    QTemporaryDir dir;
    const QString mount = dir.filePath(QStringLiteral("full"));
    const QString source = dir.filePath(QStringLiteral("qarvel12345678.doc"));
    ASSERT_TRUE(QDir().mkpath(mount));
    testsupport::writeTestFile(source, QByteArray(40000, 'd'));
    const QString script = QStringLiteral(R"sh(
set -e
mount -t tmpfs -o size=64k tenvoria-full "$1"
printf 'old copy' > "$1/form.doc"
"$3" keys "$1/Marrowick.conf" Old 1 >/dev/null
dd if=/dev/zero of="$1/filler" bs=1k 2>/dev/null || true
set +e
"$3" copy "$2" "$1/form.doc"; echo "exit $?"
"$3" copy "$2" "$1/new.doc"; echo "exit $?"
"$3" keys "$1/Marrowick.conf" New 1; echo "exit $?"
rm "$1/filler"
echo "form.doc: $(cat "$1/form.doc")"
echo "store: $(cat "$1/Marrowick.conf" | tr '\n' ' ')"
echo "files: $(ls -A "$1" | tr '\n' ' ')"
)sh");
    // A private mount namespace: the mount vanishes with the child.
    const QStringList unshare = ::geteuid() == 0 ? QStringList{QStringLiteral("-m")} : QStringList{QStringLiteral("-rm")};
    const auto [code, output] =
        run(QStringLiteral("unshare"), unshare + QStringList{QStringLiteral("sh"), QStringLiteral("-c"), script,
                                                             QStringLiteral("sh"), mount, source, kHelper});
    ASSERT_EQ(code, 0) << output.toStdString();
    const QString target = mount + QStringLiteral("/form.doc");
    EXPECT_TRUE(output.contains(QStringLiteral("The document could not be saved as %1: No space left on device\nexit 1")
                                    .arg(target)))
        << output.toStdString();
    EXPECT_TRUE(output.contains(
        QStringLiteral("The document could not be saved as %1/new.doc: No space left on device\nexit 1").arg(mount)))
        << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("The value of \"New0\" could not be saved. The file %1/Marrowick.conf "
                                               "could not be written: No space left on device\nexit 1")
                                    .arg(mount)))
        << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("form.doc: old copy\n"))) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("store: [Tenvoria] Old0=\"value 0\" \n"))) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("files: Marrowick.conf Marrowick.conf.lock form.doc \n")))
        << output.toStdString();
}

} // namespace
