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
// by its owner only, so no other program can make us overwrite a file, and holds it (runtime::holdFile)
// until it is deleted. Names that are taken are drawn again. Throws runtime::AppError when the
// folder refuses new files.
QString claimTemporaryDocument(const QString &folder, const std::function<int()> &digit);

// The page image file of a run: folder + "/temp.bmp".
QString pageImagePath(const QString &folder);

// Writes the picture as a BMP readable only by its owner. A link planted at the path is replaced,
// never followed. The file is held (runtime::holdFile) until it is deleted. Throws runtime::AppError on
// failure or for an empty picture.
void writePageImage(const QImage &picture, const QString &path);

// Deletes the temporary documents of this user in `folder` that no running copy holds: what runs
// that were killed left behind. Returns how many were deleted.
int removeAbandonedDocuments(const QString &folder);

// Reads the page image back; throws runtime::AppError when it cannot.
QImage loadPageImage(const QString &path);

// A digit 1 to 9 from the system's random source.
int randomDigit();

} // namespace generator
