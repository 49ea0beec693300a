#include "SettingsStore.h"

#include "base/Failure.h"
#include "base/ReadAll.h"
#include "IniText.h"
#include "base/SafeWrite.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace record {
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
            throw base::Failure(QStringLiteral("The settings file %1 could not be locked: %2")
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

// The record is a few kilobytes as typed; other programs' sections are small. A store far larger
// is not read into memory (a link to /dev/zero or a runaway file).
constexpr qint64 kLargestStore = 64 * 1024 * 1024;

qint64 nanoseconds(const timespec &time) { return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec; }

// A change made within this long of an examination may carry the same time stamps as the state
// examined: file times come from the coarse clock, which advances in ticks of a few milliseconds.
qint64 racyNanoseconds()
{
    static const qint64 span = [] {
        timespec tick {};
        if (::clock_getres(CLOCK_REALTIME_COARSE, &tick) != 0)
            tick.tv_nsec = 10'000'000;
        return 2 * nanoseconds(tick) + 10'000'000;
    }();
    return span;
}

} // namespace

QString SettingsStore::userStorePath(const QString &application)
{
    // QSettings' own rule for a user-scope native file on this platform, worked out without a
    // QSettings object: making one opens and parses the file, which hangs the start on a FIFO and
    // reads a large store twice.
    return QFileInfo(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
                     + application + QStringLiteral(".conf"))
        .absoluteFilePath();
}

QString SettingsStore::stateFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/tenvoria");
}

void SettingsStore::writeStateFile(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw base::WriteFailure(path, QStringLiteral("its folder could not be made"));
    base::replaceFile(path, bytes); // owner-only, checked
}

