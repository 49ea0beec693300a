#pragma once
// The piece table (Clx, [MS-DOC] 2.9.38): where each stretch of the text lies in the
// WordDocument stream, as UTF-16 or as 8-bit (Windows-1252) characters. Character positions (CPs)
// count UTF-16 code units; file positions (FCs) count bytes.
#include "DocBytes.h"
#include "DocFib.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace wordproc::doc {

class PieceTable {
public:
    // A Clx with one UTF-16 piece of ccp characters starting at textStart.
    static QByteArray encodeSingleUnicodePiece(std::uint32_t textStart, std::int32_t ccp);
    static PieceTable decode(const ByteReader &tableStream, const FcLcb &clx);

    // The first ccp characters. Throws shell::AppError when the pieces do not cover them or
    // point outside the WordDocument stream.
    QString text(const ByteReader &wordDocument, std::int32_t ccp) const;

    // The CP ranges whose bytes lie in [fcStart, fcEnd).
    std::vector<std::pair<qint64, qint64>> cpRangesOf(std::uint32_t fcStart, std::uint32_t fcEnd) const;

private:
    struct Piece {
        qint64 cpStart = 0, cpEnd = 0;
        qint64 fc = 0; // byte offset of the piece's first character
        bool compressed = false;
        qint64 bytesPerCharacter() const { return compressed ? 1 : 2; }
        qint64 byteLength() const { return (cpEnd - cpStart) * bytesPerCharacter(); }
    };
    std::vector<Piece> m_pieces;        // in CP order
    std::vector<size_t> m_byFilePosition; // indexes into m_pieces in FC order
};

} // namespace wordproc::doc
