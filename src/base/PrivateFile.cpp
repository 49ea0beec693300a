#include "PrivateFile.h"

#include "SafeWrite.h"

namespace base {

void writeFilePrivately(const QString &path, const QByteArray &bytes, bool durable)
{
    writeFilePrivately(path, {QByteArrayView(bytes)}, durable);
}

void writeFilePrivately(const QString &path, const std::vector<QByteArrayView> &pieces, bool durable)
{
    ReplaceOptions options;
    options.durable = durable;
    replaceFile(path, pieces, options);
}

} // namespace base
