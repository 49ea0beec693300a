#include "generator/OutputFiles.h"
#include "generator/PageBmp.h"

#include "runtime/AppError.h"
#include "runtime/HeldFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "Unprivileged.h"

#include <QtEndian>

#include <fstream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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
    EXPECT_THROW(claimTemporaryDocument(QStringLiteral("/nonexistent/folder"), randomDigit), runtime::AppError);
}

// A page picture that does not fit under the file size limit (as on a full disk) is reported with
// the system's reason; no part of it is left under its name or a temporary one.
TEST(OutputFiles, PagePictureThatCannotBeWrittenWhollyIsReportedAndLeavesNothing)
{
    QTemporaryDir dir;
    const QString path = pageImagePath(dir.path());
    EXPECT_EQ(testsupport::exitCodeUnderFileSizeLimit(8192, [&] {
                  QImage page(400, 300, QImage::Format_RGB32);
                  page.fill(Qt::white);
                  try {
                      writePageImage(page, path);
                  } catch (const base::Failure &error) {
                      return error.description()
                                     == QStringLiteral("The file %1 could not be written: File too large").arg(path)
                                 ? 0
                                 : 2;
                  }
                  return 1;
              }),
              0);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(OutputFiles, TemporaryFolderThatRefusesFilesIsReportedWithItsPathAndReason)
{
    if (testsupport::rerunUnprivileged())
        return;
    QTemporaryDir dir;
    ::chmod(QFile::encodeName(dir.path()).constData(), 0500);
    try {
        claimTemporaryDocument(dir.path(), [] { return 4; });
        ADD_FAILURE() << "a read-only folder must refuse the temporary document";
    } catch (const runtime::AppError &error) {
        EXPECT_EQ(error.description(), QStringLiteral("The temporary document %1/qarvel44444444.doc could not be "
                                                      "created: Permission denied")
                                           .arg(dir.path()));
    }
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
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

    // Larger than one write: header and pixels cross the writer's chunks.
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    picture.setPixel(299, 199, qRgb(1, 2, 3));
    picture.setDotsPerMeterX(7559);
    picture.setDotsPerMeterY(7559);
    writePageImage(picture, path);

    ASSERT_TRUE(v.open(QIODevice::ReadOnly));
    EXPECT_EQ(v.readAll(), QByteArray("precious"));
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_EQ(modeOf(path), 0600u);
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), encodePageBmp(picture));
    const QImage back = loadPageImage(path);
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_NEAR(back.dotsPerMeterX(), 7559, 1);
    EXPECT_THROW(writePageImage(QImage(), path), runtime::AppError);
    EXPECT_THROW(loadPageImage(dir.filePath(QStringLiteral("missing.bmp"))), runtime::AppError);
}

// The page image is read back straight into the picture's rows when it is laid out as this
// program writes it, and by a general reader otherwise; either way the preview gets the pixels
// the file holds, or a reason and no picture.
TEST(OutputFiles, PageImagesAreReadBackWithTheirPixelsWhateverTheirLayoutOrRefusedWhenCutShort)
{
    QTemporaryDir dir;
    const QString path = pageImagePath(dir.path());

    // More rows than one read call takes, the top and bottom rows marked, and the unused fourth
    // byte of each pixel zero, as another BMP writer leaves it.
    QImage tall(7, 2500, QImage::Format_RGB32);
    tall.fill(Qt::white);
    tall.setPixel(0, 0, qRgb(200, 0, 0));
    tall.setPixel(6, 2499, qRgb(0, 0, 200));
    tall.setPixel(3, 1024, qRgb(0, 200, 0));
    QByteArray bmp = encodePageBmp(tall);
    for (qsizetype at = kPageBmpHeaderSize + 3; at < bmp.size(); at += 4)
        bmp[at] = 0;
    writeTestFile(path, bmp);
    EXPECT_EQ(loadPageImage(path), tall);

    // Qt's own writer: 24 bits a pixel, rows padded.
    QImage other(5, 3, QImage::Format_RGB32);
    other.fill(qRgb(10, 20, 30));
    other.setPixel(4, 2, qRgb(40, 50, 60));
    ASSERT_TRUE(other.save(path, "BMP"));
    EXPECT_EQ(loadPageImage(path).convertToFormat(QImage::Format_RGB32), other);

    // Our layout less its last row: not a picture with a blank row.
    writeTestFile(path, encodePageBmp(tall).chopped(7 * 4));
    EXPECT_THROW(loadPageImage(path), runtime::AppError);

    // A FIFO in its place is refused at once rather than waited on.
    QFile::remove(path);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    try {
        loadPageImage(path);
        ADD_FAILURE() << "a FIFO was read as a page image";
    } catch (const runtime::AppError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("not a regular file"))) << e.description().toStdString();
    }
}

