#include "ApplicantFile.h"

#include "IniText.h"
#include "RecordCatalogue.h"
#include "SettingsStore.h"
#include "base/ReadAll.h"
#include "base/SafeWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace record {
namespace {

// An applicant file is a few kilobytes; far more is not one, and is not read into memory whole.
constexpr qint64 kLargestApplicantFile = 16 * 1024 * 1024;

const QString &section()
{
    static const QString name = QString::fromLatin1(SettingsStore::kSection);
    return name;
}

base::Failure cannotOpen(const QString &path, const QString &cause)
{
    return base::Failure(QStringLiteral("The applicant file %1 cannot be opened: %2.").arg(path, cause));
}

// The file's bytes, or nullopt when there is no file; throws with the system's reason otherwise.
std::optional<QByteArray> readBytes(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && errno == ENOENT)
        return std::nullopt;
    if (fd < 0)
        throw cannotOpen(path, base::systemReason(errno));
    struct stat status {};
    int error = ::fstat(fd, &status) == 0 ? 0 : errno;
    QByteArray bytes;
    if (error == 0 && !S_ISREG(status.st_mode)) {
        ::close(fd);
        throw cannotOpen(path, QStringLiteral("it is not a regular file"));
    }
    // Refused before it is read when its size says so, and when it grows past the limit as it is read.
    if (error == 0 && status.st_size > kLargestApplicantFile)
        error = EFBIG;
    if (error == 0) {
        base::ReadResult read = base::readToEnd(fd, status.st_size, kLargestApplicantFile);
        bytes = std::move(read.bytes);
        error = read.error;
    }
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == EFBIG)
        throw cannotOpen(path, QStringLiteral("it is far larger than an applicant file"));
    if (error != 0)
        throw cannotOpen(path, base::systemReason(error));
    return bytes;
}

const IniSectionSpan *ownSection(const QList<IniSectionSpan> &spans)
{
    for (const IniSectionSpan &span : spans)
        if (span.headed && span.name == section())
            return &span;
    return nullptr;
}

} // namespace

QMap<QString, QString> blankRecord()
{
    QMap<QString, QString> record;
    for (const TextFieldSpec &field : textFields())
        record.insert(QLatin1String(field.key), QString());
    for (const ChoiceSpec &choice : choices())
        record.insert(QLatin1String(choice.key), QLatin1String(choice.firstWord));
    return record;
}

QMap<QString, QString> readApplicantFile(const QString &path)
{
    const std::optional<QByteArray> bytes = readBytes(path);
    if (!bytes)
        throw cannotOpen(path, base::systemReason(ENOENT));
    // Text only: a NUL byte or bytes that are not UTF-8 mean some other kind of file.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)utf8.decode(*bytes);
    if (bytes->contains('\0') || utf8.hasError())
        throw cannotOpen(path, QStringLiteral("it is not a text file, so not an applicant file"));
    const QList<IniSectionSpan> spans = iniSectionSpans(*bytes);
    const IniSectionSpan *own = ownSection(spans);
    if (!own)
        throw cannotOpen(path, QStringLiteral("it has no [%1] section, so it is no applicant file").arg(section()));
    const IniReading reading = decodeIniText(bytes->mid(own->begin, own->end - own->begin));
    if (!reading.lossless)
        throw cannotOpen(path, QStringLiteral("its [%1] section holds lines that are not the program's settings "
                                              "(damaged, or edited by hand)")
                                   .arg(section()));
    QMap<QString, QString> record = blankRecord();
    const QString prefix = section() + QLatin1Char('/');
    for (const TextFieldSpec &field : textFields())
        record[QLatin1String(field.key)] = reading.values.value(prefix + QLatin1String(field.key));
    for (const ChoiceSpec &choice : choices()) {
        const QString key = QLatin1String(choice.key);
        if (reading.values.value(prefix + key) == QLatin1String(choice.secondWord))
            record[key] = QLatin1String(choice.secondWord);
    }
    return record;
}

void writeApplicantFile(const QString &path, const QMap<QString, QString> &record)
{
    QMap<QString, QString> keyed;
    for (auto it = record.cbegin(); it != record.cend(); ++it)
        keyed.insert(section() + QLatin1Char('/') + it.key(), it.value());
    QByteArray text = encodeIniText(keyed);

    const QString target = base::finalLinkTarget(path);
    std::optional<QByteArray> existing;
    try {
        existing = readBytes(target);
    } catch (const base::Failure &failure) {
        throw base::WriteFailure(path, QStringLiteral("the file there could not be read first (%1)")
                                           .arg(failure.description()));
    }
    // A file that holds other sections keeps them; the record's section is rewritten where it stands.
    if (existing) {
        const QList<IniSectionSpan> spans = iniSectionSpans(*existing);
        if (const IniSectionSpan *own = ownSection(spans); own && spans.size() > 1) {
            if (own->end < existing->size())
                text += '\n';
            text = existing->left(own->begin) + text + existing->mid(own->end);
        }
    }
    base::ReplaceOptions options;
    options.followLink = true; // a link the user made to the file stays a link
    options.mode = 0600;       // it holds social security numbers
    base::replaceFile(path, text, options);
}

} // namespace record
