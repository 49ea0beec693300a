#pragma once
#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

namespace preview {

// The pages of a Word file on paper, as the word processor lays them out. The preview asks for
// them to print and to save a PDF; the program supplies the word processor behind this.
class DocumentPages {
public:
    virtual ~DocumentPages() = default;
    // Gives the device the document's paper (size, orientation, no margins of its own).
    virtual void setUpPaper(const QString &wordFile, QPagedPaintDevice &device) = 0;
    // Draws every page of the document as vector graphics onto the device.
    virtual void draw(const QString &wordFile, QPagedPaintDevice &device) = 0;
    // The document's pages as a PDF file's bytes.
    virtual QByteArray pdf(const QString &wordFile) = 0;
};

// The PDF's document title.
inline QString pdfTitle() { return QStringLiteral("Rental Application"); }

} // namespace preview
