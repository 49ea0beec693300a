#pragma once
// The rental application form as a document: built once from a record, or read once from the
// file a run saved, and then shared by everything that shows it. Windowless: Qt Core and Qt Gui.
#include <QByteArray>
#include <QString>

#include "record/FormLanguage.h"

#include <memory>

class QPagedPaintDevice;

namespace record {
class RecordValues;
}
namespace wordproc {
struct Document;
struct StoredDocument;
} // namespace wordproc

namespace form {

// The form's title in a language: the PDF's document title and the fillable PDF's.
QString title(record::FormLanguage language = record::FormLanguage::English);

// The form as stored: its Word 97-2003 bytes and the document those bytes decode to, each held
// once. Copies share them (a copy is a handle, as a shared pointer is), so the preview, the
// printer, a PDF and a screen reader's text all come from one decoding. Never empty.
class FormDocument {
public:
    // What the engine read back from a file, held as it is.
    explicit FormDocument(std::shared_ptr<const wordproc::StoredDocument> stored);

    // The file read once and decoded once. Throws base::Failure naming the file and the cause.
    static FormDocument read(const QString &path);
    // The bytes decoded once. Throws base::Failure when they are not a document we wrote.
    static FormDocument fromBytes(QByteArray docBytes);

    const QByteArray &docBytes() const;
    const wordproc::Document &document() const;

    // Gives the device the document's paper: size, orientation, no margins of its own.
    void setUpPaper(QPagedPaintDevice &device) const;
    // Draws every page as vector graphics onto the device.
    void draw(QPagedPaintDevice &device) const;
    // The words of the document's title row, in whichever language it was built.
    QString title() const;
    // The pages as a PDF file's bytes, titled with the document's title.
    QByteArray pdf() const;
    // The text in reading order, for screen readers: each paragraph on a line of its own, tables
    // row by row and cell by cell, empty ones left out.
    QString readingText() const;

private:
    std::shared_ptr<const wordproc::StoredDocument> m_stored;
};

// Builds the form of `record` with the built-in engine (the generator's steps without its
// temporary files) and reads the encoded bytes back once, so that what is drawn is what is stored.
// The generator's reports during the build become the failure. Throws base::Failure.
FormDocument build(const record::RecordValues &record);

} // namespace form
