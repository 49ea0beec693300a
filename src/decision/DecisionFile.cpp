#include "DecisionFile.h"

#include "base/ReadAll.h"
#include "base/SafeWrite.h"
#include "record/ApplicantFile.h"
#include "record/IniText.h"
#include "record/LockedFile.h"
#include "record/SettingsStore.h"

#include <QCryptographicHash>
#include <QFile>
#include <QStringDecoder>

#include <sodium.h>

#include <cerrno>
#include <utility>

#include <sys/stat.h>

namespace decision {
namespace {

constexpr qint64 kLargestApplicantFile = 16 * 1024 * 1024;

QString section() { return QString::fromLatin1(kDecisionSection); }

base::Failure cannotRead(const QString &path, const QString &cause)
{
    return base::Failure(QStringLiteral("The decision in %1 cannot be read: %2.").arg(path, cause));
}

// A file's bytes and the stamp they were read with, from one open.
struct Reading {
    QByteArray bytes;
    FileStamp stamp;
};

Reading readFile(const QString &path, bool missingIsEmpty)
{
    base::FileReading reading = base::readRegularFile(path, kLargestApplicantFile);
    Reading result;
    if (reading.error == ENOENT && missingIsEmpty)
        return result;
    if (reading.error != 0)
        throw base::Failure(QStringLiteral("The applicant file %1 cannot be read: %2.")
                                .arg(path, base::readingFailureReason(reading.error, kLargestApplicantFile)));
    struct stat status {};
    // The time comes from the path after the read: a change in between only makes the stamp older,
    // and an older stamp asks the question once too often, never once too few.
    if (::stat(QFile::encodeName(path).constData(), &status) == 0)
        result.stamp.modifiedNs = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    result.stamp.size = reading.bytes.size();
    result.stamp.hash = QCryptographicHash::hash(reading.bytes, QCryptographicHash::Sha256);
    result.bytes = std::move(reading.bytes);
    return result;
}

// The plain text of an applicant file, unlocked when it is locked; checked to be one.
QByteArray plainText(const QString &path, const QByteArray &bytes, const record::Passphrase *passphrase)
{
    QByteArray plain = bytes;
    if (record::isLockedFile(bytes)) {
        if (!passphrase)
            throw record::UnlockFailure(record::UnlockFailure::Kind::NeedsPassphrase,
                                        QStringLiteral("The applicant file %1 is locked, and its passphrase is not "
                                                       "held.")
                                            .arg(path));
        try {
            plain = record::unlockBytes(bytes, *passphrase);
        } catch (const record::UnlockFailure &failure) {
            throw record::UnlockFailure(failure.kind(),
                                        QStringLiteral("The applicant file %1 cannot be opened: %2.").arg(path, failure.reason()));
        }
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)utf8.decode(plain);
    const QString ownName = QString::fromLatin1(record::SettingsStore::kSection);
    bool hasRecord = false;
    if (!plain.contains('\0') && !utf8.hasError())
        for (const record::IniSectionSpan &span : record::iniSectionSpans(plain))
            hasRecord = hasRecord || (span.headed && span.name == ownName);
    if (!hasRecord)
        throw base::Failure(QStringLiteral("%1 is no applicant file: it has no [%2] section.").arg(path, ownName));
    return plain;
}

const record::IniSectionSpan *decisionSpan(const QList<record::IniSectionSpan> &spans)
{
    for (const record::IniSectionSpan &span : spans)
        if (span.headed && span.name == section())
            return &span;
    return nullptr;
}

Decision decisionIn(const QByteArray &plain, const QString &path);

QString yesNo(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

QString number(double value) { return QString::number(value, 'g', 12); }

} // namespace

FileStamp stampOf(const QString &path) { return readFile(path, true).stamp; }

bool changedSince(const QString &path, const FileStamp &stamp)
{
    try {
        return !(stampOf(path) == stamp);
    } catch (const base::Failure &) {
        return true; // what cannot be read now is not what was read
    }
}

QMap<QString, QString> decisionValues(const Decision &decision)
{
    QMap<QString, QString> values;
    values.insert(QStringLiteral("Status"), statusName(decision.status));
    values.insert(QStringLiteral("Date"), dateText(decision.date));
    const Conditions &conditions = decision.conditions;
    values.insert(QStringLiteral("Co-signer"), yesNo(conditions.coSigner));
    values.insert(QStringLiteral("Deposit"), yesNo(conditions.deposit));
    values.insert(QStringLiteral("Deposit amount"), conditions.depositAmount);
    values.insert(QStringLiteral("Higher rent"), yesNo(conditions.higherRent));
    values.insert(QStringLiteral("Rent amount"), conditions.rentAmount);
    values.insert(QStringLiteral("Other condition"), conditions.other);
    const Reasons &reasons = decision.reasons;
    values.insert(QStringLiteral("Reason income"), yesNo(reasons.incomeBelowMinimum));
    values.insert(QStringLiteral("Reason credit"), yesNo(reasons.creditHistory));
    values.insert(QStringLiteral("Reason rental"), yesNo(reasons.rentalHistory));
    values.insert(QStringLiteral("Reason eviction"), yesNo(reasons.evictionRecord));
    values.insert(QStringLiteral("Reason unverifiable"), yesNo(reasons.unverifiableInformation));
    values.insert(QStringLiteral("Other reason"), reasons.other);
    values.insert(QStringLiteral("Report used"), yesNo(decision.reportUsed));
    values.insert(QStringLiteral("Agency"), decision.agency);
    const ScoreDisclosure &score = decision.score;
    values.insert(QStringLiteral("Score used"), yesNo(score.used));
    values.insert(QStringLiteral("Score"), score.score);
    values.insert(QStringLiteral("Score lowest"), score.rangeLow);
    values.insert(QStringLiteral("Score highest"), score.rangeHigh);
    for (int i = 0; i < int(score.keyFactors.size()); ++i)
        values.insert(QStringLiteral("Key factor %1").arg(i + 1), score.keyFactors[std::size_t(i)]);
    values.insert(QStringLiteral("Score date"), dateText(score.date));
    values.insert(QStringLiteral("Score provided by"), score.providedBy);
    values.insert(QStringLiteral("Criteria rent"), number(decision.criteria.monthlyRent));
    values.insert(QStringLiteral("Criteria minimum multiple"), number(decision.criteria.minimumMultiple));
    values.insert(QStringLiteral("Criteria multiple"),
                  decision.criteria.multiple ? number(*decision.criteria.multiple) : QString());
    return values;
}

Decision decisionOf(const QMap<QString, QString> &values, const QString &path)
{
    Decision decision;
    if (values.isEmpty())
        return decision;
    const auto flag = [&](const char *key) { return values.value(QLatin1String(key)) == QLatin1String("true"); };
    const auto text = [&](const char *key) { return values.value(QLatin1String(key)); };
    const auto date = [&](const char *key, const QString &what) {
        const QString typed = values.value(QLatin1String(key));
        if (typed.isEmpty())
            return QDate();
        const std::optional<QDate> read = readDate(typed);
        if (!read)
            throw cannotRead(path, QStringLiteral("its %1 \"%2\" is not a date (YYYY-MM-DD)").arg(what, typed));
        return *read;
    };
    const std::optional<Status> status = statusNamed(text("Status"));
    if (!status)
        throw cannotRead(path, QStringLiteral("its status \"%1\" is none the program knows").arg(text("Status")));
    decision.status = *status;
    decision.date = date("Date", QStringLiteral("date"));
    decision.conditions = {flag("Co-signer"), flag("Deposit"), text("Deposit amount"), flag("Higher rent"),
                           text("Rent amount"), text("Other condition")};
    decision.reasons = {flag("Reason income"), flag("Reason credit"), flag("Reason rental"), flag("Reason eviction"),
                        flag("Reason unverifiable"), text("Other reason")};
    decision.reportUsed = flag("Report used");
    decision.agency = text("Agency");
    ScoreDisclosure &score = decision.score;
    score.used = flag("Score used");
    score.score = text("Score");
    score.rangeLow = text("Score lowest");
    score.rangeHigh = text("Score highest");
    for (int i = 0; i < int(score.keyFactors.size()); ++i)
        score.keyFactors[std::size_t(i)] = values.value(QStringLiteral("Key factor %1").arg(i + 1));
    score.date = date("Score date", QStringLiteral("score's date"));
    score.providedBy = text("Score provided by");
    bool ok = false;
    const double rent = text("Criteria rent").toDouble(&ok);
    if (ok && rent >= 0)
        decision.criteria.monthlyRent = rent;
    const double minimum = text("Criteria minimum multiple").toDouble(&ok);
    if (ok && minimum > 0)
        decision.criteria.minimumMultiple = minimum;
    const double multiple = text("Criteria multiple").toDouble(&ok);
    if (ok)
        decision.criteria.multiple = multiple;
    if (decision.status != Status::Pending && !decision.date.isValid())
        throw cannotRead(path, QStringLiteral("it is %1 without a date").arg(statusName(decision.status)));
    return decision;
}

Decision readDecision(const QString &path, const record::Passphrase *passphrase)
{
    return readApplicant(path, passphrase).decision;
}

ApplicantReading readApplicant(const QString &path, const record::Passphrase *passphrase)
{
    const Reading reading = readFile(path, false);
    QByteArray plain = plainText(path, reading.bytes, passphrase);
    ApplicantReading result;
    result.stamp = reading.stamp;
    try {
        result.record = record::applicantRecordOf(plain, path);
        result.decision = decisionIn(plain, path);
    } catch (...) {
        sodium_memzero(plain.data(), std::size_t(plain.size()));
        throw;
    }
    sodium_memzero(plain.data(), std::size_t(plain.size()));
    return result;
}

namespace {

Decision decisionIn(const QByteArray &plain, const QString &path)
{
    const QList<record::IniSectionSpan> spans = record::iniSectionSpans(plain);
    const record::IniSectionSpan *span = decisionSpan(spans);
    if (!span)
        return Decision();
    const record::IniReading ini = record::decodeIniText(plain.mid(span->begin, span->end - span->begin));
    const QString prefix = section() + QLatin1Char('/');
    QMap<QString, QString> values;
    for (auto it = ini.values.cbegin(); it != ini.values.cend(); ++it)
        if (it.key().startsWith(prefix))
            values.insert(it.key().mid(prefix.size()), it.value());
    return decisionOf(values, path);
}

} // namespace

FileStamp writeDecision(const QString &path, const Decision &decision, const record::Passphrase *passphrase,
                        const QDate &today, const record::LockCost &cost)
{
    const QStringList problems = problemsOf(decision, today);
    if (!problems.isEmpty())
        throw base::Failure(QStringLiteral("The decision was not written to %1: %2").arg(path, problems.join(QLatin1Char(' '))));
    const QString target = base::finalLinkTarget(path);
    // Read afresh: whatever another writer put into the file since it was shown stays.
    const Reading reading = readFile(target, false);
    const bool locked = record::isLockedFile(reading.bytes);
    QByteArray plain = plainText(path, reading.bytes, passphrase);
    QMap<QString, QString> keyed;
    const QMap<QString, QString> values = decisionValues(decision);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        keyed.insert(section() + QLatin1Char('/') + it.key(), it.value());
    QByteArray text = record::encodeIniText(keyed);
    const QList<record::IniSectionSpan> spans = record::iniSectionSpans(plain);
    if (const record::IniSectionSpan *span = decisionSpan(spans)) {
        if (span->end < plain.size())
            text += '\n';
        text = plain.left(span->begin) + text + plain.mid(span->end);
    } else {
        QByteArray kept = plain;
        if (!kept.endsWith('\n'))
            kept += '\n';
        text = kept + '\n' + text;
    }
    sodium_memzero(plain.data(), std::size_t(plain.size()));
    if (locked) {
        QByteArray open = std::exchange(text, record::lockBytes(text, *passphrase, cost));
        sodium_memzero(open.data(), std::size_t(open.size()));
    }
    base::ReplaceOptions options;
    options.followLink = true;
    options.mode = 0600; // it holds social security numbers
    struct stat written {};
    options.written = &written;
    base::replaceFile(path, text, options);
    FileStamp stamp;
    stamp.size = text.size();
    stamp.modifiedNs = qint64(written.st_mtim.tv_sec) * 1000000000 + written.st_mtim.tv_nsec;
    stamp.hash = QCryptographicHash::hash(text, QCryptographicHash::Sha256);
    return stamp;
}

} // namespace decision
