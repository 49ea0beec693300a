#pragma once
#include "form/FormDocument.h"
#include "preview/DocumentPages.h"

#include <optional>

namespace app {

// The preview's pages, from the one form document the preview shows: the document a run handed
// over, held until the next hand-over. A call for another file (none was handed over, or the
// engine was not the built-in one) reads that file once and holds it in its place.
class FormPages final : public preview::DocumentPages {
public:
    // The document the file at `wordFile` holds, already read.
    void hold(const QString &wordFile, form::FormDocument document);

    void setUpPaper(const QString &wordFile, QPagedPaintDevice &device) override;
    void draw(const QString &wordFile, QPagedPaintDevice &device) override;
    QByteArray pdf(const QString &wordFile) override;
    QString readingText(const QString &wordFile) override;

private:
    const form::FormDocument &documentOf(const QString &wordFile);

    QString m_wordFile;
    std::optional<form::FormDocument> m_document;
};

} // namespace app
