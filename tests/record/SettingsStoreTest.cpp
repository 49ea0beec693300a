#include "record/SettingsStore.h"

#include "base/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "Unprivileged.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using record::SettingsStore;

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Marrowick.conf")); }
    QStringList entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    QByteArray content(const QString &file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
};

using testsupport::modeOf;

TEST_F(SettingsStoreTest, KeyNeverWrittenReadsAsDefaultOrEmpty)
{
    SettingsStore store(path());
    EXPECT_EQ(store.read(QStringLiteral("App Info Name")), QString());
    EXPECT_TRUE(store.read(QStringLiteral("App Info Name")).isEmpty());
    EXPECT_EQ(store.read(QStringLiteral("App Info Name"), QStringLiteral("x")), QStringLiteral("x"));
}

TEST_F(SettingsStoreTest, AwkwardValuesRoundTripUnchangedThroughAFreshStore)
{
    const QStringList values = {
        QString(), QStringLiteral("  padded  "), QStringLiteral("a,b,c"), QStringLiteral("\"quoted\" 'single'"),
        QStringLiteral("back\\slash\\"), QStringLiteral("k=v;x#y"), QStringLiteral("@Variant(bogus)"),
        QStringLiteral("@"), QStringLiteral("true"), QStringLiteral("false"), QStringLiteral("line1\nline2\r\n"),
        QStringLiteral("tab\there"), QStringLiteral("Ünïcödé 日本語 🏠👨‍👩‍👧"), QStringLiteral("[Tenvoria]"),
        QStringLiteral("   "), QStringLiteral("\x01" "ABC\x1f" "9"), QStringLiteral("%20 & %U0041"),
        QStringLiteral("\"\""), QStringLiteral("@@twice"),
        QString(QChar(0xFEFF)) + QStringLiteral("after a byte order mark"), QString(QChar(0xFEFF)),
        QStringLiteral("lone ") + QChar(0xD83C) + QStringLiteral("high"), QString(QChar(0xDC00)) + QStringLiteral("1"),
        QStringLiteral("pair ") + QChar(0xD83C) + QChar(0xDFE0) + QChar(0xDFE0), QStringLiteral("@String(x)"),
        // Lone surrogates (a paste can bring them) have no UTF-8 form of their own.
        QStringLiteral("Key Wi004") + QChar(0xD9D9) + QChar(0xD9D9) + QStringLiteral("1") + QChar(0xDC00),
    };
    {
        SettingsStore store(path());
        for (int i = 0; i < values.size(); ++i)
            store.write(QStringLiteral("Key %1").arg(i), values[i]);
    }
    SettingsStore reopened(path());
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(reopened.read(QStringLiteral("Key %1").arg(i)), values[i]) << i;
}

TEST_F(SettingsStoreTest, OneMegabyteValueRoundTrips)
{
    QString big(1 << 20, QLatin1Char('x'));
    big[1000] = QChar(0x65E5);
    {
        SettingsStore store(path());
        store.write(QStringLiteral("Relationship"), big);
    }
    EXPECT_EQ(SettingsStore(path()).read(QStringLiteral("Relationship")), big);
}

TEST_F(SettingsStoreTest, ValuesLiveInTheNamedSectionOfAnIniFileThatQSettingsReads)
{
    {
        SettingsStore store(path());
        store.write(QStringLiteral("App Info Name"), QStringLiteral("Dorian"));
    }
    QSettings plain(path(), QSettings::IniFormat);
    EXPECT_EQ(plain.value(QStringLiteral("Tenvoria/App Info Name")).toString(), QStringLiteral("Dorian"));
}

TEST_F(SettingsStoreTest, FileIsOwnerOnlyWhenCreatedAndLooserFileIsTightened)
{
    {
        SettingsStore store(path());
        store.write(QStringLiteral("App Info SSN"), QStringLiteral("123"));
    }
    EXPECT_EQ(modeOf(path()), 0600u);

    for (const unsigned loose : {0644u, 0604u, 0640u, 0601u}) {
        ::chmod(QFile::encodeName(path()).constData(), loose);
        SettingsStore store(path());
        EXPECT_EQ(modeOf(path()), 0600u) << std::oct << loose;
        EXPECT_TRUE(store.openingProblem().isEmpty());
        store.write(QStringLiteral("App Info SSN"), QStringLiteral("456"));
        EXPECT_EQ(modeOf(path()), 0600u);
    }
}

