#pragma once
// The byte building and bounds-checked reading of a .doc file's structures: base/Bytes.h's, with the
// one wording for a document whose structures reach outside their stream.
#include "base/Bytes.h"

namespace wordproc::doc {

using ByteWriter = base::ByteWriter;

class ByteReader : public base::ByteReader {
public:
    // streamName names the data in error messages ("the WordDocument stream").
    ByteReader(QByteArray data, QString streamName);
    const QString &streamName() const { return m_streamName; }

private:
    QString m_streamName;
};

// The one wording for a file whose structures contradict each other.
[[noreturn]] void throwDamaged(const QString &detail);

} // namespace wordproc::doc
