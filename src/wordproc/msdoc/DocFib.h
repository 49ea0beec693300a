#pragma once
// The File Information Block at the start of the WordDocument stream ([MS-DOC] 2.5): where the
// text is and where each structure lies in the table stream.
#include "wordproc/msdoc/DocBytes.h"

#include <QByteArray>

#include <cstdint>

namespace wordproc::doc {

struct FcLcb {
    std::uint32_t fc = 0;  // offset in the table stream
    std::uint32_t lcb = 0; // size in bytes
};

struct Fib {
    std::uint32_t textStart = 0; // offsets of the text in the WordDocument stream
    std::uint32_t textEnd = 0;
    std::uint32_t wordDocumentSize = 0;
    std::int32_t ccpText = 0;    // characters (UTF-16 code units) of the main text
    bool tableStreamIsOne = true; // 1Table rather than 0Table
    FcLcb styleSheet, sectionTable, characterBins, paragraphBins, fontTable, documentProperties, pieceTable;

    QByteArray encode() const; // kSize bytes
    // Checks the identification, version and encryption; throws base::Failure with the reason.
    static Fib decode(const ByteReader &wordDocument);
};

} // namespace wordproc::doc