// Only a regular file is made private: a folder at the store's path is reported, never altered.
TEST_F(SettingsStoreTest, AFolderAtTheStoresPathKeepsItsMode)
{
    ASSERT_TRUE(QDir().mkpath(path()));
    ::chmod(QFile::encodeName(path()).constData(), 0755);
    SettingsStore store(path());
    EXPECT_TRUE(store.openingProblem().contains(QStringLiteral("cannot be read"))) << store.openingProblem().toStdString();
    EXPECT_EQ(modeOf(path()), 0755u);
}

// The store rewrites its own section where it stands; other programs' sections keep every byte,
// even what the store would write differently. A change another process makes is seen.
TEST_F(SettingsStoreTest, OtherSectionsKeepTheirBytesAndChangesByOthersAreSeen)
{
    const QByteArray before = "; hand-written\n[Alpha]\nchoice=Yes\nlist=a, b\n\n";
    const QByteArray after = "[Zeta]\nk = v";
    testsupport::writeTestFile(path(), before + "[Tenvoria]\nName=Dorian\n\n" + after);
    SettingsStore store(path());
    EXPECT_EQ(store.read(QStringLiteral("Name")), QStringLiteral("Dorian"));
    store.write(QStringLiteral("Phone1"), QStringLiteral("1"));
    EXPECT_EQ(content(path()), before + "[Tenvoria]\nName=\"Dorian\"\nPhone1=\"1\"\n\n" + after);
    // Keystroke after keystroke: one blank line stays between the sections, never one more a write.
    for (const char *typed : {"12", "123", "1234"})
        store.write(QStringLiteral("Phone1"), QLatin1String(typed));
    EXPECT_EQ(content(path()), before + "[Tenvoria]\nName=\"Dorian\"\nPhone1=\"1234\"\n\n" + after);
    EXPECT_TRUE(store.takeNotices().isEmpty());
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("Marrowick.conf"), QStringLiteral("Marrowick.conf.lock")}));

    // Another copy of the program, then a hand edit that keeps the size.
    SettingsStore(path()).write(QStringLiteral("Name"), QStringLiteral("Marla"));
    EXPECT_EQ(store.read(QStringLiteral("Name")), QStringLiteral("Marla"));
    QByteArray edited = content(path());
    edited.replace("Marla", "Erwin");
    testsupport::writeTestFile(path(), edited);
    EXPECT_EQ(store.read(QStringLiteral("Name")), QStringLiteral("Erwin"));
    store.write(QStringLiteral("Phone1"), QStringLiteral("2"));
    EXPECT_EQ(content(path()), before + "[Tenvoria]\nName=\"Erwin\"\nPhone1=\"2\"\n\n" + after);

    // A file without the section, not ending in a newline, gets it at the end.
    testsupport::writeTestFile(path(), after);
    store.write(QStringLiteral("Phone1"), QStringLiteral("3"));
    EXPECT_EQ(content(path()), after + "\n\n[Tenvoria]\nPhone1=\"3\"\n");
    QSettings plain(path(), QSettings::IniFormat);
    EXPECT_EQ(plain.value(QStringLiteral("Zeta/k")).toString(), QStringLiteral("v"));
    EXPECT_EQ(plain.value(QStringLiteral("Tenvoria/Phone1")).toString(), QStringLiteral("3"));
}

TEST_F(SettingsStoreTest, TwoRunningCopiesNeverLoseEachOthersWrites)
{
    SettingsStore first(path());
    SettingsStore second(path());
    first.write(QStringLiteral("App Info Name"), QStringLiteral("from first"));
    second.write(QStringLiteral("Co Name"), QStringLiteral("from second"));
    first.write(QStringLiteral("App Info Phone"), QStringLiteral("1"));
    EXPECT_EQ(first.read(QStringLiteral("Co Name")), QStringLiteral("from second"));
    EXPECT_EQ(second.read(QStringLiteral("App Info Name")), QStringLiteral("from first"));
    EXPECT_EQ(second.read(QStringLiteral("App Info Phone")), QStringLiteral("1"));
}

