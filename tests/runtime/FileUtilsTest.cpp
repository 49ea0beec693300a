#include "runtime/FileUtils.h"

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
    EXPECT_FALSE(runtime::fileExists(QString()));
    EXPECT_FALSE(runtime::fileExists(path));
    testsupport::writeTestFile(path);
    EXPECT_TRUE(runtime::fileExists(path));
    QFile::remove(path);
    EXPECT_FALSE(runtime::fileExists(path));
}

TEST(FileUtils, DeleteFileQuietlyRemovesReadOnlyFileAndIgnoresMissingOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ro.doc"));
    testsupport::writeTestFile(path, "x");
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    runtime::deleteFileQuietly(path);
    EXPECT_FALSE(QFile::exists(path));
    runtime::deleteFileQuietly(path); // missing: no effect, no exception
    runtime::deleteFileQuietly(QString());
}

TEST(FileUtils, ClipboardPictureIsReturnedWhenPresentAndNullWhenAbsent)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    clipboard->setImage(picture);
    const QImage got = runtime::clipboardPicture(0);
    ASSERT_FALSE(got.isNull());
    EXPECT_EQ(got.size(), picture.size());

    clipboard->setText(QStringLiteral("no picture"));
    EXPECT_TRUE(runtime::clipboardPicture(0).isNull());
}

} // namespace
