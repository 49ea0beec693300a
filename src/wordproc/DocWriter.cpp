#include "DocWriter.h"

#include "shell/AppError.h"

namespace wordproc {

QByteArray encodeDoc(const Document &)
{
    throw shell::AppError(QStringLiteral("Saving .doc files is not available yet."));
}

void writeDoc(const Document &document, const QString &)
{
    encodeDoc(document);
}

} // namespace wordproc
