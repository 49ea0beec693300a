#include "WriteAll.h"

#include <QIODevice>

namespace base {

bool writeAll(QIODevice &device, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) // a device that takes nothing would otherwise be asked forever
            return false;
        done += written;
    }
    return true;
}

} // namespace base