TEST_F(SettingsStoreTest, WriteIsOnDiskBeforeItReturns)
{
    SettingsStore store(path());
    store.write(QStringLiteral("Co Name"), QStringLiteral("Marla"));
    QSettings other(path(), QSettings::IniFormat);
    EXPECT_EQ(other.value(QStringLiteral("Tenvoria/Co Name")).toString(), QStringLiteral("Marla"));
}

TEST_F(SettingsStoreTest, RefusedWriteThrowsNamingTheFileAndLaterWritesSucceedAgain)
{
    if (testsupport::rerunUnprivileged())
        return;
    SettingsStore store(path());
    store.write(QStringLiteral("Phone1"), QStringLiteral("kept"));
    ::chmod(QFile::encodeName(path()).constData(), 0400);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0500);
    try {
        store.write(QStringLiteral("Phone1"), QStringLiteral("lost?"));
        FAIL() << "write to a read-only store must fail";
    } catch (const base::Failure &e) {
        EXPECT_TRUE(e.description().contains(path()));
    }
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    ::chmod(QFile::encodeName(path()).constData(), 0600);
    store.write(QStringLiteral("Phone1"), QStringLiteral("again"));
    EXPECT_EQ(SettingsStore(path()).read(QStringLiteral("Phone1")), QStringLiteral("again"));
}

TEST_F(SettingsStoreTest, WriteToAVanishedDirectoryIsReportedNotSilent)
{
    const QString nested = dir.filePath(QStringLiteral("gone/sub/Marrowick.conf"));
    SettingsStore store(nested);
    store.write(QStringLiteral("Name1"), QStringLiteral("a"));
    QDir(dir.filePath(QStringLiteral("gone"))).removeRecursively();
    // Replace the directory with a file so it cannot be recreated.
    testsupport::writeTestFile(dir.filePath(QStringLiteral("gone")));
    EXPECT_THROW(store.write(QStringLiteral("Name1"), QStringLiteral("b")), base::Failure);
}

TEST_F(SettingsStoreTest, KeysOfOtherProgramsKeepTheirSectionsIncludingOneNamedGeneral)
{
    testsupport::writeTestFile(path(), "[General]\nroot=1\n\n[%General]\nforeign=2\n\n[Other]\nkey=3\n");
    SettingsStore(path()).write(QStringLiteral("Name"), QStringLiteral("x"));
    SettingsStore(path()).write(QStringLiteral("Name"), QStringLiteral("y"));
    QSettings plain(path(), QSettings::IniFormat);
    EXPECT_EQ(plain.value(QStringLiteral("root")).toString(), QStringLiteral("1"));
    EXPECT_EQ(plain.value(QStringLiteral("General/foreign")).toString(), QStringLiteral("2"));
    EXPECT_EQ(plain.value(QStringLiteral("Other/key")).toString(), QStringLiteral("3"));
    EXPECT_EQ(plain.allKeys().size(), 4);
    EXPECT_FALSE(entries().join(QLatin1Char(' ')).contains(QStringLiteral("backup")));
}

