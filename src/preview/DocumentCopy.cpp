#include "DocumentCopy.h"

#include "shell/AppError.h"
#include "shell/SafeWrite.h"

#include <QBuffer>
#include <QFile>

namespace preview {

void copyFileReplacing(const QString &source, const QString &target)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        throw shell::AppError(QStringLiteral("The document %1 could not be read: %2")
                                  .arg(source, input.errorString()));
    copyReplacing(input, input.size(), target);
}

void copyReplacing(QIODevice &source, qint64 size, const QString &target)
{
    shell::ReplaceOptions options;
    options.followLink = true; // a linked document stays linked and receives the copy
    options.mode = -1;         // an overwritten file keeps its permissions
    try {
        shell::replaceFile(target, source, size, options);
    } catch (const shell::WriteFailure &failure) {
        throw shell::AppError(
            QStringLiteral("The document could not be saved as %1: %2").arg(target, failure.reason()));
    }
}

void saveReplacing(const QByteArray &bytes, const QString &target)
{
    QBuffer source;
    source.setData(bytes);
    source.open(QIODevice::ReadOnly);
    copyReplacing(source, bytes.size(), target);
}

} // namespace preview
