#include "FormPages.h"

namespace app {

void FormPages::hold(const QString &wordFile, form::FormDocument document)
{
    m_wordFile = wordFile;
    m_document = std::move(document);
}

const form::FormDocument &FormPages::documentOf(const QString &wordFile)
{
    if (!m_document || wordFile != m_wordFile)
        hold(wordFile, form::FormDocument::read(wordFile));
    return *m_document;
}

void FormPages::setUpPaper(const QString &wordFile, QPagedPaintDevice &device) { documentOf(wordFile).setUpPaper(device); }
void FormPages::draw(const QString &wordFile, QPagedPaintDevice &device) { documentOf(wordFile).draw(device); }
QByteArray FormPages::pdf(const QString &wordFile) { return documentOf(wordFile).pdf(); }
QString FormPages::readingText(const QString &wordFile) { return documentOf(wordFile).readingText(); }

} // namespace app
