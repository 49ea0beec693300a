#pragma once
#include <QByteArray>
#include <QString>

class QIODevice;

namespace form {

// Copies source to target byte for byte. The caller asks before replacing an existing file. The copy is written beside the target and takes the
// target's name only once it is complete and on disk, so an existing target is never lost:
// a copy that fails leaves it exactly as it was. Throws AppError saying what could not be done.
void copyFileReplacing(const QString &source, const QString &target);

// The same from an open device that must deliver exactly `size` bytes.
void copyReplacing(QIODevice &source, qint64 size, const QString &target);

// Throws AppError when something other than a regular file is at the target, or at the end of
// the links there (a device, a pipe, a socket or a folder is never saved over), or another user's
// file the user may not write. Nothing is written. True when the target is the user's own
// write-protected file: the copy replaces it (keeping it write-protected), so the question the
// user answers first should say so.
bool checkSaveTarget(const QString &target);

// The same for bytes made in memory (a PDF of the document).
void saveReplacing(const QByteArray &bytes, const QString &target);

} // namespace form
