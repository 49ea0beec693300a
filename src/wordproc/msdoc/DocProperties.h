#pragma once
// The streams beside a .doc file's text that Word 97-2003 always writes: the summary property sets
// that file managers and File > Properties show ([MS-OLEPS]), and the CompObj stream that names
// the file's type ([MS-OLEDS] 2.3.8).
#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>

namespace wordproc::doc {

struct DocumentProperties {
    QString title;           // Latin-1 text; other characters become '?'
    QString application;     // the creating application with its version
    std::uint32_t applicationVersion = 0; // major << 16 | minor
    QDateTime created;       // also the time it was last saved
    int pages = 1;
};

// The stream names, each starting with its control character.
QString summaryInformationName();          // "\005SummaryInformation"
QString documentSummaryInformationName();  // "\005DocumentSummaryInformation"
QString compObjName();                     // "\001CompObj"

QByteArray encodeSummaryInformation(const DocumentProperties &properties);
QByteArray encodeDocumentSummaryInformation(const DocumentProperties &properties);
QByteArray encodeCompObj();

} // namespace wordproc::doc
