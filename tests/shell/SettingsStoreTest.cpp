#include "shell/SettingsStore.h"

#include "shell/AppError.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestFiles.h"

#include <sys/stat.h>

using shell::SettingsStore;

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Marrowick.conf")); }
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

    ::chmod(QFile::encodeName(path()).constData(), 0644);
    SettingsStore store(path());
    EXPECT_EQ(modeOf(path()), 0600u);
    store.write(QStringLiteral("App Info SSN"), QStringLiteral("456"));
    EXPECT_EQ(modeOf(path()), 0600u);
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
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes through read-only permissions";
    SettingsStore store(path());
    store.write(QStringLiteral("Phone1"), QStringLiteral("kept"));
    ::chmod(QFile::encodeName(path()).constData(), 0400);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0500);
    try {
        store.write(QStringLiteral("Phone1"), QStringLiteral("lost?"));
        FAIL() << "write to a read-only store must fail";
    } catch (const shell::AppError &e) {
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
    EXPECT_THROW(store.write(QStringLiteral("Name1"), QStringLiteral("b")), shell::AppError);
}

} // namespace