// Files another program, an older version or a hand edit left: what the store would not write
// back of its own section is kept in a dated backup before the first write, and the user is told
// where. (Other sections are never rewritten.)
TEST_F(SettingsStoreTest, FileWithTextTheStoreWouldDropIsBackedUpOnceBeforeTheFirstWrite)
{
    QByteArray randomBytes(300, '\0');
    for (int i = 0; i < randomBytes.size(); ++i)
        randomBytes[i] = char((i * 7919 + 13) % 251);
    const struct {
        const char *what;
        QByteArray text;
        const char *key;      // a value the window still shows
        const char *expected;
    } damaged[] = {
        {"random bytes", "[Tenvoria]\n" + randomBytes, nullptr, nullptr},
        {"unquoted comma", "[Tenvoria]\nApp%20Info%20Name=Smith, Dorian\n", "App Info Name", "Smith, Dorian"},
        {"unterminated quote", "[Tenvoria]\nCo%20Name=\"Marla\nCo%20Phone=\"5\"\n", "Co Phone", "5"},
        {"invalid variant", "[Tenvoria]\nCo%20Name=@Variant(\\0\\0\\0\\x7f)\n", nullptr, nullptr},
        {"comment", "[Tenvoria]\n; kept by hand\nCo%20Name=Marla\n", "Co Name", "Marla"},
        {"key given twice", "[Tenvoria]\nA=1\nA=2\n", "A", "2"},
    };
    for (const auto &file : damaged) {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        testsupport::writeTestFile(path(), file.text);
        SettingsStore store(path());
        if (file.key) {
            EXPECT_EQ(store.read(QLatin1String(file.key)), QString::fromUtf8(file.expected)) << file.what;
        }
        EXPECT_FALSE(entries().join(QLatin1Char(' ')).contains(QStringLiteral("backup"))) << "not before a write";
        store.write(QStringLiteral("Phone1"), QStringLiteral("1"));
        store.write(QStringLiteral("Phone1"), QStringLiteral("12"));
        const QStringList backups = entries().filter(QRegularExpression(
            QStringLiteral("^Marrowick\\.conf\\.backup-\\d{8}-\\d{6}$")));
        ASSERT_EQ(backups.size(), 1) << file.what << ": " << entries().join(QLatin1Char(' ')).toStdString();
        const QString backup = dir.filePath(backups.first());
        EXPECT_EQ(content(backup), file.text) << file.what;
        EXPECT_EQ(modeOf(backup), 0600u);
        const QStringList notices = store.takeNotices();
        ASSERT_EQ(notices.size(), 1) << file.what;
        EXPECT_TRUE(notices.first().contains(path()) && notices.first().contains(backup)) << file.what;
        EXPECT_TRUE(store.takeNotices().isEmpty());
    }
}

TEST_F(SettingsStoreTest, FileThatQSettingsWroteNeedsNoBackup)
{
    {
        QSettings plain(path(), QSettings::IniFormat);
        plain.setValue(QStringLiteral("Tenvoria/App Info Name"), QStringLiteral("Dorian Gray"));
        plain.setValue(QStringLiteral("Tenvoria/Co Name"), QStringLiteral("  spaced, \"quoted\"\n"));
        plain.setValue(QStringLiteral("Tenvoria/At"), QStringLiteral("@home"));
    }
    SettingsStore store(path());
    EXPECT_EQ(store.read(QStringLiteral("Co Name")), QStringLiteral("  spaced, \"quoted\"\n"));
    EXPECT_EQ(store.read(QStringLiteral("At")), QStringLiteral("@home"));
    store.write(QStringLiteral("Phone1"), QStringLiteral("1"));
    EXPECT_TRUE(store.takeNotices().isEmpty());
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("Marrowick.conf"), QStringLiteral("Marrowick.conf.lock")}));
    EXPECT_EQ(SettingsStore(path()).read(QStringLiteral("App Info Name")), QStringLiteral("Dorian Gray"));
}

TEST_F(SettingsStoreTest, StoreThatIsALinkStaysALinkAndItsTargetReceivesTheValues)
{
    QDir().mkpath(dir.filePath(QStringLiteral("dotfiles")));
    const QString target = dir.filePath(QStringLiteral("dotfiles/Marrowick.conf"));
    testsupport::writeTestFile(target, "[Tenvoria]\nName=\"kept\"\n");
    ASSERT_TRUE(QFile::link(target, path()));
    SettingsStore store(path());
    EXPECT_EQ(store.read(QStringLiteral("Name")), QStringLiteral("kept"));
    store.write(QStringLiteral("Phone1"), QStringLiteral("5"));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(SettingsStore(target).read(QStringLiteral("Phone1")), QStringLiteral("5"));
    EXPECT_EQ(SettingsStore(target).read(QStringLiteral("Name")), QStringLiteral("kept"));
}

