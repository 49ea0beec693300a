#pragma once
// Character formats as property lists (CHPX grpprl): font, size in half points, bold, colour.
// Font, size and bold are written twice, the second time for complex-script text, so that
// Arabic, Hebrew or Devanagari show in the run's font and size rather than a reader's default.
#include "wordproc/msdoc/DocFonts.h"
#include "wordproc/model/DocumentModel.h"

#include <QByteArray>

namespace wordproc::doc {

// The font must be in the table already. Automatic colour writes no colour at all.
QByteArray encodeCharacterSprms(const CharFormat &format, const FontTable &fonts);

// Applies the character sprms of a list on top of format; other sprms are skipped.
void applyCharacterSprms(const QByteArray &grpprl, CharFormat &format, const FontTable &fonts);

} // namespace wordproc::doc
