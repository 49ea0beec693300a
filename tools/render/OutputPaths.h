#pragma once
// What a headless run may write where, checked before anything is read or written: no two outputs
// on one file, no output over a file the run reads, no export over an applicant file or the
// settings store, and no plain record over a locked one.
#include <QList>
#include <QString>
#include <QStringList>

namespace tools {

// A file the run names, with the option that names it ("--pdf").
struct NamedFile {
    QString option;
    QString path;
};

struct RunFiles {
    QList<NamedFile> exports;      // forms and comparisons: never over a record
    QList<NamedFile> plainRecords; // records written unlocked: never over a locked applicant file
    QList<NamedFile> lockedRecords; // records written locked: never over the settings store
    QList<NamedFile> inputs;       // read by the run: nothing is written over them
    NamedFile recordSource;        // read too, but a record may be written back to it (to lock it)
};

// Why the run may not write what it names, one reason per line; empty when it may. Files are
// compared where they are, after links and with "." and ".." gone; a path that names nothing yet
// is compared by where it would be made.
QStringList refusedOutputs(const RunFiles &files);

} // namespace tools
