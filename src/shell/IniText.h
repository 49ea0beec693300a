#pragma once
#include <QByteArray>
#include <QMap>
#include <QString>

namespace shell {

// Writes "Section/Key" -> value pairs as an INI file that QSettings reads back to exactly the same
// strings. QSettings' own writer converts every character separately, which makes a 1 MB value
// cost tens of milliseconds on each keystroke; this one copies plain runs in one go.
QByteArray encodeIniText(const QMap<QString, QString> &values);

} // namespace shell
