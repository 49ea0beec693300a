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

// Generates the form for the record and writes, for each path given, the document, the page
// image as PNG and the pages as PDF (as the preview's save dialog writes it).
RenderResult renderRecord(const RecordSource &source, const QString &docPath, const QString &imagePath,
                          const QString &pdfPath = QString());

} // namespace tools
