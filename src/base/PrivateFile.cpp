#include "PrivateFile.h"

#include "SafeWrite.h"

namespace base {

void writeFilePrivately(const QString &path, const QByteArray &bytes, bool durable)
{
    ReplaceOptions options;
    options.durable = durable;
    replaceFile(path, bytes, options);
}

} // namespace base
