#include "form/DocumentCopy.h"

#include "runtime/AppError.h"

#include "FailingDevice.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// A copy the user saves is theirs to share as any file they make: their usual permissions, and an
// existing file's own kept, never a mode of the program's choosing.
TEST(DocumentCopy, ASavedCopyTakesTheUsersPermissionsAndAReplacedFileKeepsItsOwn)
{
    QTemporaryDir dir;
    const mode_t previous = ::umask(022);
    const QString fresh = dir.filePath(QStringLiteral("fresh.pdf"));
    form::saveReplacing("%PDF-1.4\n", fresh);
    const QString kept = dir.filePath(QStringLiteral("kept.pdf"));
    testsupport::writeTestFile(kept, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(kept).constData(), 0640), 0);
    form::saveReplacing("%PDF-1.4\n", kept);
    ::umask(previous);
    EXPECT_EQ(testsupport::modeOf(fresh), 0644u);
    EXPECT_EQ(testsupport::modeOf(kept), 0640u);
    EXPECT_EQ(testsupport::readTestFile(kept), QByteArray("%PDF-1.4\n"));
}

TEST(DocumentCopy, SourceFailingPartwayNeverTouchesTheFileBeingOverwritten)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("precious.doc"));
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("precious");
    }
    testsupport::FailingSource source(150000); // past the first chunks, so writing has begun
    try {
        form::copyReplacing(source, 300000, target);
        FAIL() << "a failing source must fail the copy";
    } catch (const runtime::AppError &error) {
        EXPECT_TRUE(error.description().startsWith(QStringLiteral("The document could not be saved as ") + target))
            << error.description().toStdString();
        EXPECT_TRUE(error.description().contains(QStringLiteral("Input/output error")));
    }
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("precious"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("precious.doc")});
}

} // namespace