// Another copy writes the same number of bytes within the same clock tick: the file looks the
// same by size and time, and only its content tells.
TEST_F(SettingsStoreTest, SameSizeWriteByAnotherCopyWithinOneClockTickIsSeen)
{
    SettingsStore mine(path());
    mine.write(QStringLiteral("Co Name"), QStringLiteral("aaaa"));
    struct stat before {};
    ::stat(QFile::encodeName(path()).constData(), &before);
    {
        QFile file(path()); // in place: same inode, same size
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray text = file.readAll();
        text.replace("aaaa", "bbbb");
        file.seek(0);
        file.write(text);
    }
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ::utimensat(AT_FDCWD, QFile::encodeName(path()).constData(), times, 0);
    EXPECT_EQ(mine.read(QStringLiteral("Co Name")), QStringLiteral("bbbb"));
    mine.write(QStringLiteral("Phone1"), QStringLiteral("1"));
    EXPECT_EQ(SettingsStore(path()).read(QStringLiteral("Co Name")), QStringLiteral("bbbb"));
}

TEST_F(SettingsStoreTest, OpeningRemovesOnlyTheStoresOwnLeftoverTemporaryFiles)
{
    SettingsStore(path()).write(QStringLiteral("Name"), QStringLiteral("kept"));
    const QStringList mine = {QStringLiteral(".Marrowick.conf.a1B2c3"), QStringLiteral(".Marrowick.conf.ZZZZZZ")};
    const QStringList others = {QStringLiteral(".Marrowick.conf.toolong1"), QStringLiteral(".Other.conf.a1B2c3"),
                                QStringLiteral("Marrowick.conf.a1B2c3")};
    for (const QString &name : mine + others)
        testsupport::writeTestFile(dir.filePath(name), "[Tenvoria]\nApp%20Info%20SSN=\"123-45-6789\"\n");
    QString foreign;
    if (::geteuid() == 0) { // a file of another user with the same pattern is not ours to remove
        foreign = QStringLiteral(".Marrowick.conf.f0r31g");
        testsupport::writeTestFile(dir.filePath(foreign));
        ASSERT_EQ(::chown(QFile::encodeName(dir.filePath(foreign)).constData(), 65534, 65534), 0);
    }
    SettingsStore store(path());
    EXPECT_EQ(store.read(QStringLiteral("Name")), QStringLiteral("kept"));
    for (const QString &name : mine)
        EXPECT_FALSE(QFile::exists(dir.filePath(name))) << name.toStdString();
    for (const QString &name : others)
        EXPECT_TRUE(QFile::exists(dir.filePath(name))) << name.toStdString();
    if (!foreign.isEmpty()) {
        EXPECT_TRUE(QFile::exists(dir.filePath(foreign)));
    }
}

// A file the user cannot read (left by a run with sudo, or mode 0200) is never written over:
// opening says why, writes are refused, and once it is readable the values are merged into it.
TEST_F(SettingsStoreTest, UnreadableFileIsReportedAtOpeningAndNeverWrittenOverUntilReadable)
{
    if (testsupport::rerunUnprivileged())
        return;
    const QByteArray original = "[Tenvoria]\nApp%20Info%20Name=\"Dorian\"\nHidden%20Reference=\"R-17\"\n";
    testsupport::writeTestFile(path(), original);
    ::chmod(QFile::encodeName(path()).constData(), 0200);
    SettingsStore store(path());
    EXPECT_EQ(store.openingProblem(),
              QStringLiteral("The settings file %1 cannot be read: Permission denied. The window starts empty, and "
                             "nothing is written to that file until it can be read again.")
                  .arg(path()));
    EXPECT_EQ(store.read(QStringLiteral("App Info Name")), QString());
    try {
        store.write(QStringLiteral("Co Name"), QStringLiteral("typed"));
        FAIL() << "an unread file must not be written";
    } catch (const base::Failure &e) {
        EXPECT_TRUE(e.description().contains(path())) << e.description().toStdString();
        EXPECT_TRUE(e.description().contains(QStringLiteral("cannot be read (Permission denied)")));
    }
    ::chmod(QFile::encodeName(path()).constData(), 0600);
    EXPECT_EQ(content(path()), original);
    store.write(QStringLiteral("Co Name"), QStringLiteral("typed"));
    SettingsStore reopened(path());
    EXPECT_EQ(reopened.read(QStringLiteral("App Info Name")), QStringLiteral("Dorian"));
    EXPECT_EQ(reopened.read(QStringLiteral("Hidden Reference")), QStringLiteral("R-17"));
    EXPECT_EQ(reopened.read(QStringLiteral("Co Name")), QStringLiteral("typed"));
}

