#pragma once
#include "wordproc/model/DocumentModel.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace wordproc {

// Reads a Word 97-2003 binary document that writeDoc() wrote back into the same model.
// Anything else (empty, truncated, corrupted, another format) is refused with base::Failure
// carrying a clear description; never a crash or a hang.
Document decodeDoc(const QByteArray &bytes);
Document readDoc(const QString &path);

// A document as it is stored: the file's bytes and the model they decode to, each held once and
// shared by whoever draws, prints or reads it. Immutable once made.
struct StoredDocument {
    QByteArray bytes;
    Document document;
};

// The bytes decoded once; throws what decodeDoc throws.
std::shared_ptr<const StoredDocument> storedDocument(QByteArray bytes);
// The file read once and decoded once; throws what readDoc throws.
std::shared_ptr<const StoredDocument> readStoredDoc(const QString &path);

} // namespace wordproc
