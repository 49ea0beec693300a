#include "wordproc/editing/EditorText.h"

#include <algorithm>
#include <iterator>

namespace wordproc {
namespace {

// Makes a run boundary at the offset; answers the index of the first run at or after it.
std::size_t boundaryAt(Paragraph &paragraph, int offset)
{
    int start = 0;
    for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
        Run &run = paragraph.runs[i];
        const int length = int(run.text.size());
        if (offset <= start)
            return i;
        if (offset < start + length) {
            Run tail{run.text.mid(offset - start), run.format};
            run.text.truncate(offset - start);
            paragraph.runs.insert(paragraph.runs.begin() + std::ptrdiff_t(i) + 1, std::move(tail));
            return i + 1;
        }
        start += length;
    }
    return paragraph.runs.size();
}

} // namespace

int textLength(const Paragraph &paragraph)
{
    int length = 0;
    for (const Run &run : paragraph.runs)
        length += int(run.text.size());
    return length;
}

CharFormat formatAt(const Paragraph &paragraph, int offset)
{
    if (paragraph.runs.empty())
        return paragraph.markFormat;
    int start = 0;
    for (const Run &run : paragraph.runs) {
        start += int(run.text.size());
        if (offset <= start)
            return run.format;
    }
    return paragraph.runs.back().format;
}

void normaliseRuns(Paragraph &paragraph)
{
    std::vector<Run> merged;
    merged.reserve(paragraph.runs.size());
    for (Run &run : paragraph.runs) {
        if (run.text.isEmpty())
            continue;
        if (!merged.empty() && merged.back().format == run.format)
            merged.back().text += run.text;
        else
            merged.push_back(std::move(run));
    }
    paragraph.runs = std::move(merged);
}

void insertText(Paragraph &paragraph, int offset, const QString &text, const CharFormat &format)
{
    if (text.isEmpty())
        return;
    const std::size_t at = boundaryAt(paragraph, offset);
    paragraph.runs.insert(paragraph.runs.begin() + std::ptrdiff_t(at), Run{text, format});
    normaliseRuns(paragraph);
}

void removeText(Paragraph &paragraph, int from, int to)
{
    if (to <= from)
        return;
    const std::size_t first = boundaryAt(paragraph, from);
    const std::size_t end = boundaryAt(paragraph, to);
    paragraph.runs.erase(paragraph.runs.begin() + std::ptrdiff_t(first), paragraph.runs.begin() + std::ptrdiff_t(end));
    normaliseRuns(paragraph);
}

void changeFormat(Paragraph &paragraph, int from, int to, const FormatChange &change)
{
    if (to <= from)
        return;
    const std::size_t first = boundaryAt(paragraph, from);
    const std::size_t end = boundaryAt(paragraph, to);
    for (std::size_t i = first; i < end; ++i)
        change(paragraph.runs[i].format);
    normaliseRuns(paragraph);
}

Paragraph splitParagraph(Paragraph &paragraph, int offset, const CharFormat &markFormat)
{
    const std::size_t at = boundaryAt(paragraph, offset);
    Paragraph tail;
    tail.runs.assign(std::make_move_iterator(paragraph.runs.begin() + std::ptrdiff_t(at)),
                     std::make_move_iterator(paragraph.runs.end()));
    paragraph.runs.erase(paragraph.runs.begin() + std::ptrdiff_t(at), paragraph.runs.end());
    tail.markFormat = paragraph.markFormat;
    tail.alignment = paragraph.alignment;
    paragraph.markFormat = markFormat;
    return tail;
}

void joinParagraph(Paragraph &paragraph, Paragraph &&tail)
{
    std::move(tail.runs.begin(), tail.runs.end(), std::back_inserter(paragraph.runs));
    paragraph.markFormat = tail.markFormat;
    normaliseRuns(paragraph);
}

} // namespace wordproc