SettingsStore::SettingsStore(const QString &filePath, const QString &section)
    : m_path(filePath), m_section(section)
{
    // An existing file that others can read is made owner-only; new files are written owner-only.
    struct stat st {};
    const QByteArray nativePath = QFile::encodeName(m_path);
    // Only a regular file: a folder or a device at the path is reported when it is read, never altered.
    if (::stat(nativePath.constData(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 077) != 0
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
    const long nameMax = base::longestNameIn(folder.absolutePath());
    const auto leftovers = [&] {
        QStringList found;
        for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
            if (base::isTemporaryFileOf(name, target.fileName(), nameMax))
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

SettingsStore::Identity SettingsStore::identityOf(const struct stat &status, const timespec &examinedAt)
{
    Identity identity;
    identity.device = status.st_dev;
    identity.inode = status.st_ino;
    identity.size = status.st_size;
    identity.modified = status.st_mtim;
    identity.changed = status.st_ctim;
    identity.racy = nanoseconds(examinedAt) - std::max(nanoseconds(status.st_mtim), nanoseconds(status.st_ctim))
        < racyNanoseconds();
    return identity;
}

bool SettingsStore::same(const Identity &identity, const struct stat &status)
{
    return identity.device == status.st_dev && identity.inode == status.st_ino && identity.size == status.st_size
        && nanoseconds(identity.modified) == nanoseconds(status.st_mtim)
        && nanoseconds(identity.changed) == nanoseconds(status.st_ctim);
}

// Takes over what is on disk now. A file whose device, inode, size, modification and change
// times are those of the state last read is not read again, unless that state was examined
// within a clock tick of its last change (or `force`): then another copy may have written the same
// number of bytes within the same tick, and only the content tells. False, with the reason in
// m_unreadable, when the file exists but cannot be read; the values stay as they were.
bool SettingsStore::reload(bool force)
{
    QString target;
    try {
        target = base::finalLinkTarget(m_path);
    } catch (const base::WriteFailure &failure) {
        m_unreadable = failure.reason();
        return false;
    }
    const QByteArray nativeTarget = QFile::encodeName(target);
    timespec examinedAt {};
    ::clock_gettime(CLOCK_REALTIME, &examinedAt); // before the status: a later change is later than this
    if (!force && m_identity && !m_identity->racy) {
        struct stat status {};
        if (::stat(nativeTarget.constData(), &status) == 0 && same(*m_identity, status))
            return true;
    }
    base::FileReading reading = base::readRegularFile(target, kLargestStore);
    if (reading.error == ENOENT) {
        m_values.clear();
        m_bytes.clear();
        m_spans.clear();
        m_identity.reset();
        m_present = false;
        m_lossless = true;
        m_unreadable.clear();
        return true;
    }
    if (reading.error != 0) {
        m_unreadable = base::readingFailureReason(reading.error, kLargestStore);
        return false;
    }
    const struct stat &status = reading.status;
    QByteArray bytes = std::move(reading.bytes);
    m_unreadable.clear();
    m_identity = identityOf(status, examinedAt);
    if (!m_present || bytes != m_bytes)
        adopt(std::move(bytes));
    return true;
}

QList<std::pair<qsizetype, qsizetype>> SettingsStore::sectionSpans(const QByteArray &bytes) const
{
    QList<std::pair<qsizetype, qsizetype>> spans;
    for (const IniSectionSpan &span : iniSectionSpans(bytes))
        if (span.headed && span.name == m_section)
            spans.append({span.begin, span.end});
    return spans;
}

// Finds the store's section in the file's bytes and reads its values; the other sections are
// kept as they are, unread.
void SettingsStore::adopt(QByteArray bytes)
{
    m_bytes = std::move(bytes);
    m_present = true;
    m_spans = sectionSpans(m_bytes);
    QByteArray own;
    for (const auto &[begin, end] : m_spans)
        own += QByteArrayView(m_bytes).sliced(begin, end - begin);
    IniReading reading = decodeIniText(own);
    m_values = std::move(reading.values);
    // A section given twice is written back as one.
    m_lossless = reading.lossless && m_spans.size() <= 1;
}

// The file with the store's section replaced by `section`, where the section stood (a section
// given twice: where it first stood), or added at the end; everything else byte for byte.
QByteArray SettingsStore::withSection(const QByteArray &section) const
{
    QByteArray out;
    out.reserve(m_bytes.size() + section.size() + 2);
    if (m_spans.isEmpty()) {
        out = m_bytes;
        if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r'))
            out += '\n';
        if (!out.isEmpty())
            out += '\n';
        out += section;
        return out;
    }
    const QByteArrayView all(m_bytes);
    out += all.first(m_spans.first().first);
    out += section;
    QByteArray rest;
    qsizetype from = m_spans.first().second;
    for (qsizetype i = 1; i < m_spans.size(); ++i) {
        rest += all.sliced(from, m_spans[i].first - from);
        from = m_spans[i].second;
    }
    rest += all.sliced(from);
    if (!rest.isEmpty())
        out += '\n'; // the blank line that parts sections
    out += rest;
    return out;
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

QStringList SettingsStore::backups() const
{
    QString target;
    try {
        target = base::finalLinkTarget(m_path);
    } catch (const base::Failure &) {
        return {};
    }
    const QFileInfo store(target);
    const QDir folder = store.absoluteDir();
    QStringList found;
    for (const QString &name : folder.entryList({store.fileName() + QStringLiteral(".backup-*")},
                                                QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks,
                                                QDir::Name))
        found.append(folder.filePath(name));
    return found;
}

void SettingsStore::destroyBackup(const QString &path)
{
    const auto failed = [&path](int error) {
        return base::Failure(QStringLiteral("The backup %1 could not be destroyed: %2.").arg(native(path), base::systemReason(error)));
    };
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw failed(errno);
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        const int error = S_ISREG(status.st_mode) ? errno : EINVAL;
        ::close(fd);
        throw failed(error);
    }
    const QByteArray zeros(64 * 1024, '\0');
    for (off_t done = 0; done < status.st_size;) {
        const size_t piece = size_t(std::min<off_t>(zeros.size(), status.st_size - done));
        const ssize_t wrote = ::pwrite(fd, zeros.constData(), piece, done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            const int error = wrote < 0 ? errno : EIO;
            ::close(fd);
            throw failed(error);
        }
        done += wrote;
    }
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        throw failed(error);
    }
    if (::close(fd) != 0)
        throw failed(errno);
    if (::unlink(QFile::encodeName(path).constData()) != 0)
        throw failed(errno);
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
            throw base::Failure(QStringLiteral("%1 could not be saved: the folder %2 cannot be created.")
                               .arg(what, native(folder)));
        const WriteLock lock(m_path);
        if (!reload(true))
            throw base::Failure(QStringLiteral("%1 could not be saved: %2 cannot be read (%3). It is not written until "
                                          "it can be read, so that nothing stored in it is lost.")
                               .arg(what, native(m_path), m_unreadable));
        if (m_present && ::access(QFile::encodeName(target).constData(), W_OK) != 0)
            throw base::Failure(QStringLiteral("%1 could not be saved: %2 is read-only.").arg(what, native(m_path)));
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
        const QByteArray section = encodeIniText(next);
        QByteArray bytes = withSection(section);
        base::ReplaceOptions options;
        struct stat written {};
        options.written = &written;
        timespec examinedAt {};
        ::clock_gettime(CLOCK_REALTIME, &examinedAt);
        base::replaceFile(target, bytes, options);
        // Found again rather than computed: the section's span runs up to the next header and so
        // takes in the blank line written before it, which the next write must replace, not keep.
        m_spans = sectionSpans(bytes);
        m_values = std::move(next);
        m_bytes = std::move(bytes);
        m_present = true;
        m_lossless = true;
        // The rename changed the new file's change time; its status now, if it is still ours.
        struct stat status {};
        if (::stat(QFile::encodeName(target).constData(), &status) == 0 && status.st_dev == written.st_dev
            && status.st_ino == written.st_ino && status.st_size == written.st_size)
            m_identity = identityOf(status, examinedAt);
        else
            m_identity.reset();
    } catch (const base::WriteFailure &failure) {
        throw base::Failure(QStringLiteral("%1 could not be saved. %2").arg(what, failure.description()));
    }
}

} // namespace record
