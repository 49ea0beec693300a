#include "WordFilePages.h"

#include "wordproc/msdoc/DocReader.h"
#include "wordproc/layout/PrintedPages.h"

#include <QStringList>

#include <variant>

namespace app {
namespace {
void addParagraphs(const std::vector<wordproc::Paragraph> &paragraphs, QStringList &lines)
{
    for (const wordproc::Paragraph &paragraph : paragraphs)
        if (const QString text = paragraph.text().trimmed(); !text.isEmpty())
            lines.append(text);
}
} // namespace

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

QString WordFilePages::readingText(const QString &wordFile)
{
    const wordproc::Document document = wordproc::readDoc(wordFile);
    QStringList lines;
    for (const wordproc::Block &block : document.body) {
        if (const auto *paragraph = std::get_if<wordproc::Paragraph>(&block)) {
            addParagraphs({*paragraph}, lines);
            continue;
        }
        for (const wordproc::Row &row : std::get<wordproc::Table>(block).rows)
            for (const wordproc::Cell &cell : row.cells)
                addParagraphs(cell.paragraphs, lines);
    }
    return lines.join(u'\n');
}

} // namespace app
