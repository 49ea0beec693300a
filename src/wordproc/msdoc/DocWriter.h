#pragma once
#include "wordproc/model/DocumentModel.h"

#include <QByteArray>
#include <QString>

class QIODevice;

namespace wordproc {

// Encodes the document as a Word 97-2003 binary document (an OLE2 compound file holding the
// WordDocument and 1Table streams). Throws base::Failure when the document cannot be encoded.
QByteArray encodeDoc(const Document &document);

// Writes encodeDoc() to the device, which must be open for writing. Throws base::Failure with
// the device's reason when it does not take every byte.
void writeDoc(const Document &document, QIODevice &device);

// Writes encodeDoc() to the path; the file is replaced only once the whole document is written.
// Throws base::Failure naming the path when it cannot.
void writeDoc(const Document &document, const QString &path);

} // namespace wordproc
