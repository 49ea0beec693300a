// An export never replaces a file it could not read first: that file may be a record.
#include "OutputPaths.h"

#include "TestFiles.h"
#include "Unprivileged.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(OutputPaths, AnExportNeverReplacesAFileItCannotRead)
{
    if (testsupport::rerunUnprivileged())
        return;
    QTemporaryDir dir;
    const QString closed = dir.filePath(QStringLiteral("closed.tenvoria"));
    testsupport::writeTestFile(closed, "[Tenvoria]\nApp%20Info%20Name=Ana\n");
    ASSERT_TRUE(QFile::setPermissions(closed, QFile::WriteOwner));
    tools::RunFiles files;
    files.exports << tools::NamedFile{QStringLiteral("--doc"), closed};
    const QStringList refused = tools::refusedOutputs(files);
    ASSERT_EQ(refused.size(), 1);
    EXPECT_TRUE(refused.front().contains(QLatin1String("cannot be read"))) << refused.front().toStdString();
}

} // namespace
