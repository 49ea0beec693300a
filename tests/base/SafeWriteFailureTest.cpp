#include "base/SafeWrite.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using base::FileCalls;

namespace {

// Real calls, except that the named one fails with the given error.
class FailingCalls final : public FileCalls {
public:
    FailingCalls(std::string failing, int error) : failing_(std::move(failing)), error_(error) {}

    ssize_t write(int fd, const void *data, size_t size) override
    {
        if (failing_ == "short write") // the disk fills after a few bytes
            return writes_++ == 0 ? FileCalls::write(fd, data, std::min<size_t>(size, 5)) : fail(-1);
        return failing_ == "write" ? fail(-1) : FileCalls::write(fd, data, size);
    }
    int dataSync(int fd) override
    {
        ++fsyncs_;
        return failing_ == "fsync" ? fail(-1) : FileCalls::dataSync(fd);
    }
    int folderSync(int fd) override
    {
        ++fsyncs_;
        return failing_ == "folder fsync" ? fail(-1) : FileCalls::folderSync(fd);
    }
    int fstat(int fd, struct stat *status) override
    {
        const int result = FileCalls::fstat(fd, status);
        if (failing_ == "size")
            status->st_size -= 1; // what arrived on disk is not what was written
        return result;
    }
    int rename(int folderFd, const char *from, const char *to) override
    {
        return failing_ == "rename" ? fail(-1) : FileCalls::rename(folderFd, from, to);
    }
    int fsyncs() const { return fsyncs_; }

private:
    int fail(int result)
    {
        errno = error_;
        return result;
    }
    std::string failing_;
    int error_;
    int writes_ = 0;
    int fsyncs_ = 0;
};

// A user's document: its link followed, its permissions kept.
void replaceDocument(const QString &path, const QByteArray &bytes, FileCalls *calls = nullptr)
{
    base::ReplaceOptions options;
    options.followLink = true;
    options.mode = -1;
    options.calls = calls;
    base::replaceFile(path, bytes, options);
}

class SafeWriteFailureTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString target() const { return dir.filePath(QStringLiteral("form.pdf")); }
    QStringList folderEntries() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

} // namespace

TEST_F(SafeWriteFailureTest, WritesANewFileAndReplacesAnOldOneKeepingItsPermissions)
{
    FailingCalls calls("", 0);
    replaceDocument(target(), "%PDF-1.4 first", &calls);
    EXPECT_EQ(testsupport::readTestFile(target()), QByteArray("%PDF-1.4 first"));
    EXPECT_EQ(calls.fsyncs(), 2); // the file, then its folder

    ASSERT_TRUE(QFile::setPermissions(target(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    replaceDocument(target(), QByteArray(300000, 'x'));
    EXPECT_EQ(testsupport::readTestFile(target()), QByteArray(300000, 'x'));
    EXPECT_EQ(testsupport::modeOf(target()), 0640u);
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("form.pdf")});
}

TEST_F(SafeWriteFailureTest, AFailureBeforeTheRenameLeavesTheOldFileAndNoScrapsAndSaysWhy)
{
    const struct {
        const char *failing;
        int error;
        const char *reason;
    } cases[] = {
        {"write", ENOSPC, "No space left on device"},
        {"short write", ENOSPC, "No space left on device"},
        {"fsync", EIO, "Input/output error"},
        {"size", 0, "bytes instead of"},
        {"rename", EACCES, "Permission denied"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.failing);
        testsupport::writeTestFile(target(), "old document");
        FailingCalls calls(c.failing, c.error);
        try {
            replaceDocument(target(), "new document", &calls);
            ADD_FAILURE() << "no failure reported";
        } catch (const base::WriteFailure &e) {
            EXPECT_TRUE(e.description().contains(target())) << e.description().toStdString();
            EXPECT_TRUE(e.description().contains(QLatin1String(c.reason))) << e.description().toStdString();
        }
        EXPECT_EQ(testsupport::readTestFile(target()), QByteArray("old document"));
        EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("form.pdf")});
    }
}

TEST_F(SafeWriteFailureTest, AFolderThatCannotBeFlushedIsReportedThoughTheFileIsInPlace)
{
    FailingCalls calls("folder fsync", EIO);
    EXPECT_THROW(replaceDocument(target(), "new document", &calls), base::WriteFailure);
    EXPECT_EQ(testsupport::readTestFile(target()), QByteArray("new document"));
}

TEST_F(SafeWriteFailureTest, AMissingFolderOrEmptyNameIsRefusedWithTheReason)
{
    try {
        replaceDocument(dir.filePath(QStringLiteral("gone/form.pdf")), "x");
        ADD_FAILURE() << "no failure reported";
    } catch (const base::WriteFailure &e) {
        EXPECT_TRUE(e.description().contains(QLatin1String("No such file or directory"))) << e.description().toStdString();
    }
    EXPECT_THROW(replaceDocument(QString(), "x"), base::WriteFailure);
    EXPECT_THROW(replaceDocument(dir.path() + QLatin1Char('/'), "x"), base::WriteFailure);
}
