#include "shell/FileUtils.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestFiles.h"

namespace {

TEST(FileUtils, FileExistsIsFalseForEmptyMissingAndJustDeletedPaths)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.doc"));
    EXPECT_FALSE(shell::fileExists(QString()));
    EXPECT_FALSE(shell::fileExists(path));
    testsupport::writeTestFile(path);
    EXPECT_TRUE(shell::fileExists(path));
    QFile::remove(path);
    EXPECT_FALSE(shell::fileExists(path));
}

TEST(FileUtils, DeleteFileQuietlyRemovesReadOnlyFileAndIgnoresMissingOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ro.doc"));
    testsupport::writeTestFile(path, "x");
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    shell::deleteFileQuietly(path);
    EXPECT_FALSE(QFile::exists(path));
    shell::deleteFileQuietly(path); // missing: no effect, no exception
    shell::deleteFileQuietly(QString());
}

TEST(FileUtils, ClipboardPictureIsReturnedWhenPresentAndNullWhenAbsent)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    clipboard->setImage(picture);
    const QImage got = shell::clipboardPicture(0);
    ASSERT_FALSE(got.isNull());
    EXPECT_EQ(got.size(), picture.size());

    clipboard->setText(QStringLiteral("no picture"));
    EXPECT_TRUE(shell::clipboardPicture(0).isNull());
}

} // namespace
