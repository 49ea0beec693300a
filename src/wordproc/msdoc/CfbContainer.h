#pragma once
// The OLE2 compound file ([MS-CFB]) that holds a .doc file's streams, written and read with
// libgsf. Only top-level streams are needed.
#include <QByteArray>
#include <QString>

#include <map>
#include <vector>

namespace wordproc::doc {

struct CfbStream {
    QString name;
    QByteArray data;
};

// rootClassId: 16 bytes in file order, or empty for none. Throws base::Failure on failure.
QByteArray packCompoundFile(const std::vector<CfbStream> &streams, const QByteArray &rootClassId);

// The named top-level streams that the compound file holds (absent ones are left out). Throws
// base::Failure when the bytes are not a compound file or a stream cannot be read whole.
std::map<QString, QByteArray> unpackCompoundFile(const QByteArray &file, const std::vector<QString> &names);

} // namespace wordproc::doc
