#include "ReadAll.h"

#include <algorithm>
#include <cerrno>

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

} // namespace base
