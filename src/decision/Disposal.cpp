#include "Disposal.h"

#include "base/ReadAll.h"
#include "record/ApplicantFile.h"
#include "base/SafeWrite.h"
#include "record/RecentFiles.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace decision {
namespace {

constexpr qint64 kLargestLog = 64 * 1024 * 1024;
const QString kBegun = QStringLiteral("disposing");
const QString kDone = QStringLiteral("disposed");
const QString kLeft = QStringLiteral("left alone");

QByteArray encoded(const QString &path) { return QFile::encodeName(path); }

QString identityOf(const struct stat &status)
{
    return QStringLiteral("%1:%2").arg(qulonglong(status.st_dev)).arg(qulonglong(status.st_ino));
}

// What lstat says of the path: its identity when it is a regular file, empty otherwise.
QString regularIdentity(const QString &path)
{
    struct stat status {};
    if (::lstat(encoded(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return QString();
    return identityOf(status);
}

// A log field: one line, no tabs.
QString field(QString text)
{
    for (QChar &ch : text)
        if (ch.category() == QChar::Other_Control)
            ch = QLatin1Char(' ');
    return text.trimmed();
}

// A name the log keeps as it is and that names a file in the folder itself: an applicant file's
// name, no slash, no control character.
bool isLoggable(const QString &fileName)
{
    return fileName == field(fileName) && !fileName.contains(QLatin1Char('/')) && fileName != QLatin1String("..")
        && fileName.endsWith(QLatin1Char('.') + QLatin1String(record::kApplicantSuffix));
}

struct LogEntry {
    QString state, fileName, applicantName, status, decided, identity;
};

QList<LogEntry> readLog(const QString &path)
{
    const base::FileReading reading = base::readRegularFile(path, kLargestLog);
    if (reading.error == ENOENT)
        return {};
    if (reading.error != 0)
        throw base::Failure(QStringLiteral("The disposal log %1 cannot be read: %2.")
                                .arg(path, base::readingFailureReason(reading.error, kLargestLog)));
    QList<LogEntry> entries;
    for (const QByteArray &line : reading.bytes.split('\n')) {
        const QStringList parts = QString::fromUtf8(line).split(QLatin1Char('\t'));
        if (parts.size() >= 7)
            entries.append({parts[1], parts[2], parts[3], parts[4], parts[5], parts[6]});
    }
    return entries;
}

// The log, open for appending; each line reaches the disk before the step it announces.
class DisposalLog {
public:
    explicit DisposalLog(QString path) : m_path(std::move(path))
    {
        m_fd = ::open(encoded(m_path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        if (m_fd < 0)
            throw base::Failure(QStringLiteral("The disposal log %1 cannot be written: %2. Nothing was disposed of.")
                                    .arg(m_path, base::systemReason(errno)));
        struct stat status {};
        if (::fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode)) {
            ::close(m_fd);
            throw base::Failure(QStringLiteral("The disposal log %1 cannot be written: %2. Nothing was disposed of.")
                                    .arg(m_path, base::notARegularFileReason()));
        }
    }
    ~DisposalLog() { ::close(m_fd); }
    DisposalLog(const DisposalLog &) = delete;
    DisposalLog &operator=(const DisposalLog &) = delete;

    void append(const QDateTime &now, const QString &state, const ExpiredFile &file)
    {
        const QStringList parts = {now.toUTC().toString(Qt::ISODate), state, field(file.fileName), field(file.applicantName),
                                   statusName(file.status), dateText(file.decided), file.identity};
        const QByteArray line = parts.join(QLatin1Char('\t')).toUtf8() + '\n';
        qsizetype done = 0;
        while (done < line.size()) {
            const ssize_t written = ::write(m_fd, line.constData() + done, std::size_t(line.size() - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                throw failure(written < 0 ? errno : ENOSPC);
            done += written;
        }
        if (::fdatasync(m_fd) != 0)
            throw failure(errno);
    }

private:
    base::Failure failure(int error) const
    {
        return base::Failure(QStringLiteral("The disposal log %1 cannot be written: %2.").arg(m_path, base::systemReason(error)));
    }

    QString m_path;
    int m_fd = -1;
};

// Zeros over every byte of the open file, flushed to the disk.
void overwrite(int fd, qint64 size)
{
    static const QByteArray zeros(64 * 1024, '\0');
    qint64 done = 0;
    while (done < size) {
        const std::size_t chunk = std::size_t(std::min<qint64>(zeros.size(), size - done));
        const ssize_t written = ::pwrite(fd, zeros.constData(), chunk, off_t(done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw base::Failure(base::systemReason(written < 0 ? errno : ENOSPC));
        done += written;
    }
    if (::fdatasync(fd) != 0)
        throw base::Failure(base::systemReason(errno));
}

// Overwrites and unlinks the file when it is still the one listed. Throws base::Failure with the
// reason it was left alone.
void destroy(const ExpiredFile &file)
{
    const int fd = ::open(encoded(file.path).constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw base::Failure(base::systemReason(errno));
    struct stat status {};
    const bool same = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && identityOf(status) == file.identity;
    try {
        if (!same)
            throw base::Failure(QStringLiteral("another file has its name now"));
        overwrite(fd, qint64(status.st_size));
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0)
        throw base::Failure(base::systemReason(errno));
    if (regularIdentity(file.path) != file.identity)
        throw base::Failure(QStringLiteral("another file has its name now"));
    if (::unlink(encoded(file.path).constData()) != 0)
        throw base::Failure(base::systemReason(errno));
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void disposeEach(const QList<ExpiredFile> &listed, const QString &folder, DisposalLog &log, record::RecentFiles &recent,
                 const QDateTime &now, DisposalResult &result);

} // namespace

QString disposalLogPath(const QString &folder) { return QDir(folder).filePath(QLatin1String(kDisposalLogName)); }

DisposalListing listExpired(const QString &folder, const RetentionPeriods &periods, const QDate &today,
                            const record::Passphrase *passphrase)
{
    const QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        throw base::Failure(QStringLiteral("The folder %1 cannot be listed.").arg(folder));
    DisposalListing listing;
    // What an interrupted disposal began comes first: it was already decided on.
    QHash<QString, LogEntry> open;
    for (const LogEntry &entry : readLog(disposalLogPath(folder))) {
        if (entry.state == kBegun)
            open.insert(entry.fileName + QLatin1Char('\t') + entry.identity, entry);
        else if (entry.state == kDone || entry.state == kLeft)
            open.remove(entry.fileName + QLatin1Char('\t') + entry.identity);
    }
    QStringList begun;
    for (const LogEntry &entry : open) {
        if (!isLoggable(entry.fileName))
            continue; // never a path out of the folder, whatever the log was made to say
        ExpiredFile file;
        file.path = dir.filePath(entry.fileName);
        file.fileName = entry.fileName;
        file.applicantName = entry.applicantName;
        file.status = statusNamed(entry.status).value_or(Status::Pending);
        file.decided = readDate(entry.decided).value_or(QDate());
        file.identity = entry.identity;
        file.interrupted = true;
        const QString now = regularIdentity(file.path);
        if (!now.isEmpty() && now != entry.identity)
            continue; // another file has the name now; the one begun is gone
        listing.files.append(file);
        begun << entry.fileName;
    }
    const QStringList names = dir.entryList({QStringLiteral("*.") + QLatin1String(record::kApplicantSuffix)},
                                            QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &name : names) {
        if (begun.contains(name))
            continue;
        const QString path = dir.filePath(name);
        ExpiredFile file;
        file.path = path;
        file.fileName = name;
        file.identity = regularIdentity(path);
        if (!isLoggable(name)) {
            listing.unchecked << QStringLiteral("%1: its name holds control characters the log cannot keep; rename it")
                                     .arg(field(name));
            continue;
        }
        if (file.identity.isEmpty()) {
            listing.unchecked << QStringLiteral("%1: not a regular file, left alone").arg(name);
            continue;
        }
        try {
            const ApplicantReading reading = readApplicant(path, passphrase);
            const Decision &decision = reading.decision;
            if (!isExpired(decision, periods, today))
                continue;
            file.stamp = reading.stamp;
            file.status = decision.status;
            file.decided = decision.date;
            file.keepUntil = *keepUntil(decision, periods);
            file.applicantName = reading.record.value(QStringLiteral("App Info Name"));
            // The file read must be the file listed: another one put under its name lists nothing.
            if (regularIdentity(path) != file.identity)
                throw base::Failure(QStringLiteral("%1 changed while it was read").arg(path));
        } catch (const base::Failure &failure) {
            listing.unchecked << QStringLiteral("%1: %2").arg(name, failure.description());
            continue;
        }
        listing.files.append(file);
    }
    return listing;
}

DisposalResult dispose(const QString &folder, const QList<ExpiredFile> &listed, const QString &recentList,
                       const QDateTime &now)
{
    DisposalResult result;
    if (listed.isEmpty())
        return result;
    DisposalLog log(disposalLogPath(folder)); // throws before anything is touched
    record::RecentFiles recent(recentList.isEmpty() ? record::RecentFiles::defaultPath() : recentList);
    try {
        disposeEach(listed, folder, log, recent, now, result);
    } catch (const base::Failure &failure) {
        // The log could not say what would be done: nothing more is done.
        result.problems << failure.description() + QStringLiteral(" The disposal stopped there; the files not named as "
                                                                  "disposed of are as they were.");
    }
    return result;
}

namespace {

void disposeEach(const QList<ExpiredFile> &listed, const QString &folder, DisposalLog &log, record::RecentFiles &recent,
                 const QDateTime &now, DisposalResult &result)
{
    for (const ExpiredFile &file : listed) {
        const bool there = !regularIdentity(file.path).isEmpty();
        if (there) {
            if (!file.interrupted && changedSince(file.path, file.stamp)) {
                result.problems << QStringLiteral("%1 was not disposed of: it changed since it was listed.").arg(file.fileName);
                continue;
            }
            log.append(now, kBegun, file); // throws: the disposal stops before this file
            try {
                destroy(file);
            } catch (const base::Failure &failure) {
                result.problems << QStringLiteral("%1 was not disposed of: %2.").arg(file.fileName, failure.description());
                log.append(now, kLeft, file); // so that the next disposal does not take it up
                continue;
            }
            syncFolder(folder);
        }
        try {
            recent.remove(file.path);
        } catch (const base::Failure &failure) {
            result.problems << QStringLiteral("%1 was disposed of, but the recent list kept it: %2")
                                   .arg(file.fileName, failure.description());
        }
        log.append(now, kDone, file);
        result.disposed << file.fileName;
    }
}

} // namespace

} // namespace decision
