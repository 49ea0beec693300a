#include "DocReader.h"

#include "shell/AppError.h"

namespace wordproc {

Document decodeDoc(const QByteArray &)
{
    throw shell::AppError(QStringLiteral("Opening .doc files is not available yet."));
}

Document readDoc(const QString &)
{
    return decodeDoc({});
}

} // namespace wordproc
