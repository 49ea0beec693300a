#pragma once
#include "Failure.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

#include <sys/stat.h>
#include <sys/types.h>

class QIODevice;

namespace base {

// The system calls a replacement makes once its new file is open, behind an interface so that
// tests can make any of them fail. Each returns what the POSIX call returns and sets errno.
class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual ssize_t write(int fd, const void *data, size_t size);
    virtual int dataSync(int fd);   // the new file's content
    virtual int folderSync(int fd); // the folder's entry for the new name
    virtual int fstat(int fd, struct stat *status);
    virtual int close(int fd);
    // Names relative to the open folder `folderFd`, which holds both.
    virtual int rename(int folderFd, const char *from, const char *to);
};

// The real calls.
FileCalls &systemFileCalls();

// A file that could not be written: the path the caller named and the reason, in the system's
// words where the system gave one. The description is "The file <path> could not be written: <reason>".
class WriteFailure : public Failure {
public:
    WriteFailure(const QString &path, const QString &reason);
    const QString &path() const noexcept { return m_path; }
    const QString &reason() const noexcept { return m_reason; }

private:
    QString m_path;
    QString m_reason;
};

struct ReplaceOptions {
    // Flush the new file to disk before it takes the name, and the folder after it has.
    bool durable = true;
    // A link at the path: false replaces the link itself (files only this program writes, where a
    // planted link must never be followed); true writes into the folder of the link's final target
    // and replaces that target, so the link stays a link.
    bool followLink = false;
    // Permission bits of the new file; -1 keeps those of the file it replaces, or gives a new file
    // the usual bits for new files (0666 less the umask).
    int mode = 0600;
    // The system calls to make; null means the real ones.
    FileCalls *calls = nullptr;
    // When set, receives the status of the new file as it took the name (before the rename, which
    // changes only its change time).
    struct stat *written = nullptr;
    // A write-protected regular file of the user's own is replaced too, as `rm` removes one once
    // asked: for files the user named and agreed to overwrite. Other users' files stay refused.
    bool replaceOwnWriteProtected = false;
};

// Replaces the file at `path` with everything `source` delivers. The bytes go into a new file in
// the same folder that takes the name only when every write, the flush, the size check and the
// close have succeeded; otherwise the old file stays as it was, the new file is removed and
// WriteFailure is thrown. `expectedSize` (when not negative) is how many bytes the source must give.
// Something at the path that is not a regular file (a device, a pipe, a socket, a folder), and a
// file the user may not write, is never replaced: WriteFailure says so before anything is written.
// Every name the replacement makes fits wherever the target's name fits: the new file is made and
// renamed relative to the open folder, under a short name when the usual one would be too long.
void replaceFile(const QString &path, QIODevice &source, qint64 expectedSize, const ReplaceOptions &options = {});
void replaceFile(const QString &path, const QByteArray &bytes, const ReplaceOptions &options = {});
// The same for bytes given in pieces, written one after another as one file: a large block (a
// picture's pixels) goes to the file without first being copied behind its header.
void replaceFile(const QString &path, const std::vector<QByteArrayView> &pieces, const ReplaceOptions &options = {});

// The file a chain of symbolic links at `path` ends in (the path itself when it is no link).
// The end need not exist. Throws WriteFailure for a loop of links.
QString finalLinkTarget(const QString &path);

// The system's words for an errno value.
QString systemReason(int error);

// The reason replaceFile() gives for a path that holds something other than a regular file.
QString notARegularFileReason();
// The reason it gives for a file the user may not write, which it never replaces.
QString notWritableReason();
// What replaceFile() would refuse about the file already at `path` (after its links), checked
// before a question about replacing it: throws WriteFailure for something that is not a regular
// file or that the user may not write (unless it is the user's own and `ownWriteProtectedAllowed`).
// Nothing at the path is no refusal. True when the file is the user's own and write-protected,
// which the question should say.
bool checkReplaceable(const QString &path, bool ownWriteProtectedAllowed = false);

// The name pattern of the temporary files replaceFile() creates beside `fileName`:
// "." + file name + "." + six letters or digits (a name too long for that gets
// ".tenvoria-" + six letters or digits instead, which no other name's pattern matches).
// `nameMax` is the longest name the folder takes (longestNameIn()), as when the file was made.
bool isTemporaryFileOf(const QString &candidateName, const QString &fileName, long nameMax);
// The longest file name the folder's file system allows (NAME_MAX when it does not say).
long longestNameIn(const QString &folder);

} // namespace base
