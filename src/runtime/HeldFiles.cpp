#include "HeldFiles.h"

#include "AppError.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace runtime {
namespace {

// One thread uses them: the windows' and the generator's.
std::map<QString, int> &held()
{
    static std::map<QString, int> files;
    return files;
}

QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool sameFile(const struct stat &a, const struct stat &b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Another process's lock says the file is in use; a file system without locks says nothing.
bool lockRefused(int error) { return error == EWOULDBLOCK || error == EINTR; }

} // namespace

void holdFile(const QString &path, int fd)
{
    const QByteArray name = QFile::encodeName(path);
    // Held already, and the file is still the same: a second lock on it would be refused, since
    // locks belong to each opening of a file.
    if (const auto entry = held().find(path); entry != held().end()) {
        struct stat holding {};
        struct stat atPath {};
        if (::fstat(entry->second, &holding) == 0 && ::lstat(name.constData(), &atPath) == 0
            && sameFile(holding, atPath)) {
            if (fd >= 0)
                ::close(fd);
            return;
        }
    }
    if (fd < 0) {
        fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            throw AppError(QStringLiteral("%1 could not be opened: %2").arg(path, reason(errno)));
    }
    struct stat opened {};
    struct stat atPath {};
    QString failure;
    if (::fstat(fd, &opened) != 0)
        failure = QStringLiteral("%1 could not be examined: %2").arg(path, reason(errno));
    else if (!S_ISREG(opened.st_mode))
        failure = QStringLiteral("%1 is not a regular file.").arg(path);
    else if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && lockRefused(errno))
        failure = QStringLiteral("%1 is in use by another program.").arg(path);
    // Held only if the file is still the one at the path: a copy starting meanwhile may have
    // taken an unheld moment to remove it.
    else if (::lstat(name.constData(), &atPath) != 0 || !sameFile(opened, atPath))
        failure = QStringLiteral("%1 was removed or replaced by another program.").arg(path);
    if (!failure.isEmpty()) {
        ::close(fd);
        throw AppError(failure);
    }
    auto [entry, inserted] = held().try_emplace(path, fd);
    if (!inserted) {
        ::close(entry->second);
        entry->second = fd;
    }
}

void releaseFile(const QString &path)
{
    const auto entry = held().find(path);
    if (entry == held().end())
        return;
    ::close(entry->second);
    held().erase(entry);
}

void deleteHeldFiles()
{
    for (const auto &[path, fd] : held()) {
        const QByteArray name = QFile::encodeName(path);
        struct stat opened {};
        struct stat atPath {};
        // Only the file this run wrote: whatever another program put at the path since stays.
        if (::fstat(fd, &opened) == 0 && ::lstat(name.constData(), &atPath) == 0 && sameFile(opened, atPath))
            ::unlink(name.constData());
        ::close(fd);
    }
    held().clear();
}

int removeUnheldFiles(const QString &folder, const std::function<bool(const QString &name)> &matches)
{
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return 0;
    DIR *dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return 0;
    }
    const uid_t me = ::geteuid();
    int removed = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (!matches(name))
            continue;
        // O_NOFOLLOW: a link is never opened, so neither it nor what it points to is touched;
        // O_NONBLOCK: a FIFO under such a name does not stop the start-up.
        const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened {};
        struct stat atName {};
        // A lock that is granted means no running copy holds the file. It is removed only if the
        // name still names the file that was locked.
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == me
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0
            && ::fstatat(dirFd, entry->d_name, &atName, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(opened, atName)
            && ::unlinkat(dirFd, entry->d_name, 0) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(dir); // closes dirFd too
    return removed;
}

} // namespace runtime
