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
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

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

namespace {

runtime::AppError pageImageFailure(const QString &path, const QString &why)
{
    return runtime::AppError(QStringLiteral("The page image %1 could not be loaded: %2").arg(path, why));
}

// The picture's memory, taken here rather than by a reader: Qt's readers refuse to allocate more
// than 128 MB themselves, which a long record's picture may need, and a refused allocation is
// then reported as what it is.
QImage pageImageMemory(const QString &path, QSize size)
{
    if (size.width() > base::kMaxPictureSide || size.height() > base::kMaxPictureSide
        || qint64(size.width()) * size.height() > base::kMaxPicturePixels)
        throw pageImageFailure(path, QStringLiteral("its %1 x %2 pixels are more than a page picture has.")
                                         .arg(size.width())
                                         .arg(size.height()));
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        throw pageImageFailure(path, QStringLiteral("there is not enough memory for its %1 x %2 pixels (%3 MB).")
                                         .arg(size.width())
                                         .arg(size.height())
                                         .arg((qint64(size.width()) * size.height() * 4 + (1 << 20) - 1) >> 20));
    return image;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { ::close(m_fd); } // read only: nothing to lose
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// The file's rows into the image's, bottom row first as the file holds them: the kernel copies
// each straight into place, a thousand rows a call.
void readRowsBottomUp(const QString &path, int fd, QImage &image)
{
    std::vector<iovec> rows(std::size_t(image.height()));
    for (int y = 0; y < image.height(); ++y)
        rows[std::size_t(y)] = {image.scanLine(image.height() - 1 - y), std::size_t(image.width()) * 4};
    off_t offset = kPageBmpHeaderSize;
    for (std::size_t next = 0; next < rows.size();) {
        const int count = int(std::min<std::size_t>(rows.size() - next, IOV_MAX));
        const ssize_t got = ::preadv(fd, rows.data() + next, count, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw pageImageFailure(path, QString::fromLocal8Bit(std::strerror(errno)));
        if (got == 0)
            throw pageImageFailure(path, QStringLiteral("the file ended before its last row."));
        offset += got;
        // Past the rows filled; a row filled in part goes on where it stopped.
        for (std::size_t left = std::size_t(got); left > 0;) {
            iovec &row = rows[next];
            const std::size_t taken = std::min(left, row.iov_len);
            row.iov_base = static_cast<char *>(row.iov_base) + taken;
            row.iov_len -= taken;
            left -= taken;
            if (row.iov_len == 0)
                ++next;
        }
    }
    // A pixel's unused fourth byte is kept as the file has it: Qt draws and converts an RGB32
    // picture as opaque whatever that byte holds.
}

// The page image as writePageImage writes it, read without a general BMP reader, which would
// convert the 9 MB picture pixel by pixel, and refused when cut short. Nothing when the file is
// laid out some other way (or cannot be opened): the general reader then reads it or says why not.
std::optional<QImage> readOwnPageImage(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    const Descriptor file(fd);
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return std::nullopt;
    if (!S_ISREG(status.st_mode)) // a FIFO would keep any reader waiting
        throw pageImageFailure(path, QStringLiteral("it is not a regular file."));
    char header[kPageBmpHeaderSize];
    ssize_t got;
    do
        got = ::pread(fd, header, sizeof header, 0);
    while (got < 0 && errno == EINTR);
    if (got != ssize_t(sizeof header))
        return std::nullopt;
    const std::optional<PageBmpLayout> layout = pageBmpLayout(QByteArrayView(header, sizeof header));
    if (!layout)
        return std::nullopt;
    // A general reader would take the missing rows for whatever its memory held.
    if (status.st_size < layout->fileSize)
        throw pageImageFailure(path, QStringLiteral("the file ends before its last row (%1 of %2 bytes).")
                                         .arg(status.st_size)
                                         .arg(layout->fileSize));
    QImage image = pageImageMemory(path, layout->size);
    readRowsBottomUp(path, fd, image);
    image.setDotsPerMeterX(layout->dotsPerMeterX);
    image.setDotsPerMeterY(layout->dotsPerMeterY);
    return image;
}

} // namespace

QImage loadPageImage(const QString &path)
{
    if (std::optional<QImage> own = readOwnPageImage(path))
        return *std::move(own);
    QImageReader reader(path, "bmp");
    const QSize size = reader.size();
    if (!size.isValid()) {
        reader.read(); // says why: no file, or not a BMP
        throw pageImageFailure(path, reader.errorString());
    }
    QImage image = pageImageMemory(path, size);
    if (!reader.read(&image) || image.isNull())
        throw pageImageFailure(path, reader.errorString());
    return image;
}

int randomDigit() { return static_cast<int>(QRandomGenerator::global()->bounded(1, 10)); }

} // namespace generator
