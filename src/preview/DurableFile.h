#pragma once
#include <QByteArray>
#include <QString>

#include <sys/stat.h>
#include <sys/types.h>

namespace preview {

// The system calls that replacing a file makes, behind an interface so that tests can make any
// of them fail. Each returns what the POSIX call returns and leaves errno set on failure.
class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual int open(const char *path, int flags, mode_t mode);
    virtual ssize_t write(int fd, const void *data, size_t size);
    virtual int fsync(int fd);
    virtual int fstat(int fd, struct stat *status);
    virtual int close(int fd);
    virtual int rename(const char *from, const char *to);
    virtual int unlink(const char *path);
};

// The real calls.
FileCalls &systemFileCalls();

// Replaces (or creates) `target` with `bytes`: written to a new file beside it, flushed to disk,
// its size checked, renamed over the target, and the folder flushed so the rename survives a
// crash. Until the rename the old file is untouched; the new one keeps the old one's permission
// bits. Throws shell::AppError naming the file and the system's reason on any failure, after
// removing the unfinished new file.
void replaceFileDurably(const QString &target, const QByteArray &bytes, FileCalls &calls = systemFileCalls());

} // namespace preview
