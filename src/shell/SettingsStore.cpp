#include "SettingsStore.h"

#include "AppError.h"
#include "IniText.h"
#include "base/SafeWrite.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace shell {
namespace {

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

// Serialises read-merge-write among the running copies of the program. A folder where the lock
// cannot be created is one where the write itself will fail and say why.
class WriteLock {
public:
    explicit WriteLock(const QString &storePath)
    {
        const QByteArray path = QFile::encodeName(storePath + QStringLiteral(".lock"));
        m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0)
            return;
        int result;
        do {
            result = ::flock(m_fd, LOCK_EX);
        } while (result != 0 && errno == EINTR);
        if (result != 0) {
            const int error = errno;
            ::close(m_fd);
            throw AppError(QStringLiteral("The settings file %1 could not be locked: %2")
                               .arg(native(storePath), base::systemReason(error)));
        }
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

// The whole content of the file, or the error number that stopped the reading.
std::pair<QByteArray, int> readWholeFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {{}, errno};
    QByteArray bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            return {{}, error};
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    if (::close(fd) != 0)
        return {{}, errno};
    return {bytes, 0};
}

} // namespace

QString SettingsStore::userStorePath(const QString &application)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, application).fileName();
}

SettingsStore::SettingsStore(const QString &filePath, const QString &section)
    : m_path(filePath), m_section(section)
{
    // An existing file that others can read is made owner-only; new files are written owner-only.
    struct stat st {};
    const QByteArray nativePath = QFile::encodeName(m_path);
    if (::stat(nativePath.constData(), &st) == 0 && (st.st_mode & 077) != 0
        && ::chmod(nativePath.constData(), st.st_mode & 0700) != 0)
        m_openingProblem = QStringLiteral("The settings file %1 could not be made private to you: %2")
                               .arg(native(m_path), base::systemReason(errno));
    try {
        removeLeftoverTemporaryFiles();
    } catch (const base::Failure &) {
        // Leftovers are only untidy; the next start tries again.
    }
    if (!reload())
        m_openingProblem = QStringLiteral("The settings file %1 cannot be read: %2. The window starts empty, and "
                                          "nothing is written to that file until it can be read again.")
                               .arg(native(m_path), m_unreadable);
}

// A write that was killed leaves its temporary file, a whole copy of the record. Only files of
// the store's own temporary pattern that belong to this user are removed, under the lock, so that
// a running copy's write in progress is never disturbed.
void SettingsStore::removeLeftoverTemporaryFiles() const
{
    const QFileInfo target(base::finalLinkTarget(m_path));
    const QDir folder = target.absoluteDir();
    const auto leftovers = [&] {
        QStringList found;
        for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
            if (base::isTemporaryFileOf(name, target.fileName()))
                found.append(folder.absoluteFilePath(name));
        return found;
    };
    if (leftovers().isEmpty())
        return;
    const WriteLock lock(m_path);
    for (const QString &path : leftovers()) {
        struct stat st {};
        const QByteArray nativePath = QFile::encodeName(path);
        if (::lstat(nativePath.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlink(nativePath.constData());
    }
}

// Takes over what is on disk now. The file's content decides, not its size or time: another copy
// may have written the same number of bytes within the clock's granularity. False, with the
// reason in m_unreadable, when the file exists but cannot be read; the values stay as they were.
bool SettingsStore::reload()
{
    QString target;
    try {
        target = base::finalLinkTarget(m_path);
    } catch (const base::WriteFailure &failure) {
        m_unreadable = failure.reason();
        return false;
    }
    const auto [bytes, error] = readWholeFile(target);
    if (error == ENOENT) {
        m_values.clear();
        m_bytes.clear();
        m_present = false;
        m_lossless = true;
        m_unreadable.clear();
        return true;
    }
    if (error != 0) {
        m_unreadable = base::systemReason(error);
        return false;
    }
    m_unreadable.clear();
    if (m_present && bytes == m_bytes)
        return true;
    IniReading reading = decodeIniText(bytes);
    m_values = std::move(reading.values);
    m_lossless = reading.lossless;
    m_bytes = bytes;
    m_present = true;
    return true;
}

// Copies the file as it was last read to "<name>.backup-<date>-<time>" beside it, owner-only,
// never over an earlier backup. Returns the backup's path.
QString SettingsStore::backUp(const QString &target) const
{
    const QString stem = target + QStringLiteral(".backup-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = stem;
    struct stat st {};
    for (int n = 2; ::lstat(QFile::encodeName(path).constData(), &st) == 0; ++n)
        path = stem + QLatin1Char('-') + QString::number(n);
    base::replaceFile(path, m_bytes);
    return path;
}

QString SettingsStore::read(const QString &key, const QString &defaultValue)
{
    reload();
    return m_values.value(fullKey(key), defaultValue);
}

void SettingsStore::write(const QString &key, const QString &value) { write({{key, value}}); }

void SettingsStore::write(const QList<std::pair<QString, QString>> &values)
{
    if (values.isEmpty())
        return;
    const QString what = values.size() == 1 ? QStringLiteral("The value of \"%1\"").arg(values.first().first)
                                            : QStringLiteral("The values");
    try {
        const QString target = base::finalLinkTarget(m_path);
        const QString folder = QFileInfo(target).absolutePath();
        if (!QDir().mkpath(folder))
            throw AppError(QStringLiteral("%1 could not be saved: the folder %2 cannot be created.")
                               .arg(what, native(folder)));
        const WriteLock lock(m_path);
        if (!reload())
            throw AppError(QStringLiteral("%1 could not be saved: %2 cannot be read (%3). It is not written until "
                                          "it can be read, so that nothing stored in it is lost.")
                               .arg(what, native(m_path), m_unreadable));
        if (m_present && ::access(QFile::encodeName(target).constData(), W_OK) != 0)
            throw AppError(QStringLiteral("%1 could not be saved: %2 is read-only.").arg(what, native(m_path)));
        if (m_present && !m_lossless && m_bytes != m_backedUp) {
            const QString backup = backUp(target);
            m_backedUp = m_bytes;
            m_notices.append(QStringLiteral("The settings file %1 held text that this program does not keep. "
                                            "A copy of the file as it was is saved as %2.")
                                 .arg(native(m_path), native(backup)));
        }
        QMap<QString, QString> next = m_values;
        for (const auto &[key, value] : values)
            next.insert(fullKey(key), value);
        QByteArray bytes = encodeIniText(next);
        base::replaceFile(target, bytes);
        m_values = std::move(next);
        m_bytes = std::move(bytes);
        m_present = true;
        m_lossless = true;
    } catch (const base::WriteFailure &failure) {
        throw AppError(QStringLiteral("%1 could not be saved. %2").arg(what, failure.description()));
    }
}

} // namespace shell
