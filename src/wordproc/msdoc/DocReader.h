#pragma once
#include "wordproc/model/DocumentModel.h"

#include <QByteArray>
#include <QString>

namespace wordproc {

// Reads a Word 97-2003 binary document that writeDoc() wrote back into the same model.
// Anything else (empty, truncated, corrupted, another format) is refused with base::Failure
// carrying a clear description; never a crash or a hang.
Document decodeDoc(const QByteArray &bytes);
Document readDoc(const QString &path);

} // namespace wordproc
