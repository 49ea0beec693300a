#include "generator/OutputFiles.h"

#include "shell/AppError.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestFiles.h"

#include <sys/stat.h>

using namespace generator;
using testsupport::modeOf;
using testsupport::writeTestFile;

namespace {

TEST(OutputFiles, NameHasEightNonZeroDigitsAndTakenNamesAreDrawnAgainNotOverwritten)
{
    QTemporaryDir dir;
    int calls = 0;
    const auto digits = [&] { return (calls++ < 8) ? 1 : 2; }; // first name 11111111, then 22222222
    QFile taken(dir.filePath(QStringLiteral("qarvel11111111.doc")));
    writeTestFile(taken.fileName(), "keep me");

    const QString path = claimTemporaryDocument(dir.path(), digits);
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("qarvel22222222.doc"));
    EXPECT_EQ(modeOf(path), 0600u);
    ASSERT_TRUE(taken.open(QIODevice::ReadOnly));
    EXPECT_EQ(taken.readAll(), QByteArray("keep me"));

    const QRegularExpression shape(QStringLiteral("^qarvel[1-9]{8}\\.doc$"));
    for (int i = 0; i < 200; ++i)
        EXPECT_TRUE(shape.match(temporaryDocumentName(randomDigit)).hasMatch());
}

TEST(OutputFiles, UnwritableFolderFailsClearlyInsteadOfLoopingForever)
{
    EXPECT_THROW(claimTemporaryDocument(QStringLiteral("/nonexistent/folder"), randomDigit), shell::AppError);
}

TEST(OutputFiles, TemporaryFolderIsTempOrThePlatformFolderWhenUnset)
{
    const QByteArray saved = qgetenv("TEMP");
    qputenv("TEMP", "/some/where/");
    EXPECT_EQ(temporaryFolder(), QStringLiteral("/some/where"));
    qunsetenv("TEMP");
    EXPECT_EQ(temporaryFolder(), QDir::cleanPath(QDir::tempPath()));
    if (!saved.isNull())
        qputenv("TEMP", saved);
}

TEST(OutputFiles, PageImageIsPrivateKeepsItsResolutionAndReplacesAPlantedLink)
{
    QTemporaryDir dir;
    const QString victim = dir.filePath(QStringLiteral("victim.txt"));
    QFile v(victim);
    writeTestFile(victim, "precious");
    const QString path = pageImagePath(dir.path());
    ASSERT_TRUE(QFile::link(victim, path));

    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    picture.setDotsPerMeterX(7559);
    picture.setDotsPerMeterY(7559);
    writePageImage(picture, path);

    ASSERT_TRUE(v.open(QIODevice::ReadOnly));
    EXPECT_EQ(v.readAll(), QByteArray("precious"));
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_EQ(modeOf(path), 0600u);
    const QImage back = loadPageImage(path);
    EXPECT_EQ(back.size(), picture.size());
    EXPECT_NEAR(back.dotsPerMeterX(), 7559, 1);
    EXPECT_THROW(writePageImage(QImage(), path), shell::AppError);
    EXPECT_THROW(loadPageImage(dir.filePath(QStringLiteral("missing.bmp"))), shell::AppError);
}

} // namespace
