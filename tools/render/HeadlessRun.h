#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace wordproc {
struct Document;
}

#include "compare/ComparisonExport.h"
#include "pdfform/FormLayer.h"
#include "record/LockedFile.h"
#include "record/FormLanguage.h"

namespace tools {

// The document's page picture (192 dpi) as PNG: the bytes of encodePagePng(renderContent()).
QByteArray pagePngOf(const wordproc::Document &document);
// The same written to `path` as it is made, as base::writeFilePrivately writes a file. Throws
// base::Failure.
void writePagePng(const wordproc::Document &document, const QString &path);

struct RenderResult {
    QStringList problems; // every error report of the run, and any failure to write the outputs
};

// The passphrase in `file` ("-": standard input), without its line end. Throws base::Failure for a
// file that cannot be read or holds an empty passphrase.
QString readPassphrase(const QString &file);

// The passphrase a run was given in a file ("-": standard input), read at its first use and kept
// for the next: standard input gives it only once, and a locked record copied locked, or a form
// written as .doc and as fillable PDF, use it twice. Never the command line, which others can read.
class PassphraseFile {
public:
    explicit PassphraseFile(const QString &file) : m_file(file) {}
    // Throws base::Failure as readPassphrase() does.
    const record::Passphrase &passphrase();

private:
    QString m_file;
    std::optional<record::Passphrase> m_held;
};

// Where a run's record comes from. A file is read as the window opens an applicant file: one that
// is no record (not text, without the program's section, a locked file damaged or cut short, a
// FIFO) is refused with the reason, never taken for a blank record. The current user's store that
// is not there yet is the blank record.
struct RecordSource {
    QString settingsFile; // empty: the current user's store
    bool sample = false;  // the example record instead of any store
    // Opens a locked settings file, and locks the applicant file written; null when none was given.
    std::shared_ptr<PassphraseFile> passphrase;
    // The form's words when given (--form-language); else the record's own form language.
    std::optional<record::FormLanguage> language;
};

// Generates the form for the record and writes, for each path given, the document, the page
// image as PNG and the pages as PDF (as the preview's save dialog writes it). `beforeFonts` runs
// before the first text is measured or drawn, which the document alone never needs.
RenderResult renderRecord(const RecordSource &source, const QString &docPath, const QString &imagePath,
                          const QString &pdfPath = QString(), const std::function<void()> &beforeFonts = {});

// Writes the form as a fillable PDF: blank fields, or the record's values. Returns the problems.
QStringList writeFillablePdf(const RecordSource &source, bool blank, const QString &pdfPath);

// Reads a filled copy of the fillable PDF and writes the record it gives as a settings file (the
// store's [Tenvoria] section), owner-only. An existing file is read first and keeps its other
// sections; one that cannot be read, or holds what would not be written back, is left alone.
struct ImportRun {
    pdfform::FilledValues imported;
    QStringList problems; // why nothing was written
};
ImportRun importFilledPdf(const QString &pdfPath, const QString &recordPath);

// Compares the applicant files of a folder and writes the comparison as PDF and/or CSV (each path
// that is not empty). The folder's files that cannot be read are rows with their reason, not
// problems. Returns the problems: a folder that cannot be listed, an output that cannot be written.
QStringList compareApplicants(const QString &folder, const compare::Terms &terms, const QString &pdfPath,
                              const QString &csvPath);

// Writes the source's record as an applicant file, locked with the source's passphrase when it
// names a passphrase file. Returns the problems.
QStringList saveApplicant(const RecordSource &source, const QString &applicantPath);

} // namespace tools
