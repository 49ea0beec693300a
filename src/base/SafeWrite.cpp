#include "SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base {

WriteFailure::WriteFailure(const QString &path, const QString &reason)
    : Failure(QStringLiteral("The file %1 could not be written: %2").arg(QDir::toNativeSeparators(path), reason)),
      m_path(path), m_reason(reason)
{
}

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

ssize_t FileCalls::write(int fd, const void *data, size_t size) { return ::write(fd, data, size); }
int FileCalls::dataSync(int fd) { return ::fdatasync(fd); }
int FileCalls::folderSync(int fd) { return ::fsync(fd); }
int FileCalls::fstat(int fd, struct stat *status) { return ::fstat(fd, status); }
int FileCalls::close(int fd) { return ::close(fd); }
int FileCalls::rename(int folderFd, const char *from, const char *to)
{
    return ::renameat(folderFd, from, folderFd, to);
}

FileCalls &systemFileCalls()
{
    static FileCalls calls;
    return calls;
}

namespace {

constexpr int kSuffixLength = 6; // as mkostemp's XXXXXX
constexpr char kShortPrefix[] = ".tenvoria-";

// An open folder, closed when it goes.
class Folder {
public:
    explicit Folder(int fd) : m_fd(fd) {}
    ~Folder()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// The temporary file under construction, named relative to its folder; removed unless it took
// its final name.
class PendingFile {
public:
    PendingFile(int folderFd, QByteArray name, int fd, FileCalls &calls)
        : m_folderFd(folderFd), m_name(std::move(name)), m_fd(fd), m_calls(calls)
    {
    }
    ~PendingFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_renamed)
            ::unlinkat(m_folderFd, m_name.constData(), 0);
    }
    PendingFile(const PendingFile &) = delete;
    PendingFile &operator=(const PendingFile &) = delete;

    int fd() const { return m_fd; }
    const QByteArray &name() const { return m_name; }
    // Closes the descriptor; the error number, or 0.
    int close()
    {
        const int result = m_calls.close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }
    void renamed() { m_renamed = true; }

private:
    int m_folderFd;
    QByteArray m_name;
    int m_fd;
    FileCalls &m_calls;
    bool m_renamed = false;
};

// The error number of the first failed write, or 0 once every byte is written.
int writeAll(FileCalls &calls, int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = calls.write(fd, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return EIO;
        data += written;
        size -= written;
    }
    return 0;
}

// A new owner-only file in the folder, never through a link: "." + name + "." + six random
// letters or digits, or the short name when that would be longer than the folder allows.
// Returns the descriptor and the name, or -1 with errno set.
std::pair<int, QByteArray> createTemporaryFile(int folderFd, const QByteArray &targetName)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    long nameMax = ::fpathconf(folderFd, _PC_NAME_MAX);
    if (nameMax <= 0)
        nameMax = NAME_MAX;
    QByteArray prefix = '.' + targetName + '.';
    // The same rule as isTemporaryFileOf(), so that a leftover is recognised wherever it was made.
    if (prefix.size() + kSuffixLength > nameMax)
        prefix = kShortPrefix;
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = prefix;
        for (int i = 0; i < kSuffixLength; ++i)
            name += kLetters[QRandomGenerator::system()->bounded(int(sizeof kLetters - 1))];
        const int fd = ::openat(folderFd, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0)
            return {fd, name};
        if (errno != EEXIST)
            return {-1, {}};
    }
    errno = EEXIST;
    return {-1, {}};
}

// A regular file's write protection as a replacement meets it.
enum class Protection { None, Own, Others };

// The owner's write bit is read as well as access(): root may write every file, yet a file of root's
// own with that bit off is write-protected all the same.
Protection protectionOf(int folderFd, const char *name, const struct stat &status)
{
    const bool own = status.st_uid == ::geteuid();
    if (own && (status.st_mode & S_IWUSR) == 0)
        return Protection::Own;
    if (::faccessat(folderFd, name, W_OK, AT_EACCESS) == 0)
        return Protection::None;
    return own ? Protection::Own : Protection::Others;
}

