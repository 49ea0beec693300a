#pragma once
#include <QImage>
#include <QString>

#include <functional>

namespace generator {

// The temporary folder: TEMP, or the platform's temporary folder when TEMP is unset or empty.
QString temporaryFolder();

// "qarvel" + eight digits 1 to 9 + ".doc".
QString temporaryDocumentName(const std::function<int()> &digit);

// Claims a free temporary document path in `folder` by creating the file exclusively, readable
// by its owner only, so no other program can make us overwrite a file. Names that are taken are
// drawn again. Throws shell::AppError when the folder refuses new files.
QString claimTemporaryDocument(const QString &folder, const std::function<int()> &digit);

// The page image file of a run: folder + "/temp.bmp".
QString pageImagePath(const QString &folder);

// Writes the picture as a BMP readable only by its owner. A link planted at the path is replaced,
// never followed. Throws shell::AppError on failure or for an empty picture.
void writePageImage(const QImage &picture, const QString &path);

// Reads the page image back; throws shell::AppError when it cannot.
QImage loadPageImage(const QString &path);

// A digit 1 to 9 from the system's random source.
int randomDigit();

} // namespace generator
