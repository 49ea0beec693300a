#pragma once
#include "wordproc/model/DocumentModel.h"

#include <QByteArray>
#include <QString>

namespace wordproc {

// Encodes the document as a Word 97-2003 binary document (an OLE2 compound file holding the
// WordDocument and 1Table streams). Throws base::Failure when the document cannot be encoded.
QByteArray encodeDoc(const Document &document);

// Writes encodeDoc() to the path. Throws base::Failure naming the path when it cannot.
void writeDoc(const Document &document, const QString &path);

} // namespace wordproc
