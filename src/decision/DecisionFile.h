#pragma once
// The decision's own section of an applicant file, [Decision], beside the record's [Tenvoria]
// section, whose keys it never touches. A locked file keeps its decision locked: the section is
// inside the encrypted text like the record.
#include "Decision.h"
#include "record/LockedFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>

#include <optional>

namespace decision {

// The section's name in the file.
inline constexpr char kDecisionSection[] = "Decision";

// What a file was when it was read: size, modification time and a hash of its bytes. A save
// compares it with the file as it is now, so that another writer's change is never overwritten
// without asking.
struct FileStamp {
    qint64 size = -1;
    qint64 modifiedNs = 0;
    QByteArray hash; // SHA-256 of the bytes
    bool exists() const { return size >= 0; }
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};
// The stamp of the file as it is now (no file: a stamp that does not exist). Throws
// base::Failure when the file is there but cannot be read.
FileStamp stampOf(const QString &path);
// Whether the file changed on disk since `stamp` was taken: a different size, time or content,
// or it is gone or new.
bool changedSince(const QString &path, const FileStamp &stamp);

// The decision a file holds; Pending when it holds none. Opens a locked file with `passphrase`.
// Throws base::Failure (record::UnlockFailure for a locked file) naming the file and the cause,
// for a file that is no applicant file or whose decision cannot be read.
Decision readDecision(const QString &path, const record::Passphrase *passphrase = nullptr);

// An applicant file read once: its record, its decision and the stamp of the bytes they came from,
// so that a later save compares with exactly what was shown. Throws as readDecision() does.
struct ApplicantReading {
    QMap<QString, QString> record;
    Decision decision;
    FileStamp stamp;
};
ApplicantReading readApplicant(const QString &path, const record::Passphrase *passphrase = nullptr);

// The section's text for a decision, and a decision from it ("Key" -> value).
QMap<QString, QString> decisionValues(const Decision &decision);
Decision decisionOf(const QMap<QString, QString> &values, const QString &path);

// Writes the decision into the file: the file is read afresh, only its [Decision] section is
// replaced (or added), every other byte stays, and the file is replaced through the checked
// replacement, locked again with the same passphrase when it was locked. Refuses, changing
// nothing, a decision with problems (problemsOf), a file that is no applicant file, a locked file
// without its passphrase, and a folder that cannot be written. Returns the stamp of the new file.
// Throws base::Failure.
FileStamp writeDecision(const QString &path, const Decision &decision, const record::Passphrase *passphrase = nullptr,
                        const QDate &today = QDate::currentDate(), const record::LockCost &cost = {});

} // namespace decision
