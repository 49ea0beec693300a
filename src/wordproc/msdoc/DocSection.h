#pragma once
// Page setup as the .doc format keeps it: the section's property list (Sepx, [MS-DOC] 2.6.4)
// for page size, margins and section options, and the document properties (Dop97, 2.7.4) for
// the settings that belong to the whole document.
#include "wordproc/model/DocumentModel.h"

#include <QByteArray>

namespace wordproc::doc {

inline constexpr int kDopSize = 500; // Dop97

// Throws base::Failure for settings a Word 97-2003 file cannot carry.
QByteArray encodeSectionSprms(const PageSetup &page);
QByteArray encodeDop(const PageSetup &page);

void applySectionSprms(const QByteArray &grpprl, PageSetup &page);
void applyDop(const QByteArray &dop, PageSetup &page);

} // namespace wordproc::doc
