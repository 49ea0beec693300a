#pragma once
// The disposal of a folder's applicant files whose time is up: each one listed first, then
// overwritten in place, flushed and unlinked, taken off the recent list, and logged in the
// folder's disposal log before it is touched, so that an interrupted disposal says what it did and
// the next one finishes it. Overwriting is a reasonable measure, not a guarantee: on an SSD or a
// copy-on-write file system the old blocks may survive it; a locked file is the real protection.
#include "DecisionFile.h"
#include "Vacancy.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace decision {

// The log's name in the folder.
inline constexpr char kDisposalLogName[] = "tenvoria-disposal.log";
QString disposalLogPath(const QString &folder);

// A file the disposal will destroy, as it was when listed.
struct ExpiredFile {
    QString path;
    QString fileName;
    QString applicantName;
    Status status = Status::Pending;
    QDate decided;
    QDate keepUntil;
    FileStamp stamp;
    QString identity;         // "device:inode" when listed
    bool interrupted = false; // begun by a disposal that did not finish (the log says so)
};

struct DisposalListing {
    QList<ExpiredFile> files;
    QStringList unchecked; // the files whose decision could not be read, each with why
};

// The folder's applicant files past their keep-until day on `today`, and the files an interrupted
// disposal began (its log names them and they are still there, or still on the recent list).
// Pending files and outcomes without a period are never listed. Locked files are opened with
// `passphrase` when given; those that do not open are unchecked. Throws base::Failure when the
// folder cannot be listed or its log cannot be read.
DisposalListing listExpired(const QString &folder, const RetentionPeriods &periods, const QDate &today,
                            const record::Passphrase *passphrase = nullptr);

struct DisposalResult {
    QStringList disposed; // file names
    QStringList problems; // a file left alone, and why
};

// Disposes of the listed files and only those: a file that changed since it was listed (another
// decision, another file under the name) is left alone and said. The log is opened before
// anything is touched; when it cannot be written nothing is disposed (base::Failure). A failure to
// write it later stops the disposal there.
DisposalResult dispose(const QString &folder, const QList<ExpiredFile> &listed,
                       const QString &recentList = QString(), const QDateTime &now = QDateTime::currentDateTimeUtc());

} // namespace decision
