#pragma once
#include <QString>

namespace shell {

// The program's name: the main and preview windows' caption, the settings section and the
// source of the application title.
inline constexpr char kProductName[] = "Tenvoria";

// The title of every message box that names none of its own: the product name cut before its
// last space, again while longer than 40 characters, at least once. A name without a space
// (which has nothing to cut) is its own title.
QString deriveApplicationTitle(const QString &productName);

} // namespace shell
