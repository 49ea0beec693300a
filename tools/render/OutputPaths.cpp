#include "OutputPaths.h"

#include "base/Failure.h"
#include "base/ReadAll.h"
#include "base/SafeWrite.h"
#include "record/IniText.h"
#include "record/LockedFile.h"
#include "record/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

#include <sys/stat.h>

namespace tools {
namespace {

// No applicant file is larger (the reader refuses larger ones), so a larger file is none, and
// telling needs no more than this read.
constexpr qint64 kLargestRecord = 16 * 1024 * 1024;

// Where the file at `path` is: its device and inode when it exists (a hard link is the same file),
// otherwise the folder it would be made in, links resolved, and its name.
QString placeOf(const QString &path)
{
    QString target;
    try {
        target = base::finalLinkTarget(path);
    } catch (const base::Failure &) {
        target = QFileInfo(path).absoluteFilePath(); // a loop of links: its writer says so
    }
    struct stat status {};
    if (::stat(QFile::encodeName(target).constData(), &status) == 0)
        return QStringLiteral("inode %1 %2").arg(status.st_dev).arg(status.st_ino);
    const QFileInfo info(target);
    const QString folder = info.absoluteDir().canonicalPath();
    return (folder.isEmpty() ? QDir::cleanPath(info.absolutePath()) : folder) + QLatin1Char('/') + info.fileName();
}

enum class Held { Nothing, Other, PlainRecord, LockedRecord, Unreadable };

// What the file at `path` holds, as far as replacing it goes; `reason` says why it could not be read.
Held heldAt(const QString &path, QString &reason)
{
    const base::FileReading reading = base::readRegularFile(path, kLargestRecord);
    if (reading.error == ENOENT)
        return Held::Nothing;
    if (reading.error == base::kNotRegularFile || reading.error == EFBIG)
        return Held::Other; // no record; the writer refuses what is no regular file
    if (reading.error != 0) {
        reason = base::readingFailureReason(reading.error, kLargestRecord);
        return Held::Unreadable;
    }
    if (record::isLockedFile(reading.bytes))
        return Held::LockedRecord;
    const QString section = QString::fromLatin1(record::SettingsStore::kSection);
    const QList<record::IniSectionSpan> spans = record::iniSectionSpans(reading.bytes);
    const bool plainRecord = std::any_of(spans.cbegin(), spans.cend(), [&](const record::IniSectionSpan &span) {
        return span.headed && span.name == section;
    });
    return plainRecord ? Held::PlainRecord : Held::Other;
}

struct Output {
    NamedFile file;
    QString place;
    enum class Kind { Export, PlainRecord, LockedRecord } kind;
};

// Why this one output may not be written, or empty.
QString refusalOf(const Output &output, const RunFiles &files, const QString &storePlace)
{
    const QString &option = output.file.option, &path = output.file.path;
    const bool isRecord = output.kind != Output::Kind::Export;
    QList<NamedFile> read = files.inputs;
    if (!isRecord)
        read << files.recordSource;
    for (const NamedFile &input : read)
        if (!input.path.isEmpty() && placeOf(input.path) == output.place)
            return QStringLiteral("%1 names %2, which %3 reads: it would be written over.").arg(option, path, input.option);
    if (output.kind == Output::Kind::LockedRecord && output.place == storePlace)
        return QStringLiteral("%1 names the settings store %2: locked, the program could no longer read it.")
            .arg(option, path);
    if (output.kind == Output::Kind::Export && output.place == storePlace)
        return QStringLiteral("%1 names the settings store %2: an export is never written over it.").arg(option, path);
    QString reason;
    const Held held = heldAt(path, reason);
    const bool heldRecord = held == Held::PlainRecord || held == Held::LockedRecord;
    if (!isRecord && heldRecord)
        return QStringLiteral("%1 names %2, an applicant file: an export is never written over one.").arg(option, path);
    if (!isRecord && held == Held::Unreadable) // the record writer refuses such a file itself
        return QStringLiteral("%1 names %2, which cannot be read (%3): it is not replaced unseen.").arg(option, path, reason);
    if (output.kind == Output::Kind::PlainRecord && held == Held::LockedRecord)
        return QStringLiteral("%1 names %2, a locked applicant file: a record is never written over one unlocked.")
            .arg(option, path);
    return {};
}

} // namespace

QStringList refusedOutputs(const RunFiles &files)
{
    QList<Output> outputs;
    const auto add = [&](const QList<NamedFile> &named, Output::Kind kind) {
        for (const NamedFile &file : named)
            if (!file.path.isEmpty()) // an empty name is the writer's to refuse
                outputs.append({file, placeOf(file.path), kind});
    };
    add(files.exports, Output::Kind::Export);
    add(files.plainRecords, Output::Kind::PlainRecord);
    add(files.lockedRecords, Output::Kind::LockedRecord);
    if (outputs.isEmpty())
        return {};

    QStringList refusals;
    for (qsizetype i = 0; i < outputs.size(); ++i)
        for (qsizetype j = i + 1; j < outputs.size(); ++j)
            if (outputs[i].place == outputs[j].place)
                refusals << QStringLiteral("%1 and %2 name the same file (%3): one would be written over the other.")
                                .arg(outputs[i].file.option, outputs[j].file.option, outputs[j].file.path);
    const QString storePlace = placeOf(record::SettingsStore::userStorePath());
    for (const Output &output : outputs) {
        const QString refusal = refusalOf(output, files, storePlace);
        if (!refusal.isEmpty())
            refusals << refusal;
    }
    return refusals;
}

} // namespace tools
