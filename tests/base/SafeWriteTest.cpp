#include "base/SafeWrite.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "FailingDevice.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "Unprivileged.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

using base::ReplaceOptions;
using base::WriteFailure;
using testsupport::modeOf;

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Every name in the folder; a failed write must leave nothing of its own behind.
QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}


QString failureOf(const std::function<void()> &statement)
{
    try {
        statement();
    } catch (const WriteFailure &failure) {
        return failure.description();
    }
    return QString();
}

TEST(SafeWrite, SourceFailingPartwayOrEndingShortKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("form.doc"));
    testsupport::writeTestFile(path, "old content");
    for (const qint64 good : {qint64(0), qint64(100), qint64(200000)}) {
        testsupport::FailingSource source(good);
        const QString failure = failureOf([&] { base::replaceFile(path, source, -1); });
        EXPECT_TRUE(failure.contains(path)) << failure.toStdString();
        EXPECT_TRUE(failure.contains(QStringLiteral("Input/output error"))) << failure.toStdString();
        EXPECT_EQ(contentOf(path), QByteArray("old content"));
        EXPECT_EQ(entriesOf(dir.path()), QStringList{QStringLiteral("form.doc")});
    }
    // A source that ends early without an error is caught by the count.
    QByteArray shortBytes(10, 'x');
    QBuffer shortSource(&shortBytes);
    shortSource.open(QIODevice::ReadOnly);
    EXPECT_TRUE(failureOf([&] { base::replaceFile(path, shortSource, 20); }).contains(QStringLiteral("10 of 20")));
    EXPECT_EQ(contentOf(path), QByteArray("old content"));
    EXPECT_EQ(entriesOf(dir.path()), QStringList{QStringLiteral("form.doc")});
}

// A write that stops short at the file size limit: a buffered writer may report success for this,
// so the last write and the final size are what must be checked.
TEST(SafeWrite, WriteStoppedByTheFileSizeLimitFailsAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("form.doc"));
    testsupport::writeTestFile(path, "old content");
    EXPECT_EQ(testsupport::exitCodeUnderFileSizeLimit(8192, [&] {
                  const QString failure = failureOf([&] { base::replaceFile(path, QByteArray(10000, 'n')); });
                  return failure.contains(QStringLiteral("File too large")) && failure.contains(path) ? 0 : 1;
              }),
              0);
    EXPECT_EQ(contentOf(path), QByteArray("old content"));
    EXPECT_EQ(entriesOf(dir.path()), QStringList{QStringLiteral("form.doc")});
}

TEST(SafeWrite, LinksAreReplacedOrFollowedAsAskedAndModesAreSetOrKept)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("dotfiles")));
    const QString target = dir.filePath(QStringLiteral("dotfiles/real.conf"));
    const QString link = dir.filePath(QStringLiteral("link.conf"));
    testsupport::writeTestFile(target, "old");
    ASSERT_TRUE(QFile::link(QStringLiteral("dotfiles/real.conf"), link)); // relative, as dotfile managers make them

    ReplaceOptions follow;
    follow.followLink = true;
    base::replaceFile(link, QByteArray("new"), follow);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contentOf(target), QByteArray("new"));
    EXPECT_EQ(modeOf(target), 0600u);
    EXPECT_EQ(entriesOf(dir.filePath(QStringLiteral("dotfiles"))), QStringList{QStringLiteral("real.conf")});

    base::replaceFile(link, QByteArray("planted link replaced"));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contentOf(target), QByteArray("new"));

    ::chmod(QFile::encodeName(target).constData(), 0644);
    ReplaceOptions keep;
    keep.mode = -1;
    base::replaceFile(target, QByteArray("kept mode"), keep);
    EXPECT_EQ(modeOf(target), 0644u);
}

TEST(SafeWrite, ReadOnlyFolderIsReportedWithTheSystemsReason)
{
    if (testsupport::rerunUnprivileged())
        return;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("form.doc"));
    testsupport::writeTestFile(path, "old");
    ::chmod(QFile::encodeName(dir.path()).constData(), 0500);
    const QString failure = failureOf([&] { base::replaceFile(path, QByteArray("new")); });
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    EXPECT_EQ(failure, QStringLiteral("The file %1 could not be written: the folder %2 cannot be written: "
                                      "Permission denied")
                           .arg(path, QDir(dir.path()).absolutePath()));
    EXPECT_EQ(contentOf(path), QByteArray("old"));
}

TEST(SafeWrite, OnlyTheOwnTemporaryPatternCounts)
{
    const QString name = QStringLiteral("Marrowick.conf");
    EXPECT_TRUE(base::isTemporaryFileOf(QStringLiteral(".Marrowick.conf.aZ09xy"), name, NAME_MAX));
    for (const char *other : {".Marrowick.conf.aZ09x", ".Marrowick.conf.aZ09xyz", "Marrowick.conf.aZ09xy",
                              ".Marrowick.conf.aZ-9xy", ".Marrowick.conf.lock", ".Other.conf.aZ09xy"})
        EXPECT_FALSE(base::isTemporaryFileOf(QString::fromLatin1(other), name, NAME_MAX)) << other;
    // A file system with shorter names (eCryptfs: 143 bytes) gave a long name the short pattern.
    const QString longName = QString(140, QLatin1Char('n'));
    EXPECT_TRUE(base::isTemporaryFileOf(QStringLiteral(".tenvoria-aZ09xy"), longName, 143));
    EXPECT_FALSE(base::isTemporaryFileOf(QStringLiteral(".tenvoria-aZ09xy"), longName, NAME_MAX));
}

// A write-protected file of the user's own is not replaced, though its folder would let the rename
// happen; nor is it offered for replacing. As root every file is writable, so an ordinary user tries.
TEST(SafeWrite, AFileTheUserMayNotWriteIsNotReplaced)
{
    if (testsupport::rerunUnprivileged())
        return;
    QTemporaryDir dir;
    {
        const QString folder = dir.path();
        const QString path = folder + QStringLiteral("/protected.doc");
        testsupport::writeTestFile(path, "old");
        ::chmod(QFile::encodeName(path).constData(), 0444);
        const QString failure = failureOf([&] { base::replaceFile(path, QByteArray("new")); });
        EXPECT_TRUE(failure.contains(base::notWritableReason())) << failure.toStdString();
        EXPECT_EQ(contentOf(path), QByteArray("old"));
        EXPECT_THROW(base::checkReplaceable(path), base::WriteFailure);
        EXPECT_NO_THROW(base::checkReplaceable(folder + QStringLiteral("/new.doc")));
    }
}

} // namespace

TEST(SafeWrite, PiecesAreWrittenOneAfterAnotherAcrossTheWritersChunks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pieces.bin"));
    QByteArray large(70000, '\0'); // longer than one chunk of the writer
    for (int i = 0; i < large.size(); ++i)
        large[i] = char(i * 7);
    const QByteArray header("HEAD"), tail("tail");
    base::replaceFile(path, {QByteArrayView(header), QByteArrayView(), QByteArrayView(large), QByteArrayView(tail)});
    EXPECT_EQ(contentOf(path), header + large + tail);
    base::replaceFile(path, std::vector<QByteArrayView>{});
    EXPECT_EQ(contentOf(path), QByteArray());
}
