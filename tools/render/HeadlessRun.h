#pragma once
#include <QString>
#include <QStringList>

namespace tools {

struct RenderResult {
    QStringList problems; // every error report of the run, and any failure to write the outputs
};

// Generates the form for the record stored in `settingsFile` (empty: the user's store) and
// writes the document to `docPath` and, when given, the page image to `imagePath` as PNG.
RenderResult renderRecord(const QString &settingsFile, const QString &docPath, const QString &imagePath);

} // namespace tools
