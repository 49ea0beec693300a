#include "FileUtils.h"

#include "HeldFiles.h"

#include <QClipboard>
#include <QDir>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>

namespace runtime {

bool fileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.lastModified().isValid();
}

void deleteFileQuietly(const QString &path)
{
    QCoreApplication::processEvents();
    if (path.isEmpty())
        return;
    if (!QFile::remove(path)) {
        // Forced second attempt: a read-only file is made writable first.
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
        QFile::remove(path);
    }
    releaseFile(path); // only now: until it is gone, the file is this run's
}

QImage clipboardPicture(int format)
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

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

} // namespace runtime