// Whether a replacement may go ahead over a file of that protection: the user's own
// write-protected file only when allowed, another's only when the system lets the user write it.
bool mayReplace(Protection protection, int folderFd, const char *name, bool ownWriteProtectedAllowed)
{
    switch (protection) {
    case Protection::None:
        return true;
    case Protection::Own: // root's own: replaced as ever where the caller did not ask
        return ownWriteProtectedAllowed || ::faccessat(folderFd, name, W_OK, AT_EACCESS) == 0;
    case Protection::Others:
        return false;
    }
    return false;
}

// Errors that mean the folder, not the file, refuses.
bool folderRefuses(int error) { return error == EACCES || error == EPERM || error == EROFS; }

} // namespace

QString finalLinkTarget(const QString &path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        // readlink gives the raw target; a relative one is relative to the link's own folder.
        const QByteArray native = QFile::encodeName(current);
        QByteArray target(4096, '\0');
        const ssize_t length = ::readlink(native.constData(), target.data(), target.size());
        if (length < 0 || length >= target.size())
            throw WriteFailure(path, systemReason(length < 0 ? errno : ENAMETOOLONG));
        target.truncate(length);
        current = QDir::cleanPath(info.absoluteDir().absoluteFilePath(QFile::decodeName(target)));
    }
    throw WriteFailure(path, systemReason(ELOOP));
}

QString notARegularFileReason() { return QStringLiteral("it is not a regular file."); }

QString notWritableReason() { return QStringLiteral("you do not have permission to change it."); }

bool checkReplaceable(const QString &path, bool ownWriteProtectedAllowed)
{
    const QString target = finalLinkTarget(path);
    const QByteArray native = QFile::encodeName(target);
    struct stat status {};
    if (::stat(native.constData(), &status) != 0)
        return false; // nothing there yet: the folder decides, when the file is written
    if (!S_ISREG(status.st_mode))
        throw WriteFailure(path, notARegularFileReason());
    const Protection protection = protectionOf(AT_FDCWD, native.constData(), status);
    if (!mayReplace(protection, AT_FDCWD, native.constData(), ownWriteProtectedAllowed))
        throw WriteFailure(path, notWritableReason());
    return protection == Protection::Own;
}

long longestNameIn(const QString &folder)
{
    const long nameMax = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    return nameMax > 0 ? nameMax : NAME_MAX;
}

bool isTemporaryFileOf(const QString &candidateName, const QString &fileName, long nameMax)
{
    QString prefix = QLatin1Char('.') + fileName + QLatin1Char('.');
    if (QFile::encodeName(prefix).size() + kSuffixLength > nameMax)
        prefix = QString::fromLatin1(kShortPrefix);
    if (candidateName.size() != prefix.size() + kSuffixLength || !candidateName.startsWith(prefix))
        return false;
    for (qsizetype i = prefix.size(); i < candidateName.size(); ++i) {
        const char16_t ch = candidateName.at(i).unicode();
        if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')))
            return false;
    }
    return true;
}