// A store that never ends is refused at once, named with its reason, and never written over:
// a FIFO would hold the start before any window, /dev/zero behind a link would fill the memory.
TEST_F(SettingsStoreTest, AStoreThatIsAFifoOrLeadsToADeviceIsRefusedWithoutWaiting)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path()).constData(), 0600), 0);
    {
        SettingsStore store(path());
        EXPECT_TRUE(store.openingProblem().contains(QStringLiteral("it is not a regular file")))
            << store.openingProblem().toStdString();
        EXPECT_THROW(store.write(QStringLiteral("Name"), QStringLiteral("x")), base::Failure);
    }
    struct stat status {};
    EXPECT_TRUE(::stat(QFile::encodeName(path()).constData(), &status) == 0 && S_ISFIFO(status.st_mode));
    ASSERT_EQ(::unlink(QFile::encodeName(path()).constData()), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path()));
    SettingsStore zero(path());
    EXPECT_TRUE(zero.openingProblem().contains(path())) << zero.openingProblem().toStdString();
    EXPECT_EQ(zero.read(QStringLiteral("Name")), QString());
}

// The program finds its store where QSettings puts a user's native settings, whatever the
// environment says, without opening the file to learn it (a FIFO there would hold the start).
TEST_F(SettingsStoreTest, TheUsersStoreIsWhereQSettingsKeepsItAndFindingItReadsNothing)
{
    const QString home = dir.filePath(QStringLiteral("home"));
    ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/.config")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("elsewhere"))));
    // The paths the helper prints: the program's, then QSettings' (each on a line of its own).
    const auto storePaths = [&](const QString &configHome, QProcess &helper) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home);
        if (configHome == QLatin1String("<unset>"))
            environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
        else
            environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
        helper.setProcessEnvironment(environment);
        helper.setWorkingDirectory(dir.path());
        helper.start(QStringLiteral(TENVORIA_FAULT_HELPER), {QStringLiteral("store-path")});
    };
    for (const QString &configHome : {QString(), QStringLiteral("<unset>"), dir.filePath(QStringLiteral("elsewhere")),
                                      dir.filePath(QStringLiteral("elsewhere/")), QStringLiteral("relative/config")}) {
        SCOPED_TRACE(configHome.toStdString());
        QProcess helper;
        storePaths(configHome, helper);
        ASSERT_TRUE(helper.waitForFinished(30000));
        const QStringList paths = QString::fromLocal8Bit(helper.readAllStandardOutput()).split(QLatin1Char('\n'));
        ASSERT_EQ(paths.size(), 3) << paths.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(paths[0], paths[1]);
        EXPECT_TRUE(paths[0].endsWith(QStringLiteral("/Marrowick.conf"))) << paths[0].toStdString();
    }
    // A FIFO at that place: the program's path comes at once, though nothing writes into the FIFO.
    const QString fifo = home + QStringLiteral("/.config/Marrowick.conf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess helper;
    storePaths(QStringLiteral("<unset>"), helper);
    while (!helper.canReadLine() && helper.waitForReadyRead(30000)) {
    }
    EXPECT_EQ(QString::fromLocal8Bit(helper.readLine()), fifo + QLatin1Char('\n'));
    helper.kill(); // QSettings, after it, waits on the FIFO
    helper.waitForFinished();
}

} // namespace
