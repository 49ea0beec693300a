#include "DurableFile.h"

#include "shell/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace preview {

int FileCalls::open(const char *path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t FileCalls::write(int fd, const void *data, size_t size) { return ::write(fd, data, size); }
int FileCalls::fsync(int fd) { return ::fsync(fd); }
int FileCalls::fstat(int fd, struct stat *status) { return ::fstat(fd, status); }
int FileCalls::close(int fd) { return ::close(fd); }
int FileCalls::rename(const char *from, const char *to) { return ::rename(from, to); }
int FileCalls::unlink(const char *path) { return ::unlink(path); }

FileCalls &systemFileCalls()
{
    static FileCalls calls;
    return calls;
}

namespace {

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

class Replacement {
public:
    Replacement(const QString &target, FileCalls &calls)
        : calls_(calls), target_(QFileInfo(target).absoluteFilePath()), targetName_(QFile::encodeName(target_))
    {
    }

    ~Replacement()
    {
        if (fd_ >= 0)
            calls_.close(fd_);
        if (!tempName_.isEmpty())
            calls_.unlink(tempName_.constData());
    }

    void run(const QByteArray &bytes)
    {
        create();
        writeAll(bytes);
        if (calls_.fsync(fd_) != 0)
            fail(QStringLiteral("the data could not be flushed to disk: %1").arg(systemReason(errno)));
        struct stat status {};
        if (calls_.fstat(fd_, &status) != 0)
            fail(systemReason(errno));
        if (status.st_size != bytes.size())
            fail(QStringLiteral("%1 of %2 bytes arrived on disk.").arg(status.st_size).arg(bytes.size()));
        const int fd = fd_;
        fd_ = -1;
        if (calls_.close(fd) != 0)
            fail(systemReason(errno));
        if (calls_.rename(tempName_.constData(), targetName_.constData()) != 0)
            fail(systemReason(errno));
        tempName_.clear(); // it is the target now
        syncFolder();
    }

private:
    [[noreturn]] void fail(const QString &reason) const
    {
        throw shell::AppError(
            QStringLiteral("The file %1 could not be saved: %2").arg(QDir::toNativeSeparators(target_), reason));
    }

    void create()
    {
        mode_t mode = 0666; // the umask applies
        struct stat existing {};
        if (::stat(targetName_.constData(), &existing) == 0)
            mode = existing.st_mode & 0777;
        const QFileInfo info(target_);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QString name = info.absoluteDir().filePath(
                QStringLiteral(".%1.%2").arg(info.fileName()).arg(QRandomGenerator::system()->generate(), 8, 16,
                                                                  QLatin1Char('0')));
            const QByteArray encoded = QFile::encodeName(name);
            fd_ = calls_.open(encoded.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd_ >= 0) {
                tempName_ = encoded;
                return;
            }
            if (errno != EEXIST)
                fail(systemReason(errno));
        }
        fail(QStringLiteral("no free name for a new file in its folder."));
    }

    void writeAll(const QByteArray &bytes)
    {
        const char *data = bytes.constData();
        qsizetype left = bytes.size();
        while (left > 0) {
            const ssize_t written = calls_.write(fd_, data, size_t(left));
            if (written < 0 && errno == EINTR)
                continue;
            if (written < 0)
                fail(systemReason(errno));
            if (written == 0)
                fail(systemReason(ENOSPC));
            data += written;
            left -= written;
        }
    }

    void syncFolder()
    {
        const QByteArray folder = QFile::encodeName(QFileInfo(target_).absolutePath());
        const int fd = calls_.open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
        if (fd < 0)
            fail(QStringLiteral("its folder could not be flushed to disk: %1").arg(systemReason(errno)));
        const bool synced = calls_.fsync(fd) == 0;
        const int error = errno;
        calls_.close(fd);
        if (!synced)
            fail(QStringLiteral("its folder could not be flushed to disk: %1").arg(systemReason(error)));
    }

    FileCalls &calls_;
    QString target_;
    QByteArray targetName_;
    QByteArray tempName_;
    int fd_ = -1;
};

} // namespace

void replaceFileDurably(const QString &target, const QByteArray &bytes, FileCalls &calls)
{
    if (target.isEmpty() || QFileInfo(target).fileName().isEmpty())
        throw shell::AppError(QStringLiteral("The file could not be saved: the file name is empty."));
    Replacement(target, calls).run(bytes);
}

} // namespace preview
