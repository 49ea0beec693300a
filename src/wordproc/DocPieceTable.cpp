#include "DocPieceTable.h"

#include <algorithm>

namespace wordproc::doc {

namespace {

constexpr int kClxPrc = 0x01;
constexpr int kClxPcdt = 0x02;
constexpr int kPcdSize = 8;
constexpr std::uint32_t kFcCompressed = 0x40000000;

// Windows-1252 for the bytes 0x80-0x9F; 8-bit pieces use it, with Latin-1 elsewhere.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t fromCp1252(std::uint8_t byte)
{
    return byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : char16_t(byte);
}

} // namespace

QByteArray PieceTable::encodeSingleUnicodePiece(std::uint32_t textStart, std::int32_t ccp)
{
    ByteWriter out;
    out.u8(kClxPcdt);
    out.u32(4 * 2 + kPcdSize); // PlcPcd: two CPs and one piece descriptor
    out.u32(0);
    out.u32(std::uint32_t(ccp));
    out.u16(0);         // fNoParaLast and reserved bits
    out.u32(textStart); // fCompressed = 0: UTF-16 text at this byte offset
    out.u16(0);         // prm: no property modifier
    return out.data();
}

PieceTable PieceTable::decode(const ByteReader &tableStream, const FcLcb &clx)
{
    const ByteReader in(tableStream.slice(clx.fc, clx.lcb), QStringLiteral("the piece table"));
    qint64 at = 0;
    // Property modifiers for complex files come first; they are skipped.
    while (at < in.size() && in.u8(at) == kClxPrc) {
        const int size = in.i16(at + 1);
        if (size < 0)
            throwDamaged(QStringLiteral("the piece table has a negative size"));
        at += 3 + size;
    }
    if (in.u8(at) != kClxPcdt)
        throwDamaged(QStringLiteral("the piece table has the wrong form"));
    const std::uint32_t size = in.u32(at + 1);
    const ByteReader plc(in.slice(at + 5, size), QStringLiteral("the piece table"));
    if (plc.size() < 4 + kPcdSize || (plc.size() - 4) % (4 + kPcdSize) != 0)
        throwDamaged(QStringLiteral("the piece table has the wrong size"));
    const qint64 count = (plc.size() - 4) / (4 + kPcdSize);
    PieceTable table;
    for (qint64 i = 0; i < count; ++i) {
        Piece piece;
        piece.cpStart = plc.u32(4 * i);
        piece.cpEnd = plc.u32(4 * (i + 1));
        const std::uint32_t fc = plc.u32(4 * (count + 1) + kPcdSize * i + 2);
        piece.compressed = (fc & kFcCompressed) != 0;
        piece.fc = piece.compressed ? (fc & ~kFcCompressed) / 2 : fc;
        const qint64 expectedStart = table.m_pieces.empty() ? 0 : table.m_pieces.back().cpEnd;
        if (piece.cpStart != expectedStart || piece.cpEnd < piece.cpStart)
            throwDamaged(QStringLiteral("the piece table's character positions are out of order"));
        table.m_pieces.push_back(piece);
    }
    // Pieces never share bytes; sorted by file position they can be looked up quickly.
    table.m_byFilePosition.resize(table.m_pieces.size());
    for (size_t i = 0; i < table.m_pieces.size(); ++i)
        table.m_byFilePosition[i] = i;
    std::sort(table.m_byFilePosition.begin(), table.m_byFilePosition.end(),
              [&pieces = table.m_pieces](size_t a, size_t b) { return pieces[a].fc < pieces[b].fc; });
    for (size_t i = 1; i < table.m_byFilePosition.size(); ++i) {
        const Piece &before = table.m_pieces[table.m_byFilePosition[i - 1]];
        if (before.fc + before.byteLength() > table.m_pieces[table.m_byFilePosition[i]].fc)
            throwDamaged(QStringLiteral("two pieces of the text share bytes"));
    }
    return table;
}

QString PieceTable::text(const ByteReader &wordDocument, std::int32_t ccp) const
{
    if (m_pieces.empty() || m_pieces.back().cpEnd < ccp)
        throwDamaged(QStringLiteral("the piece table does not cover the text"));
    QString text;
    for (const Piece &piece : m_pieces) {
        if (piece.cpStart >= ccp)
            break;
        const qint64 count = std::min<qint64>(piece.cpEnd, ccp) - piece.cpStart;
        const QByteArray bytes = wordDocument.slice(piece.fc, count * piece.bytesPerCharacter());
        const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.constData());
        const qsizetype first = text.size();
        text.resize(first + count);
        QChar *out = text.data() + first;
        for (qint64 i = 0; i < count; ++i)
            out[i] = piece.compressed ? QChar(fromCp1252(data[i]))
                                      : QChar(char16_t(data[2 * i] | (data[2 * i + 1] << 8)));
    }
    return text;
}

std::vector<std::pair<qint64, qint64>> PieceTable::cpRangesOf(std::uint32_t fcStart, std::uint32_t fcEnd) const
{
    std::vector<std::pair<qint64, qint64>> ranges;
    // The first piece ending after fcStart, then every piece starting before fcEnd.
    auto index = std::partition_point(m_byFilePosition.begin(), m_byFilePosition.end(), [&](size_t i) {
        return m_pieces[i].fc + m_pieces[i].byteLength() <= qint64(fcStart);
    });
    for (; index != m_byFilePosition.end() && m_pieces[*index].fc < qint64(fcEnd); ++index) {
        const Piece &piece = m_pieces[*index];
        const qint64 width = piece.bytesPerCharacter();
        const qint64 pieceEnd = piece.fc + piece.byteLength();
        const qint64 from = std::max<qint64>(fcStart, piece.fc);
        const qint64 to = std::min<qint64>(fcEnd, pieceEnd);
        if (from >= to)
            continue;
        ranges.emplace_back(piece.cpStart + (from - piece.fc) / width,
                            piece.cpStart + (to - piece.fc + width - 1) / width);
    }
    return ranges;
}

} // namespace wordproc::doc