void replaceFile(const QString &path, QIODevice &source, qint64 expectedSize, const ReplaceOptions &options)
{
    const auto fail = [&](const QString &reason) { throw WriteFailure(path, reason); };
    FileCalls &calls = options.calls ? *options.calls : systemFileCalls();
    if (path.isEmpty() || QFileInfo(path).fileName().isEmpty())
        fail(QStringLiteral("the file name is empty."));
    const QFileInfo target(options.followLink ? finalLinkTarget(path) : QFileInfo(path).absoluteFilePath());
    const QByteArray folder = QFile::encodeName(target.absolutePath());

    const QByteArray fileName = QFile::encodeName(target.fileName());
    const QString folderPath = target.absolutePath();
    // The folder is the culprit when it refuses, though the message is about the file.
    const auto folderFailure = [&](const char *what, int error) {
        fail(QStringLiteral("the folder %1 cannot be %2: %3")
                 .arg(QDir::toNativeSeparators(folderPath), QLatin1String(what), systemReason(error)));
    };

    // Everything below is relative to the folder: no path longer than the target's is ever made.
    const Folder dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd() < 0)
        folderRefuses(errno) ? folderFailure("opened", errno) : fail(systemReason(errno));

    // A device, pipe, socket or folder at the name is refused: replacing it would put a file where
    // the system or another program expects that thing, and writing into it could block or vanish.
    struct stat existing {};
    const bool exists = ::fstatat(dir.fd(), fileName.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT)
        fail(systemReason(errno));
    if (exists && !S_ISREG(existing.st_mode) && !(S_ISLNK(existing.st_mode) && !options.followLink))
        fail(notARegularFileReason());
    // The rename would replace a file the folder lets us remove but the file itself forbids us to
    // change: a write-protected file of the user's own (unless the user agreed), another user's
    // file in a shared folder.
    if (exists && S_ISREG(existing.st_mode)
        && !mayReplace(protectionOf(dir.fd(), fileName.constData(), existing), dir.fd(), fileName.constData(),
                       options.replaceOwnWriteProtected))
        fail(notWritableReason());

    mode_t mode = static_cast<mode_t>(options.mode);
    if (options.mode < 0) {
        struct stat old {};
        if (::fstatat(dir.fd(), fileName.constData(), &old, 0) == 0) {
            mode = old.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
    }

    const auto [fd, temporaryName] = createTemporaryFile(dir.fd(), fileName);
    if (fd < 0)
        folderRefuses(errno) ? folderFailure("written", errno) : fail(systemReason(errno));
    PendingFile file(dir.fd(), temporaryName, fd, calls);
    if (::fchmod(fd, mode) != 0)
        fail(systemReason(errno));

    constexpr qint64 kChunk = 1 << 16;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const qint64 got = source.read(buffer.data(), kChunk);
        if (got < 0)
            fail(QStringLiteral("reading the data to write failed: %1").arg(source.errorString()));
        if (got == 0)
            break;
        if (const int error = writeAll(calls, fd, buffer.constData(), got))
            fail(systemReason(error));
        total += got;
    }
    if (expectedSize >= 0 && total != expectedSize)
        fail(QStringLiteral("only %1 of %2 bytes could be read.").arg(total).arg(expectedSize));
    // The rename must not reach the disk before the content does.
    if (options.durable && calls.dataSync(fd) != 0)
        fail(systemReason(errno));
    struct stat written {};
    if (calls.fstat(fd, &written) != 0)
        fail(systemReason(errno));
    if (written.st_size != total)
        fail(QStringLiteral("the file holds %1 bytes instead of %2.").arg(qint64(written.st_size)).arg(total));
    if (const int error = file.close())
        fail(systemReason(error));
    if (calls.rename(dir.fd(), file.name().constData(), fileName.constData()) != 0)
        folderRefuses(errno) ? folderFailure("written", errno) : fail(systemReason(errno));
    file.renamed();
    if (options.written)
        *options.written = written;
    // Makes the new name itself survive a power cut.
    if (options.durable && calls.folderSync(dir.fd()) != 0)
        fail(systemReason(errno));
}

namespace {

// A read-only view of bytes, given in pieces read one after another, that does not copy them
// (QBuffer needs one non-const array or a copy).
class ByteSource final : public QIODevice {
public:
    explicit ByteSource(const std::vector<QByteArrayView> &pieces) : m_pieces(pieces)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    qint64 total() const
    {
        qint64 sum = 0;
        for (QByteArrayView piece : m_pieces)
            sum += piece.size();
        return sum;
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        qint64 copied = 0;
        while (copied < maxSize && m_piece < m_pieces.size()) {
            const QByteArrayView piece = m_pieces[m_piece];
            const qint64 count = std::min<qint64>(maxSize - copied, piece.size() - m_position);
            if (count > 0) // an empty piece may have no address at all
                std::memcpy(data + copied, piece.data() + m_position, static_cast<size_t>(count));
            copied += count;
            m_position += count;
            if (m_position == piece.size()) {
                ++m_piece;
                m_position = 0;
            }
        }
        return copied;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    const std::vector<QByteArrayView> &m_pieces;
    size_t m_piece = 0;
    qint64 m_position = 0;
};

} // namespace

void replaceFile(const QString &path, const QByteArray &bytes, const ReplaceOptions &options)
{
    replaceFile(path, {QByteArrayView(bytes)}, options);
}

void replaceFile(const QString &path, const std::vector<QByteArrayView> &pieces, const ReplaceOptions &options)
{
    ByteSource source(pieces);
    replaceFile(path, source, source.total(), options);
}

} // namespace base
