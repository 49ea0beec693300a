// tenvoria-render --dispose as a landlord's script runs it: exactly the expired files destroyed,
// a log without SSNs, the recent list cleaned, an interrupted disposal finished by the next one.
#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "decision/DecisionFile.h"
#include "decision/Disposal.h"
#include "record/ApplicantFile.h"
#include "record/RecentFiles.h"

#include <QDir>
#include <QProcess>
#include <QThread>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kSsn = "123-45-6789";
const QByteArray kBirth = "1961-04-17";

struct Ran {
    int exitCode = -1;
    QByteArray out, err;
};

// A folder of applicants, the program's state folder beside it.
class Disposal : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("vacancy"));
    QString state = dir.filePath(QStringLiteral("state"));
    QString recentList = state + QStringLiteral("/tenvoria/recent");

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(folder)); }

    QString applicant(const QString &file, const QString &name, decision::Status status, const QDate &date)
    {
        const QString path = QDir(folder).filePath(file);
        record::writeApplicantFile(path, {{QStringLiteral("App Info Name"), name},
                                          {QStringLiteral("App Info SSN"), QString::fromLatin1(kSsn)},
                                          {QStringLiteral("App Info Date Of Birth"), QString::fromLatin1(kBirth)}});
        if (status != decision::Status::Pending) {
            decision::Decision made;
            made.status = status;
            made.date = date;
            made.reasons.rentalHistory = true;
            decision::writeDecision(path, made);
        }
        return path;
    }

    Ran render(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_STATE_HOME"), state);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TENVORIA_RENDER), arguments);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }

    QStringList files() const { return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
};

TEST_F(Disposal, ExactlyTheExpiredFilesGoAndTheLogAndRecentListSaySo)
{
    const QDate today = QDate::currentDate();
    const QString denied = applicant(QStringLiteral("denied.tenvoria"), QStringLiteral("Dana Ruiz"), decision::Status::Denied,
                                     today.addMonths(-25).addDays(-1));
    const QString withdrawn = applicant(QStringLiteral("withdrawn.tenvoria"), QStringLiteral("Wei Chen"),
                                        decision::Status::Withdrawn, today.addYears(-3));
    const QString lastDay = applicant(QStringLiteral("last-day.tenvoria"), QStringLiteral("Lee Park"),
                                      decision::Status::Denied, today.addMonths(-25));
    applicant(QStringLiteral("approved.tenvoria"), QStringLiteral("Ama Owusu"), decision::Status::Approved, today.addYears(-6));
    applicant(QStringLiteral("pending.tenvoria"), QStringLiteral("Pia Berg"), decision::Status::Pending, {});
    const record::Passphrase key(QStringLiteral("s3cret"));
    const QString locked = QDir(folder).filePath(QStringLiteral("locked.tenvoria"));
    record::writeApplicantFile(locked, {{QStringLiteral("App Info Name"), QStringLiteral("Lu Xin")}}, &key, {1, 64 * 1024});
    decision::Decision lockedDenial;
    lockedDenial.status = decision::Status::Denied;
    lockedDenial.date = today.addYears(-4);
    decision::writeDecision(locked, lockedDenial, &key, today, {1, 64 * 1024});
    testsupport::writeTestFile(QDir(folder).filePath(QStringLiteral("broken.tenvoria")), QByteArray("\0\1\2", 3));
    testsupport::writeTestFile(QDir(folder).filePath(QStringLiteral("notes.txt")), "old denial, 2019");
    record::RecentFiles recent(recentList);
    for (const QString &path : {lastDay, withdrawn, denied})
        recent.add(path);

    const QStringList before = files();
    const Ran listed = render({QStringLiteral("--dispose"), folder, QStringLiteral("--dry-run")});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_TRUE(listed.out.contains("denied.tenvoria\tDana Ruiz\tDenied\t")) << listed.out.toStdString();
    EXPECT_TRUE(listed.out.contains("withdrawn.tenvoria\tWei Chen\tWithdrawn\t" + today.addYears(-3).toString(Qt::ISODate).toUtf8()));
    EXPECT_EQ(listed.out.count('\n'), 2) << listed.out.toStdString();
    EXPECT_TRUE(listed.err.contains("locked.tenvoria")) << listed.err.toStdString(); // not checked, and said
    EXPECT_EQ(files(), before);

    const Ran disposed = render({QStringLiteral("--dispose"), folder});
    ASSERT_EQ(disposed.exitCode, 0) << disposed.err.toStdString();
    QStringList left = before;
    left.removeAll(QStringLiteral("denied.tenvoria"));
    left.removeAll(QStringLiteral("withdrawn.tenvoria"));
    left.append(QString::fromLatin1(decision::kDisposalLogName));
    left.sort();
    EXPECT_EQ(files(), left);
    const QByteArray log = testsupport::readTestFile(decision::disposalLogPath(folder));
    EXPECT_TRUE(log.contains("\tdisposed\tdenied.tenvoria\tDana Ruiz\tDenied\t")) << log.toStdString();
    EXPECT_TRUE(log.contains("\tdisposed\twithdrawn.tenvoria\tWei Chen\tWithdrawn\t")) << log.toStdString();
    EXPECT_FALSE(log.contains(kSsn));
    EXPECT_FALSE(log.contains(kBirth));
    EXPECT_EQ(testsupport::modeOf(decision::disposalLogPath(folder)), 0600u);
    EXPECT_EQ(record::RecentFiles(recentList).paths(), QStringList{lastDay});
    // A second run finds nothing more to do.
    const Ran again = render({QStringLiteral("--dispose"), folder});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(testsupport::readTestFile(decision::disposalLogPath(folder)), log);
    // The locked file's decision is read, and the file disposed of, with its passphrase.
    const QString passphrase = dir.filePath(QStringLiteral("pass"));
    testsupport::writeTestFile(passphrase, "s3cret\n");
    const Ran unlocked = render({QStringLiteral("--dispose"), folder, QStringLiteral("--passphrase-file"), passphrase});
    EXPECT_EQ(unlocked.exitCode, 0) << unlocked.err.toStdString();
    EXPECT_TRUE(unlocked.out.contains("locked.tenvoria\tLu Xin\tDenied\t")) << unlocked.out.toStdString();
    EXPECT_FALSE(QFile::exists(locked));
    EXPECT_TRUE(QFile::exists(lastDay));
}

TEST_F(Disposal, ARunKilledMidwayIsFinishedByTheNextAndALogThatCannotBeWrittenDisposesOfNothing)
{
    const QDate old = QDate::currentDate().addYears(-4);
    const QString overwritten = applicant(QStringLiteral("a.tenvoria"), QStringLiteral("Ann"), decision::Status::Denied, old);
    const QString unlinked = applicant(QStringLiteral("b.tenvoria"), QStringLiteral("Ben"), decision::Status::Denied, old);
    const QString untouched = applicant(QStringLiteral("c.tenvoria"), QStringLiteral("Cy"), decision::Status::Denied, old);
    record::RecentFiles recent(recentList);
    for (const QString &path : {overwritten, unlinked, untouched})
        recent.add(path);

    // The log cannot be written (something else has its name): nothing goes.
    ASSERT_TRUE(QDir().mkdir(decision::disposalLogPath(folder)));
    const Ran refused = render({QStringLiteral("--dispose"), folder});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("disposal log")) << refused.err.toStdString();
    EXPECT_TRUE(QFile::exists(overwritten) && QFile::exists(unlinked) && QFile::exists(untouched));
    ASSERT_TRUE(QDir().rmdir(decision::disposalLogPath(folder)));
    // A full disk: the log's first line does not fit, and nothing goes either.
    const QByteArray earlier = "2020-01-01T00:00:00Z\tdisposed\told.tenvoria\tOld\tDenied\t2017-01-01\t1:1\n";
    testsupport::writeTestFile(decision::disposalLogPath(folder), earlier);
    const QByteArray program = QByteArrayLiteral(TENVORIA_RENDER), folderName = QFile::encodeName(folder);
    const QByteArray stateName = QFile::encodeName(state);
    const int full = testsupport::exitCodeUnderFileSizeLimit(rlim_t(earlier.size()), [&] {
        ::setenv("XDG_STATE_HOME", stateName.constData(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::execl(program.constData(), program.constData(), "--dispose", folderName.constData(), static_cast<char *>(nullptr));
        return 127;
    });
    EXPECT_EQ(full, 1);
    EXPECT_TRUE(QFile::exists(overwritten) && QFile::exists(unlinked) && QFile::exists(untouched));
    EXPECT_EQ(testsupport::readTestFile(overwritten).left(1), "["); // not overwritten either
    EXPECT_EQ(testsupport::readTestFile(decision::disposalLogPath(folder)), earlier);
    ASSERT_TRUE(QFile::remove(decision::disposalLogPath(folder)));

    // What a kill leaves: a's bytes overwritten but the file not yet unlinked; b unlinked but still
    // on the recent list; each announced in the log, neither finished.
    const auto begun = [](const QString &path, const QString &name) {
        struct stat status {};
        EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
        return QStringLiteral("2026-01-01T00:00:00Z\tdisposing\t%1\t%2\tDenied\t%3\t%4:%5\n")
            .arg(QFileInfo(path).fileName(), name, QDate::currentDate().addYears(-4).toString(Qt::ISODate))
            .arg(qulonglong(status.st_dev))
            .arg(qulonglong(status.st_ino))
            .toUtf8();
    };
    // A log made to name a file outside the folder leads nowhere.
    const QString outside = dir.filePath(QStringLiteral("outside.tenvoria"));
    testsupport::writeTestFile(outside, "[Tenvoria]\n");
    const QByteArray killedLog = begun(overwritten, QStringLiteral("Ann")) + begun(unlinked, QStringLiteral("Ben"))
        + begun(outside, QStringLiteral("Out")).replace("\toutside.tenvoria\t", "\t../outside.tenvoria\t");
    testsupport::writeTestFile(decision::disposalLogPath(folder), killedLog);
    QFile zeroed(overwritten);
    ASSERT_TRUE(zeroed.open(QIODevice::ReadWrite));
    const qint64 size = zeroed.size();
    ASSERT_TRUE(zeroed.write(QByteArray(size, '\0')) == size);
    zeroed.close();
    ASSERT_TRUE(QFile::remove(unlinked));

    const Ran listed = render({QStringLiteral("--dispose"), folder, QStringLiteral("--dry-run")});
    EXPECT_TRUE(listed.out.contains("a.tenvoria\tAnn\tDenied\t")) << listed.out.toStdString();
    EXPECT_TRUE(listed.out.contains("disposal interrupted"));
    const Ran resumed = render({QStringLiteral("--dispose"), folder});
    ASSERT_EQ(resumed.exitCode, 0) << resumed.err.toStdString();
    EXPECT_EQ(files(), QStringList{QString::fromLatin1(decision::kDisposalLogName)});
    EXPECT_TRUE(record::RecentFiles(recentList).paths().isEmpty());
    EXPECT_EQ(testsupport::readTestFile(outside), QByteArray("[Tenvoria]\n"));
    const QByteArray log = testsupport::readTestFile(decision::disposalLogPath(folder));
    EXPECT_TRUE(log.startsWith(killedLog)); // appended to, never rewritten
    for (const char *done : {"\tdisposed\ta.tenvoria\tAnn\t", "\tdisposed\tb.tenvoria\tBen\t", "\tdisposed\tc.tenvoria\tCy\t"})
        EXPECT_TRUE(log.contains(done)) << done << "\n" << log.toStdString();
    EXPECT_FALSE(log.contains(kSsn));
}

TEST_F(Disposal, AKillAtAnyMomentLeavesNothingHalfDoneAfterTheNextRun)
{
    const QDate today = QDate::currentDate();
    QStringList expired, kept;
    for (int i = 0; i < 60; ++i) {
        const QString name = QStringLiteral("x%1.tenvoria").arg(i, 2, 10, QLatin1Char('0'));
        applicant(name, QStringLiteral("Applicant %1").arg(i), decision::Status::Withdrawn, today.addYears(-3));
        expired << name;
        const QString young = QStringLiteral("y%1.tenvoria").arg(i, 2, 10, QLatin1Char('0'));
        applicant(young, QStringLiteral("Young %1").arg(i), decision::Status::Withdrawn, today.addMonths(-1));
        kept << young;
    }
    // Killed outright (no handler runs) at some moment of its work, then run again to the end.
    QProcess killed;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_STATE_HOME"), state);
    killed.setProcessEnvironment(environment);
    killed.start(QStringLiteral(TENVORIA_RENDER), {QStringLiteral("--dispose"), folder});
    ASSERT_TRUE(killed.waitForStarted());
    // Until the log holds a few lines, so that the kill lands among the files.
    for (int wait = 0; wait < 2000 && testsupport::readTestFile(decision::disposalLogPath(folder)).count('\n') < 7; ++wait)
        QThread::msleep(1);
    killed.kill();
    killed.waitForFinished();
    const Ran finished = render({QStringLiteral("--dispose"), folder});
    ASSERT_EQ(finished.exitCode, 0) << finished.err.toStdString();
    QStringList left = kept;
    left << QString::fromLatin1(decision::kDisposalLogName);
    left.sort();
    EXPECT_EQ(files(), left);
    const QByteArray log = testsupport::readTestFile(decision::disposalLogPath(folder));
    for (const QString &name : expired)
        EXPECT_EQ(log.count("\tdisposed\t" + name.toUtf8() + "\t"), 1) << name.toStdString();
    for (const QString &name : kept)
        EXPECT_EQ(decision::readDecision(QDir(folder).filePath(name)).status, decision::Status::Withdrawn);
}

} // namespace
