#include "wordproc/model/DocumentModel.h"

namespace wordproc {

QString Paragraph::text() const
{
    QString all;
    for (const Run &run : runs)
        all += run.text;
    return all;
}

int Table::widthTwips() const
{
    int widest = 0;
    for (const Row &row : rows) {
        int width = 0;
        for (const Cell &cell : row.cells)
            width += cell.widthTwips;
        widest = std::max(widest, width);
    }
    return widest;
}

QString sanitizeUserText(const QString &text)
{
    QString clean = text;
    const qsizetype n = clean.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = clean.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(clean.at(i + 1).unicode())) {
            ++i; // a valid pair: any supplementary character (emoji, rare CJK) is kept
            continue;
        }
        const bool control = (c < 0x20 && c != u'\t') || c == 0x7F;
        // Unicode's own line breaks would break the line in a layout (and a row would grow); a
        // field's text is one line, as with CR and LF.
        const bool lineBreak = c == 0x0085 || c == 0x2028 || c == 0x2029;
        const bool notText = QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF;
        if (control || lineBreak || notText)
            clean[i] = QLatin1Char(' ');
    }
    return clean;
}

} // namespace wordproc
