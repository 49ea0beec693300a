#pragma once
#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

namespace preview {

// The pages of a Word file on paper, as the word processor lays them out. The preview asks for
// them to print, to save a PDF and to read the page aloud; the program supplies the word processor behind this.
class DocumentPages {
public:
    virtual ~DocumentPages() = default;
    // Gives the device the document's paper (size, orientation, no margins of its own).
    virtual void setUpPaper(const QString &wordFile, QPagedPaintDevice &device) = 0;
    // Draws every page of the document as vector graphics onto the device.
    virtual void draw(const QString &wordFile, QPagedPaintDevice &device) = 0;
    // The document's pages as a PDF file's bytes.
    virtual QByteArray pdf(const QString &wordFile) = 0;
    // The document's text in reading order, for screen readers: each paragraph on a line of its
    // own, tables row by row and cell by cell, empty ones left out.
    virtual QString readingText(const QString &wordFile) = 0;
};

} // namespace preview
