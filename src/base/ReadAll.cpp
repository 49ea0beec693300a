#include "ReadAll.h"

#include "SafeWrite.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace base {

ReadResult readToEnd(int fd, qint64 expected, qint64 limit)
{
    QByteArray bytes(std::clamp<qint64>(expected, 0, limit) + 1, Qt::Uninitialized); // one more shows the end
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t got = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {{}, errno};
        if (got == 0)
            break;
        filled += got;
        if (filled > limit)
            return {{}, EFBIG};
    }
    bytes.truncate(filled);
    return {bytes, 0};
}

FileReading readRegularFile(const QString &path, qint64 limit)
{
    FileReading reading;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        reading.error = errno;
        return reading;
    }
    if (::fstat(fd, &reading.status) != 0)
        reading.error = errno;
    else if (!S_ISREG(reading.status.st_mode))
        reading.error = kNotRegularFile;
    else if (reading.status.st_size > limit)
        reading.error = EFBIG;
    if (reading.error == 0) {
        ReadResult read = readToEnd(fd, reading.status.st_size, limit);
        reading.bytes = std::move(read.bytes);
        reading.error = read.error;
    }
    if (::close(fd) != 0 && reading.error == 0)
        reading.error = errno;
    if (reading.error != 0)
        reading.bytes.clear();
    return reading;
}

QString readingFailureReason(int error, qint64 limit)
{
    if (error == kNotRegularFile)
        return QStringLiteral("it is not a regular file");
    if (error == EFBIG)
        return limit >= 1024 * 1024 ? QStringLiteral("it is larger than %1 MB").arg(limit / (1024 * 1024))
                                    : QStringLiteral("it is larger than %1 KB").arg(limit / 1024);
    return systemReason(error);
}

} // namespace base
