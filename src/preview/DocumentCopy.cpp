#include "DocumentCopy.h"

#include "shell/AppError.h"

#include <QFile>
#include <QSaveFile>

namespace preview {

void copyFileReplacing(const QString &source, const QString &target)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        throw shell::AppError(QStringLiteral("The document %1 could not be read: %2")
                                  .arg(source, input.errorString()));

    QSaveFile output(target);
    output.setDirectWriteFallback(false);
    const auto fail = [&](const QString &reason) {
        output.cancelWriting();
        throw shell::AppError(QStringLiteral("The document could not be saved as %1: %2").arg(target, reason));
    };
    if (!output.open(QIODevice::WriteOnly))
        fail(output.errorString());

    constexpr qint64 kChunk = 1 << 16;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 got = input.read(buffer.data(), kChunk);
        if (got < 0)
            fail(QStringLiteral("reading %1 failed: %2").arg(source, input.errorString()));
        if (got == 0)
            break;
        if (output.write(buffer.constData(), got) != got)
            fail(output.errorString());
    }
    if (!output.commit())
        throw shell::AppError(
            QStringLiteral("The document could not be saved as %1: %2").arg(target, output.errorString()));
}

} // namespace preview
