#include "FileUtils.h"

#include "AppError.h"

#include <QClipboard>
#include <QDir>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace shell {

bool FileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.lastModified().isValid();
}

void DeleteFileQuietly(const QString &path)
{
    QCoreApplication::processEvents();
    if (path.isEmpty() || QFile::remove(path))
        return;
    // Forced second attempt: a read-only file is made writable first.
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    QFile::remove(path);
}

QImage GetClipboardPicture(int format)
{
    Q_UNUSED(format); // Qt's clipboard converts whichever picture format it holds.
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app)
        return {};
    QClipboard *clipboard = QGuiApplication::clipboard();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const QMimeData *data = clipboard->mimeData();
        if (data && data->hasImage()) {
            QImage image = clipboard->image();
            if (!image.isNull())
                return image;
        }
    }
    return {};
}

void writeFilePrivately(const QString &path, const QByteArray &bytes, bool durable)
{
    const auto fail = [&](const QString &why) {
        throw AppError(QStringLiteral("The file %1 could not be written: %2").arg(QDir::toNativeSeparators(path), why));
    };
    const QFileInfo target(path);
    if (path.isEmpty() || target.fileName().isEmpty())
        fail(QStringLiteral("the file name is empty."));
    // Created exclusively and readable by the owner only.
    QTemporaryFile file(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (!file.open())
        fail(file.errorString());
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        fail(file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush())
        fail(file.errorString());
    if (durable && ::fdatasync(file.handle()) != 0) // the rename must not land before the content
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    file.close();
    // QSaveFile would write through a link planted at the path; rename replaces the link itself.
    if (::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    file.setAutoRemove(false);
}

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

} // namespace shell
