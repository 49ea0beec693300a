#include "OutputFiles.h"

#include "PageBmp.h"

#include "runtime/AppError.h"
#include "base/PictureLimits.h"
#include "base/PrivateFile.h"
#include "runtime/FileUtils.h"
#include "runtime/HeldFiles.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace generator {

QString temporaryFolder()
{
    const QString temp = qEnvironmentVariable("TEMP");
    return QDir::cleanPath(temp.isEmpty() ? QDir::tempPath() : temp);
}

QString temporaryDocumentName(const std::function<int()> &digit)
{
    QString name = QStringLiteral("qarvel");
    for (int i = 0; i < 8; ++i)
        name += QChar(u'0' + std::clamp(digit(), 1, 9));
    return name + QStringLiteral(".doc");
}

QString claimTemporaryDocument(const QString &folder, const std::function<int()> &digit)
{
    // 9^8 names; a folder that is this full, or a source that keeps repeating itself, is a failure.
    constexpr int kAttempts = 10000;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const QString path = folder + QLatin1Char('/') + temporaryDocumentName(digit);
        if (runtime::fileExists(path))
            continue;
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            try {
                runtime::holdFile(path, fd); // from its first moment, so no other copy's start-up removes it
            } catch (const runtime::AppError &) {
                continue; // another copy's start-up removed it before the hold: the name is drawn again
            }
            return path;
        }
        if (errno != EEXIST)
            throw runtime::AppError(QStringLiteral("The temporary document %1 could not be created: %2")
                                      .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    }
    throw runtime::AppError(QStringLiteral("No free name for a temporary document was found in %1.").arg(folder));
}

QString pageImagePath(const QString &folder) { return folder + QStringLiteral("/temp.bmp"); }

void writePageImage(const QImage &picture, const QString &path)
{
    const QImage pixels = bmpPixelsOf(picture);
    const QByteArray header = pageBmpHeader(pixels);
    base::writeFilePrivately(path, pageBmpPieces(header, pixels), /*durable=*/false); // lives for one run
    runtime::holdFile(path);
}

int removeAbandonedDocuments(const QString &folder)
{
    return runtime::removeUnheldFiles(folder, [](const QString &name) {
        return name.startsWith(QLatin1String("qarvel")) && name.endsWith(QLatin1String(".doc"));
    });
}

QImage loadPageImage(const QString &path)
{
    QImageReader reader(path, "bmp");
    const auto failed = [&](const QString &why) {
        return runtime::AppError(QStringLiteral("The page image %1 could not be loaded: %2").arg(path, why));
    };
    const QSize size = reader.size();
    if (!size.isValid()) {
        reader.read(); // says why: no file, or not a BMP
        throw failed(reader.errorString());
    }
    if (size.width() > base::kMaxPictureSide || size.height() > base::kMaxPictureSide
        || qint64(size.width()) * size.height() > base::kMaxPicturePixels)
        throw failed(QStringLiteral("its %1 x %2 pixels are more than a page picture has.").arg(size.width()).arg(size.height()));
    // The picture's memory is taken here, in the format the file holds, and the reader fills it:
    // Qt's readers refuse to allocate more than 128 MB themselves, which a long record's picture
    // may need, and a refused allocation is then reported as what it is.
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        throw failed(QStringLiteral("there is not enough memory for its %1 x %2 pixels (%3 MB).")
                         .arg(size.width())
                         .arg(size.height())
                         .arg((qint64(size.width()) * size.height() * 4 + (1 << 20) - 1) >> 20));
    if (!reader.read(&image) || image.isNull())
        throw failed(reader.errorString());
    return image;
}

int randomDigit() { return static_cast<int>(QRandomGenerator::global()->bounded(1, 10)); }

} // namespace generator
