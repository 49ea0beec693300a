#pragma once
// The piece table (Clx, [MS-DOC] 2.9.38): where each stretch of the text lies in the
// WordDocument stream, as UTF-16 or as 8-bit (Windows-1252) characters. Character positions (CPs)
// count UTF-16 code units; file positions (FCs) count bytes.
#include "wordproc/msdoc/DocBytes.h"
#include "wordproc/msdoc/DocFib.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace wordproc::doc {

// The text as the writer stores it, the way Word does: long stretches of characters that
// Windows-1252 holds (with Word's mapping) as 8-bit ("compressed") pieces, the rest as UTF-16
// pieces. The pieces lie one after the other in character order from textStart (a multiple of
// 512), each but the last filling whole 512-byte blocks, so file positions grow with character
// positions and the formatting pages cover the text without gaps.
class TextPieces {
public:
    // Throws base::Failure when the text is too long for the format's 30-bit file positions.
    TextPieces(const QString &text, std::uint32_t textStart);

    const QByteArray &bytes() const { return m_bytes; }
    std::uint32_t start() const { return m_start; }
    std::uint32_t end() const { return m_start + std::uint32_t(m_bytes.size()); }
    // The file position of the character at cp; the text's length gives end().
    std::uint32_t fcOf(qsizetype cp) const;
    QByteArray encodeClx() const;

private:
    struct Span {
        qsizetype cpStart = 0, cpEnd = 0;
        std::uint32_t fc = 0;
        bool compressed = false;
    };
    std::uint32_t m_start = 0;
    std::vector<Span> m_spans;
    QByteArray m_bytes;
};

class PieceTable {
public:
    struct Piece {
        qint64 cpStart = 0, cpEnd = 0;
        qint64 fc = 0; // byte offset of the piece's first character
        bool compressed = false;
        qint64 bytesPerCharacter() const { return compressed ? 1 : 2; }
        qint64 byteLength() const { return (cpEnd - cpStart) * bytesPerCharacter(); }
    };

    static PieceTable decode(const ByteReader &tableStream, const FcLcb &clx);
    const std::vector<Piece> &pieces() const { return m_pieces; }

    // The first ccp characters. Throws base::Failure when the pieces do not cover them or
    // point outside the WordDocument stream.
    QString text(const ByteReader &wordDocument, std::int32_t ccp) const;

    // The CP ranges whose bytes lie in [fcStart, fcEnd).
    std::vector<std::pair<qint64, qint64>> cpRangesOf(std::uint32_t fcStart, std::uint32_t fcEnd) const;

private:
    std::vector<Piece> m_pieces;        // in CP order
    std::vector<size_t> m_byFilePosition; // indexes into m_pieces in FC order
};

} // namespace wordproc::doc
