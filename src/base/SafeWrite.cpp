#include "SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>
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
int FileCalls::rename(const char *from, const char *to) { return ::rename(from, to); }

FileCalls &systemFileCalls()
{
    static FileCalls calls;
    return calls;
}

namespace {

constexpr int kSuffixLength = 6; // mkostemp's XXXXXX

// The temporary file under construction; removed unless it took its final name.
class PendingFile {
public:
    PendingFile(QByteArray name, int fd, FileCalls &calls) : m_name(std::move(name)), m_fd(fd), m_calls(calls) {}
    ~PendingFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_renamed)
            ::unlink(m_name.constData());
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

int syncFolder(FileCalls &calls, const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int result = calls.folderSync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

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

bool isTemporaryFileOf(const QString &candidateName, const QString &fileName)
{
    const QString prefix = QLatin1Char('.') + fileName + QLatin1Char('.');
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
    const QByteArray targetName = QFile::encodeName(target.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(target.absolutePath());

    mode_t mode = static_cast<mode_t>(options.mode);
    if (options.mode < 0) {
        struct stat old {};
        if (::stat(targetName.constData(), &old) == 0) {
            mode = old.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
    }

    QByteArray pattern = folder + "/." + QFile::encodeName(target.fileName()) + '.' + QByteArray(kSuffixLength, 'X');
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC); // created exclusively, owner-only
    if (fd < 0)
        fail(systemReason(errno));
    PendingFile file(pattern, fd, calls);
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
    if (calls.rename(file.name().constData(), targetName.constData()) != 0)
        fail(systemReason(errno));
    file.renamed();
    // Makes the new name itself survive a power cut.
    if (options.durable) {
        if (const int error = syncFolder(calls, folder))
            fail(systemReason(error));
    }
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
