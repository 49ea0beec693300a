#pragma once
#include <QString>
#include <QStringList>

namespace tools {

struct RenderResult {
    QStringList problems; // every error report of the run, and any failure to write the outputs
};

struct RecordSource {
    QString settingsFile; // empty: the current user's store
    bool sample = false;  // the example record instead of any store
};

// Generates the form for the record and writes the document to `docPath` and, when given, the
// page image to `imagePath` as PNG.
RenderResult renderRecord(const RecordSource &source, const QString &docPath, const QString &imagePath);

} // namespace tools
