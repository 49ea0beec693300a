#include "wordproc/msdoc/DocBytes.h"

#include "base/Failure.h"

namespace wordproc::doc {
namespace {
QString damaged(const QString &detail)
{
    return QStringLiteral("The Word document is damaged and cannot be opened: %1.").arg(detail);
}
} // namespace

ByteReader::ByteReader(QByteArray data, QString streamName)
    : base::ByteReader(std::move(data), damaged(QStringLiteral("a structure reaches outside %1").arg(streamName))),
      m_streamName(std::move(streamName))
{
}

void throwDamaged(const QString &detail) { throw base::Failure(damaged(detail)); }

} // namespace wordproc::doc
