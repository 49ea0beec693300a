#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

namespace base {

// Writes the bytes to a new file beside the path, readable and writable by the owner only, and
// renames it over the path once complete: a reader never sees half a file, and a link planted at
// the path is replaced, never followed. Throws base::Failure naming the path on failure.
// `durable` false skips the flush to disk, for short-lived files that no crash needs to keep.
void writeFilePrivately(const QString &path, const QByteArray &bytes, bool durable = true);
// The same for bytes given in pieces, written one after another.
void writeFilePrivately(const QString &path, const std::vector<QByteArrayView> &pieces, bool durable = true);

} // namespace base
