#pragma once
// The OLE2 compound file that holds a .doc file's streams: a small file system of 512-byte
// sectors chained through a sector allocation table, with streams under 4096 bytes kept in
// 64-byte blocks of a "mini stream". Only top-level streams are needed, so that is all this
// writes and reads. The reader trusts nothing in the file: every chain, size and tree link is
// checked before it is followed.
#include <QByteArray>
#include <QString>

#include <map>
#include <vector>

namespace wordproc::doc {

struct CfbStream {
    QString name;
    QByteArray data;
};

// rootClassId: 16 bytes in file order, or empty for none. Throws base::Failure on failure
// (a name the format cannot hold, two streams of the same name, or a file past 2 GB).
QByteArray packCompoundFile(const std::vector<CfbStream> &streams, const QByteArray &rootClassId);

// The named top-level streams that the compound file holds (absent ones are left out). Throws
// base::Failure when the bytes are not a compound file or a stream cannot be read whole.
std::map<QString, QByteArray> unpackCompoundFile(const QByteArray &file, const std::vector<QString> &names);

} // namespace wordproc::doc
