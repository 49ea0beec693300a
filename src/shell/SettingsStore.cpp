#include "SettingsStore.h"

#include "AppError.h"
#include "FileUtils.h"
#include "IniText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace shell {
namespace {

// Makes the rename that replaced the file survive a power cut.
void syncDirectory(const QString &dirPath)
{
    const int fd = ::open(QFile::encodeName(dirPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Serialises read-merge-write among the running copies of the program.
class WriteLock {
public:
    explicit WriteLock(const QString &storePath)
    {
        const QByteArray path = QFile::encodeName(storePath + QStringLiteral(".lock"));
        m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_EX);
    }
    ~WriteLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;

private:
    int m_fd = -1;
};

} // namespace

QString SettingsStore::userStorePath(const QString &application)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, application).fileName();
}

SettingsStore::SettingsStore(const QString &filePath, const QString &section)
    : m_path(filePath), m_section(section)
{
    tightenPermissions();
    reloadIfChangedOnDisk();
}

SettingsStore::FileIdentity SettingsStore::identityOnDisk() const
{
    struct stat st {};
    if (::stat(QFile::encodeName(m_path).constData(), &st) != 0)
        return {};
    return {st.st_ino, st.st_size, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// Another running copy may have written since; its values are taken over before ours are merged.
void SettingsStore::reloadIfChangedOnDisk()
{
    const FileIdentity now = identityOnDisk();
    if (now == m_loaded)
        return;
    m_values.clear();
    if (now.size >= 0) {
        const QSettings file(m_path, QSettings::IniFormat);
        for (const QString &key : file.allKeys())
            m_values.insert(key, file.value(key).toString());
    }
    m_loaded = now;
}

// An existing file that others can read is made owner-only; new files are written owner-only.
void SettingsStore::tightenPermissions() const
{
    struct stat st {};
    const QByteArray native = QFile::encodeName(m_path);
    if (::stat(native.constData(), &st) == 0 && (st.st_mode & 077) != 0)
        ::chmod(native.constData(), st.st_mode & 0700);
}

QString SettingsStore::read(const QString &key, const QString &defaultValue)
{
    reloadIfChangedOnDisk();
    return m_values.value(fullKey(key), defaultValue);
}

void SettingsStore::write(const QString &key, const QString &value) { write({{key, value}}); }

void SettingsStore::write(const QList<std::pair<QString, QString>> &values)
{
    if (values.isEmpty())
        return;
    const QString what = values.size() == 1 ? QStringLiteral("The value of \"%1\"").arg(values.first().first)
                                            : QStringLiteral("The values");
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        throw AppError(QStringLiteral("%1 could not be saved: the folder %2 cannot be created.")
                           .arg(what, QDir::toNativeSeparators(folder)));
    if (::access(QFile::encodeName(m_path).constData(), F_OK) == 0
        && ::access(QFile::encodeName(m_path).constData(), W_OK) != 0)
        throw AppError(QStringLiteral("%1 could not be saved: %2 is read-only.")
                           .arg(what, QDir::toNativeSeparators(m_path)));
    const WriteLock lock(m_path);
    reloadIfChangedOnDisk();
    QMap<QString, QString> next = m_values;
    for (const auto &[key, value] : values)
        next.insert(fullKey(key), value);
    try {
        writeFilePrivately(m_path, encodeIniText(next));
    } catch (const AppError &error) {
        throw AppError(QStringLiteral("%1 could not be saved. %2").arg(what, error.description()));
    }
    syncDirectory(folder);
    m_values = std::move(next);
    m_loaded = identityOnDisk();
}

} // namespace shell