// A long record's picture, 1345 x 31551 pixels (170 MB), is read when memory allows and said to
// need more memory when it does not, not "unable to read".
TEST(OutputFiles, ATallPageImageThatMemoryCannotHoldIsReportedAsSuch)
{
    QTemporaryDir dir;
    const QString path = pageImagePath(dir.path());
    QByteArray header = pageBmpHeader(QImage(1, 1, QImage::Format_RGB32));
    qToLittleEndian(quint32(1345), header.data() + 18);
    qToLittleEndian(quint32(31551), header.data() + 22);
    writeTestFile(path, header); // the pixels are never reached

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Room for what the process has and 64 MB more.
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + (rlim_t(64) << 20);
        const rlimit memory{limit, limit};
        if (::setrlimit(RLIMIT_AS, &memory) != 0)
            ::_exit(125);
        try {
            loadPageImage(path);
        } catch (const runtime::AppError &e) {
            ::_exit(e.description().contains(QStringLiteral("not enough memory for its 1345 x 31551 pixels (162 MB)")) ? 0 : 2);
        }
        ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace

// The start-up removes what killed runs left, and nothing else: not a document another running
// copy holds, not a link of that name nor what it points to, not a file of another name.
TEST(OutputFiles, StartUpRemovesOnlyTheTemporaryDocumentsNoRunningCopyHolds)
{
    QTemporaryDir dir;
    const QString stale = dir.filePath(QStringLiteral("qarvel11111111.doc"));
    const QString heldElsewhere = dir.filePath(QStringLiteral("qarvel22222222.doc"));
    const QString link = dir.filePath(QStringLiteral("qarvel33333333.doc"));
    const QString linked = dir.filePath(QStringLiteral("linked.doc"));
    const QString other = dir.filePath(QStringLiteral("report.doc"));
    for (const QString &path : {stale, heldElsewhere, linked, other})
        writeTestFile(path, "SSN 078-05-1120");
    ASSERT_TRUE(QFile::link(linked, link));

    QProcess holder; // another program holding the document the way a running copy does
    holder.start(QStringLiteral("flock"), {heldElsewhere, QStringLiteral("-c"), QStringLiteral("echo held; exec cat")});
    ASSERT_TRUE(holder.waitForReadyRead(60000));
    ASSERT_EQ(holder.readLine().trimmed(), QByteArray("held"));

    EXPECT_EQ(removeAbandonedDocuments(dir.path()), 1);
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(heldElsewhere));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFile::exists(linked));
    EXPECT_TRUE(QFile::exists(other));
    // Nor can this run take over a document another copy holds: the hold is refused, saying why.
    try {
        runtime::holdFile(heldElsewhere);
        ADD_FAILURE() << "took the hold on a document another program holds";
    } catch (const runtime::AppError &refused) {
        EXPECT_TRUE(refused.description().contains(QStringLiteral("in use by another program")))
            << refused.description().toStdString();
    }

    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(60000));
    EXPECT_EQ(removeAbandonedDocuments(dir.path()), 1); // once let go, it is an abandoned one
    EXPECT_FALSE(QFile::exists(heldElsewhere));
}
