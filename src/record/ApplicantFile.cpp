#include "ApplicantFile.h"

#include "IniText.h"
#include "RecordCatalogue.h"
#include "SettingsStore.h"
#include "base/ReadAll.h"
#include "base/SafeWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <sodium.h>

#include <algorithm>
#include <utility>
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

// The file's bytes, or nullopt when there is no file; throws with the reason otherwise.
std::optional<QByteArray> readBytes(const QString &path)
{
    base::FileReading reading = base::readRegularFile(path, kLargestApplicantFile);
    if (reading.error == ENOENT)
        return std::nullopt;
    if (reading.error == EFBIG)
        throw cannotOpen(path, QStringLiteral("it is far larger than an applicant file"));
    if (reading.error != 0)
        throw cannotOpen(path, base::readingFailureReason(reading.error, kLargestApplicantFile));
    return std::move(reading.bytes);
}

QMap<QString, QString> keyedBySection(const QMap<QString, QString> &record)
{
    QMap<QString, QString> keyed;
    for (auto it = record.cbegin(); it != record.cend(); ++it)
        keyed.insert(section() + QLatin1Char('/') + it.key(), it.value());
    return keyed;
}

const IniSectionSpan *ownSection(const QList<IniSectionSpan> &spans)
{
    for (const IniSectionSpan &span : spans)
        if (span.headed && span.name == section())
            return &span;
    return nullptr;
}

} // namespace

bool isLockedApplicantFile(const QString &path)
{
    const base::FileReading reading = base::readRegularFile(path, kLargestApplicantFile);
    return reading.error == 0 && isLockedFile(reading.bytes);
}

QMap<QString, QString> readApplicantFile(const QString &path, const Passphrase *passphrase,
                                         std::shared_ptr<const HeldLock> *held)
{
    std::optional<QByteArray> bytes = readBytes(path);
    if (!bytes)
        throw cannotOpen(path, base::systemReason(ENOENT));
    if (isLockedFile(*bytes)) {
        try {
            checkLockedHeader(*bytes); // damage is told before a passphrase is asked for
        } catch (const UnlockFailure &failure) {
            throw UnlockFailure(failure.kind(), cannotOpen(path, failure.reason()).description());
        }
        if (!passphrase)
            throw UnlockFailure(UnlockFailure::Kind::NeedsPassphrase,
                                cannotOpen(path, QStringLiteral("it is locked, and no passphrase was given")).description());
        try {
            bytes = unlockBytes(*bytes, *passphrase, {}, held);
        } catch (const UnlockFailure &failure) {
            throw UnlockFailure(failure.kind(), cannotOpen(path, failure.reason()).description());
        }
    }
    return applicantRecordOf(*bytes, path);
}

QMap<QString, QString> applicantRecordOf(const QByteArray &plain, const QString &path)
{
    // Text only: a NUL byte or bytes that are not UTF-8 mean some other kind of file.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)utf8.decode(plain);
    if (plain.contains('\0') || utf8.hasError())
        throw cannotOpen(path, QStringLiteral("it is not a text file, so not an applicant file"));
    const QList<IniSectionSpan> spans = iniSectionSpans(plain);
    const IniSectionSpan *own = ownSection(spans);
    if (!own)
        throw cannotOpen(path, QStringLiteral("it has no [%1] section, so it is no applicant file").arg(section()));
    const IniReading reading = decodeIniText(plain.mid(own->begin, own->end - own->begin));
    if (!reading.lossless)
        throw cannotOpen(path, QStringLiteral("its [%1] section holds lines that are not the program's settings "
                                              "(damaged, or edited by hand)")
                                   .arg(section()));
    const QString prefix = section() + QLatin1Char('/');
    QMap<QString, QString> byKey;
    for (auto it = reading.values.cbegin(); it != reading.values.cend(); ++it)
        if (it.key().startsWith(prefix))
            byKey.insert(it.key().mid(prefix.size()), it.value());
    return settingsOf(RecordSnapshot::fromSettings(byKey));
}

void writeApplicantFile(const QString &path, const QMap<QString, QString> &record, const Passphrase *lock,
                        const LockCost &cost, const Passphrase *opens, std::shared_ptr<const HeldLock> *held)
{
    QMap<QString, QString> keyed = keyedBySection(record);

    const QString target = base::finalLinkTarget(path);
    std::optional<QByteArray> existing;
    try {
        existing = readBytes(target);
    } catch (const base::Failure &failure) {
        throw base::WriteFailure(path, QStringLiteral("the file there could not be read first (%1)")
                                           .arg(failure.description()));
    }
    // A locked file there keeps its other sections (the landlord's decision) when its passphrase is
    // at hand; without it there is nothing this write could keep, and it is replaced.
    bool unlocked = false;
    if (existing && isLockedFile(*existing)) {
        const Passphrase *key = opens ? opens : lock;
        try {
            if (!key)
                throw UnlockFailure(UnlockFailure::Kind::NeedsPassphrase, QString());
            existing = unlockBytes(*existing, *key);
            unlocked = true;
        } catch (const UnlockFailure &) {
            existing.reset();
        }
    }
    const QList<IniSectionSpan> spans = existing ? iniSectionSpans(*existing) : QList<IniSectionSpan>();
    const IniSectionSpan *own = ownSection(spans);
    if (own) {
        // The hidden reference rows a record leaves out (an import's) stay as the file has them.
        const IniReading reading = decodeIniText(existing->mid(own->begin, own->end - own->begin));
        for (const TextFieldSpec &field : textFields()) {
            const QString key = section() + QLatin1Char('/') + QLatin1String(field.key);
            if (!field.shown && !keyed.contains(key) && reading.values.contains(key))
                keyed.insert(key, reading.values.value(key));
        }
    }
    QByteArray text = encodeIniText(keyed);
    // A file that holds other sections keeps them; the record's section is rewritten where it
    // stands, or added after them.
    if (existing) {
        if (own) {
            if (own->end < existing->size())
                text += '\n';
            text = existing->left(own->begin) + text + existing->mid(own->end);
        } else if (std::any_of(spans.cbegin(), spans.cend(), [](const IniSectionSpan &span) { return span.headed; })) {
            QByteArray kept = *existing;
            if (!kept.endsWith('\n'))
                kept += '\n';
            text = kept + '\n' + text;
        }
    }
    if (unlocked)
        sodium_memzero(existing->data(), std::size_t(existing->size()));
    if (lock) {
        QByteArray plain = std::exchange(text, lockBytes(text, *lock, cost, held));
        // The plain form lived in memory only; it goes before anything else can reuse that memory.
        sodium_memzero(plain.data(), std::size_t(plain.size()));
    }
    // Open reads no more than this: a file it would refuse is not written.
    if (text.size() > kLargestApplicantFile)
        throw base::WriteFailure(path, QStringLiteral("the entries would make it larger than the %1 MB an applicant "
                                                      "file may have")
                                           .arg(kLargestApplicantFile >> 20));
    base::ReplaceOptions options;
    options.followLink = true; // a link the user made to the file stays a link
    options.mode = 0600;       // it holds social security numbers
    base::replaceFile(path, text, options);
}

void writeLockedJournal(const QString &path, const QMap<QString, QString> &record, const HeldLock &lock)
{
    QByteArray plain = encodeIniText(keyedBySection(record));
    const QByteArray locked = lock.lock(plain);
    sodium_memzero(plain.data(), std::size_t(plain.size()));
    base::replaceFile(path, locked); // owner-only, a link at the path replaced, never followed
}

} // namespace record
