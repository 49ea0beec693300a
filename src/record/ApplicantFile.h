#pragma once
// One applicant's record as a file of its own: the store's INI form, a [Tenvoria] section with the
// store's keys and value encoding, so that whatever reads the store (tenvoria-render --settings)
// reads an applicant file too.
#include "LockedFile.h"
#include "RecordValues.h"

#include <QMap>
#include <QString>

namespace record {

// The suffix the program gives applicant files, without the dot.
inline constexpr char kApplicantSuffix[] = "tenvoria";

// The store's key that names the locked applicant file open in the program: while it is set, the
// store's record keys are empty and the entries are in the journal beside the store.
inline constexpr char kLockedApplicantNoteKey[] = "LockedApplicant";

// The record an applicant file holds, by settings key, every key of the catalogue present (what the
// file lacks is blank, a choice it lacks or names no option of is on its first option). A file that
// cannot be read, is not an applicant file (no [Tenvoria] section, not text) or whose section is
// damaged throws base::Failure naming the path and the cause. Values of any length are taken: what
// writeApplicantFile writes opens.
// A locked file (LockedFile.h) opens with `passphrase`; without one it throws UnlockFailure with the
// kind NeedsPassphrase, and with a wrong one WrongPassphrase, naming the path. A damaged or
// unsupported header is refused (Damaged, Unsupported) before either. `held` receives its lock.
QMap<QString, QString> readApplicantFile(const QString &path, const Passphrase *passphrase = nullptr,
                                         std::shared_ptr<const HeldLock> *held = nullptr);

// The record of an applicant file's plain text (unlocked when it was locked), read and checked as
// readApplicantFile() reads a file; `path` names it in the failure.
QMap<QString, QString> applicantRecordOf(const QByteArray &plain, const QString &path);

// Whether the file at the path is a locked applicant file (its first bytes say so). False for a
// file that cannot be read: reading it says why.
bool isLockedApplicantFile(const QString &path);

// Writes the record owner-only through the checked replacement. An existing file is read first
// and never replaced when it cannot be read; its other sections keep their bytes, and the values of
// its own section for hidden reference rows that `record` does not name (an import's) are kept. Throws
// base::Failure (base::WriteFailure for the write itself).
// With `lock`, the file is written locked with that passphrase: its plain form, the existing file's
// other sections included when that file is plain, is encrypted in memory and never written as such;
// `held` receives the lock. A locked file there is opened with `opens` (else with `lock`) to keep its
// other sections; one that does not open is replaced whole. A file larger than readApplicantFile reads
// is refused before it is written.
void writeApplicantFile(const QString &path, const QMap<QString, QString> &record, const Passphrase *lock = nullptr,
                        const LockCost &cost = {}, const Passphrase *opens = nullptr,
                        std::shared_ptr<const HeldLock> *held = nullptr);

// Writes the record as a locked applicant file under a lock held in memory (no key is derived), replaced
// owner-only through the checked replacement: the journal of a locked applicant's entries. Throws
// base::WriteFailure.
void writeLockedJournal(const QString &path, const QMap<QString, QString> &record, const HeldLock &lock);

} // namespace record
