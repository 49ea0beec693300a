#pragma once
#include <QByteArray>

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

} // namespace base
