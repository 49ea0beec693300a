#pragma once
// Formatted disk pages ([MS-DOC] 2.9.33 ChpxFkp, 2.9.174 PapxFkp): 512-byte pages that map
// ranges of text bytes (file character positions, FCs) to character or paragraph properties,
// and the bin tables (PlcBteChpx, PlcBtePapx) that list the pages.
#include "wordproc/msdoc/DocBytes.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace wordproc::doc {

enum class FkpKind { Character, Paragraph };

// One range of text bytes with its properties: a CHPX grpprl, or a PAPX (istd then grpprl).
struct FkpRun {
    std::uint32_t fcStart = 0;
    std::uint32_t fcEnd = 0;
    QByteArray properties;
};

// The largest PAPX a page can hold; a longer one goes to the Data stream (sprmPHugePapx).
inline constexpr int kMaxPapxInPage = 480;

struct PackedPages {
    QByteArray pages;         // whole 512-byte pages
    QByteArray binTable;      // PlcBteChpx / PlcBtePapx
};

// Packs contiguous runs into as few pages as their sizes allow. firstPage: the page number
// (offset / 512 in the WordDocument stream) the first page will have.
PackedPages packFkps(FkpKind kind, const std::vector<FkpRun> &runs, std::uint32_t firstPage);

// Reads every run of the pages listed in a bin table, checking every offset and count.
std::vector<FkpRun> readFkps(FkpKind kind, const ByteReader &wordDocument, const ByteReader &tableStream,
                             std::uint32_t fcBinTable, std::uint32_t lcbBinTable);

} // namespace wordproc::doc
