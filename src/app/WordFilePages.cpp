#include "WordFilePages.h"

#include "wordproc/msdoc/DocReader.h"
#include "wordproc/layout/PrintedPages.h"

namespace app {

void WordFilePages::setUpPaper(const QString &wordFile, QPagedPaintDevice &device)
{
    wordproc::setUpPaper(wordproc::readDoc(wordFile).page, device);
}

void WordFilePages::draw(const QString &wordFile, QPagedPaintDevice &device)
{
    wordproc::drawPages(wordproc::readDoc(wordFile), device);
}

QByteArray WordFilePages::pdf(const QString &wordFile)
{
    return wordproc::pdfOf(wordproc::readDoc(wordFile), preview::pdfTitle());
}

} // namespace app
