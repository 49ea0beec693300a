#pragma once
// Run-level editing of one paragraph: the pieces the editor composes into typing, deleting and
// formatting. Offsets are UTF-16 code units into the paragraph's text. Every function leaves the
// paragraph's runs normalised: no empty runs, no two neighbours of equal format.
#include "wordproc/model/DocumentModel.h"

#include <functional>

namespace wordproc {

using FormatChange = std::function<void(CharFormat &)>;

int textLength(const Paragraph &paragraph);

// The format text typed at the offset takes when nothing else is pending: that of the character
// before it, at the start that of the first character, in an empty paragraph that of its mark.
CharFormat formatAt(const Paragraph &paragraph, int offset);

void insertText(Paragraph &paragraph, int offset, const QString &text, const CharFormat &format);
void removeText(Paragraph &paragraph, int from, int to);
void changeFormat(Paragraph &paragraph, int from, int to, const FormatChange &change);

// Splits the paragraph at the offset as a typed paragraph mark would. The paragraph keeps the text
// before the offset and ends with the new mark (markFormat); the returned tail keeps the original
// mark and the alignment.
Paragraph splitParagraph(Paragraph &paragraph, int offset, const CharFormat &markFormat);

// Appends the tail's runs to the paragraph; the paragraph then ends with the tail's mark.
void joinParagraph(Paragraph &paragraph, Paragraph &&tail);

void normaliseRuns(Paragraph &paragraph);

} // namespace wordproc
