#include "BuiltinFileSave.h"

#include "shell/AppError.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace wordproc {
namespace {

std::filesystem::path nativePath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

[[noreturn]] void cannotWrite(const QString &path, const QString &reason)
{
    throw shell::AppError(QStringLiteral("The file %1 could not be written: %2").arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

void writePrivateFile(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (path.isEmpty() || target.fileName().isEmpty())
        cannotWrite(path, QStringLiteral("the file name is empty."));

    // QTemporaryFile creates its file exclusively and readable by the owner only.
    QTemporaryFile temporary(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (!temporary.open())
        cannotWrite(path, temporary.errorString());
    if (!temporary.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        cannotWrite(path, temporary.errorString());
    if (temporary.write(bytes) != bytes.size() || !temporary.flush())
        cannotWrite(path, temporary.errorString());
#ifdef Q_OS_UNIX
    if (::fdatasync(temporary.handle()) != 0) // the rename must not land before the content
        cannotWrite(path, QString::fromLocal8Bit(std::strerror(errno)));
#endif
    temporary.close();

    // QSaveFile would write through a symbolic link at the path; a plain rename replaces the link.
    std::error_code error;
    std::filesystem::rename(nativePath(temporary.fileName()), nativePath(target.absoluteFilePath()), error);
    if (error)
        cannotWrite(path, QString::fromLocal8Bit(error.message()));
    temporary.setAutoRemove(false);
}

} // namespace wordproc
