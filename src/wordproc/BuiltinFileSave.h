#pragma once
#include <QByteArray>
#include <QString>

namespace wordproc {

// Writes the bytes as a file only its owner can read or write. The content goes to a new file
// beside the target first and then replaces the path in one rename, so a reader never sees half
// a file and a symbolic link planted at the path is replaced rather than followed. Throws
// shell::AppError naming the path when it cannot.
void writePrivateFile(const QString &path, const QByteArray &bytes);

} // namespace wordproc
