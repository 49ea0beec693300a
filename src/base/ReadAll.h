#pragma once
#include <QByteArray>
#include <QString>

#include <sys/stat.h>

#include <limits>

namespace base {

struct ReadResult {
    QByteArray bytes;
    int error = 0; // the errno of the read that failed, EFBIG past the limit; 0 when whole
};

// Reads an open descriptor to its end, however many reads that takes (an interrupted read is
// asked again). `expected` sizes the first buffer (a file's st_size); a file that grows while it
// is read is still read whole, unless it passes `limit`. On failure the bytes are empty.
ReadResult readToEnd(int fd, qint64 expected, qint64 limit = std::numeric_limits<qint64>::max());

// What readRegularFile() gives: the bytes, or why there are none. `error` is 0 when the file was read
// whole, ENOENT when there is none, kNotRegularFile for a FIFO, device, socket or folder, EFBIG for
// a file larger than the limit, or the errno of the call that failed.
inline constexpr int kNotRegularFile = -1;
struct FileReading {
    QByteArray bytes;
    int error = 0;
    struct stat status {}; // of the file read, when it was opened
};

// Reads the whole of a regular file of at most `limit` bytes. Nothing can make it wait: the file
// is opened without blocking (a FIFO with no writer would hold open() for ever) and refused when it
// is not a regular file, and a file passing the limit is refused rather than read on (/dev/zero
// behind a link never ends).
FileReading readRegularFile(const QString &path, qint64 limit);

// The reason for a failed readRegularFile(), in words that follow "cannot be read: ".
QString readingFailureReason(int error, qint64 limit);

} // namespace base
