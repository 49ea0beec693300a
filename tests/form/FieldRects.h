#pragma once
// Where a PDF's form fields stand, read with qpdf. Kept apart from the tests that use it: qpdf's
// headers compile only as C++17 under clang, and the record's headers need C++20.
#include <QMap>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace testsupport {

// The rectangles of the named fields of the PDF at `file`, in points from the page's top left
// (a US Letter page), by fully qualified name. Names the file lacks are left out.
QMap<QString, QRectF> fieldRects(const QString &file, const QStringList &names);

} // namespace testsupport
