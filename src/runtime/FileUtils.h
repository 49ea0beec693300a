#pragma once
#include <QImage>
#include <QString>

namespace runtime {

// True when the file system can tell the path's modification time; every failure counts as missing.
bool fileExists(const QString &path);

// Deletes a file without ever reporting. Lets pending window events run once first; when the
// ordinary removal fails, a second attempt makes the file writable and removes it again. A hold
// the run had on the file (HeldFiles) ends with it.
void deleteFileQuietly(const QString &path);

// Reads a picture from the clipboard, asking up to 1000 times in a row while another program
// holds it. Format 0 takes whatever picture the clipboard holds. A null image means none.
QImage clipboardPicture(int format);

// The folder that holds the executable, without a trailing separator.
QString programFolder();

} // namespace runtime
