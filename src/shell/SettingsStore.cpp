#include "SettingsStore.h"

#include "AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace shell {
namespace {
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner
    | QFileDevice::ReadUser | QFileDevice::WriteUser;

// Makes the rename that replaced the file survive a power cut.
void syncDirectory(const QString &dirPath)
{
    const int fd = ::open(QFile::encodeName(dirPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
} // namespace

QString SettingsStore::userStorePath(const QString &application)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, application).fileName();
}

SettingsStore::SettingsStore(const QString &filePath, const QString &section)
    : m_path(filePath), m_section(section)
{
    makePrivate();
    reopen();
}

SettingsStore::~SettingsStore() = default;

void SettingsStore::reopen()
{
    m_settings = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
}

QString SettingsStore::fullKey(const QString &key) const
{
    return m_section + QLatin1Char('/') + key;
}

// Creates the file owner-only before anything is written into it and tightens a looser one.
// Qt's atomic save copies the existing file's permissions onto its replacement.
void SettingsStore::makePrivate() const
{
    const QByteArray native = QFile::encodeName(m_path);
    struct stat st {};
    if (::stat(native.constData(), &st) == 0) {
        if ((st.st_mode & 077) != 0)
            ::chmod(native.constData(), st.st_mode & 0700);
        return;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
}

QString SettingsStore::read(const QString &key, const QString &defaultValue) const
{
    m_settings->sync(); // picks up what another running copy wrote
    return m_settings->value(fullKey(key), defaultValue).toString();
}

void SettingsStore::write(const QString &key, const QString &value)
{
    makePrivate();
    if (m_lastWriteFailed)
        reopen(); // start again from the file: Qt keeps an error status and unsaved changes
    m_settings->setValue(fullKey(key), value);
    m_settings->sync();
    m_lastWriteFailed = m_settings->status() != QSettings::NoError || !QFileInfo(m_path).isWritable();
    if (m_lastWriteFailed) {
        throw AppError(QStringLiteral("The value of \"%1\" could not be saved to %2.").arg(key, m_path));
    }
    syncDirectory(QFileInfo(m_path).absolutePath());
}

} // namespace shell
