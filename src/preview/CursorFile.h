#pragma once
#include <QCursor>
#include <QString>
#include <optional>

namespace preview {

// Reads a Windows cursor file (.cur): Qt's icon reader decodes the picture, the hot spot is
// taken from the file's directory entry. Nothing when the file is missing or unreadable.
std::optional<QCursor> loadCursorFile(const QString &path);

} // namespace preview
