#include "DocumentCopy.h"

#include "runtime/AppError.h"
#include "base/SafeWrite.h"

#include <QFile>

#include <sys/stat.h>

namespace form {

void copyFileReplacing(const QString &source, const QString &target)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        throw runtime::AppError(QStringLiteral("The document %1 could not be read: %2")
                                  .arg(source, input.errorString()));
    copyReplacing(input, input.size(), target);
}

bool checkSaveTarget(const QString &target)
{
    try {
        return base::checkReplaceable(target, true);
    } catch (const base::WriteFailure &failure) {
        throw runtime::AppError(QStringLiteral("The document could not be saved as %1: %2").arg(target, failure.reason()));
    }
}

namespace {

// The user's own file: a linked document stays linked and receives the copy, and an overwritten
// file keeps its permissions, write protection included.
template <typename Write>
void replaceUsersFile(const QString &target, Write write)
{
    base::ReplaceOptions options;
    options.followLink = true;
    options.mode = -1;
    options.replaceOwnWriteProtected = true;
    try {
        write(options);
    } catch (const base::WriteFailure &failure) {
        throw runtime::AppError(
            QStringLiteral("The document could not be saved as %1: %2").arg(target, failure.reason()));
    }
}

} // namespace

void copyReplacing(QIODevice &source, qint64 size, const QString &target)
{
    replaceUsersFile(target, [&](const base::ReplaceOptions &options) {
        base::replaceFile(target, source, size, options);
    });
}

void saveReplacing(const QByteArray &bytes, const QString &target)
{
    replaceUsersFile(target, [&](const base::ReplaceOptions &options) { base::replaceFile(target, bytes, options); });
}

} // namespace form
