#include "wordproc/msdoc/DocPieceTable.h"

#include "base/Failure.h"

#include <algorithm>
#include <optional>

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

// A compressed piece's fc holds twice its byte offset in 30 bits; the writer keeps all text below.
constexpr std::uint32_t kMaxCompressedOffset = (std::uint32_t(1) << 29) - 1;
// Every piece but the last fills whole 512-byte blocks. antiword rounds each piece of a Word 97
// file up to whole blocks (Word lays its pieces out that way), and catdoc, which ignores the
// pieces and guesses per 256 bytes whether text is UTF-16, then never sees two kinds in one
// guess. It also keeps the piece count low when the script changes every few characters.
constexpr qsizetype kPieceBlock = 512;

char16_t fromCp1252(std::uint8_t byte)
{
    return byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : char16_t(byte);
}

// Whether Word's 8-bit pieces use a byte of 0x80-0x9F: its table lacks the euro sign and Z and z
// with caron (later additions to Windows-1252) and the bytes Windows-1252 leaves undefined.
bool wordUsesHighByte(int byte)
{
    return byte >= 0x82 && byte != 0x8D && byte != 0x8E && byte != 0x8F && byte != 0x90 && byte != 0x9D
           && byte != 0x9E;
}

// The byte an 8-bit piece stores a character as; characters without one go into UTF-16 pieces.
std::optional<std::uint8_t> toCompressed(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return std::uint8_t(c);
    for (int byte = 0x80; byte <= 0x9F; ++byte)
        if (wordUsesHighByte(byte) && kCp1252High[byte - 0x80] == c)
            return std::uint8_t(byte);
    return std::nullopt;
}

struct Stretch {
    qsizetype start = 0, end = 0;
    bool compressed = false;
    qsizetype size() const { return end - start; }
};

// Maximal stretches of 8-bit and of other characters.
std::vector<Stretch> classify(const QString &text)
{
    std::vector<Stretch> stretches;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool compressed = toCompressed(text.at(i).unicode()).has_value();
        if (stretches.empty() || stretches.back().compressed != compressed)
            stretches.push_back({i, i, compressed});
        stretches.back().end = i + 1;
    }
    return stretches;
}

// Moves piece boundaries so that every piece but the last is a whole number of blocks. Any
// character can move into a UTF-16 piece, so 8-bit stretches give characters to their UTF-16
// neighbours, and 8-bit stretches too short to fill a block become UTF-16.
std::vector<Stretch> planPieces(const QString &text)
{
    const std::vector<Stretch> stretches = classify(text);
    std::vector<Stretch> pieces;
    if (stretches.empty())
        return pieces;
    Stretch current = stretches.front();
    for (size_t i = 1; i < stretches.size(); ++i) {
        const Stretch &next = stretches[i];
        if (current.compressed == next.compressed) {
            current.end = next.end;
        } else if (current.compressed) {
            const qsizetype kept = current.size() - current.size() % kPieceBlock;
            if (kept > 0)
                pieces.push_back({current.start, current.start + kept, true});
            current = {current.start + kept, next.end, false};
        } else {
            // The 8-bit rest must fill a block of its own unless it ends the text.
            const qsizetype missing = (kPieceBlock / 2 - current.size() % (kPieceBlock / 2)) % (kPieceBlock / 2);
            const qsizetype rest = next.size() - missing;
            if (rest >= kPieceBlock || (i + 1 == stretches.size() && rest > 0)) {
                pieces.push_back({current.start, current.end + missing, false});
                current = {current.end + missing, next.end, true};
            } else {
                current.end = next.end;
            }
        }
    }
    pieces.push_back(current);
    return pieces;
}

} // namespace

TextPieces::TextPieces(const QString &text, std::uint32_t textStart) : m_start(textStart)
{
    ByteWriter out;
    for (const Stretch &stretch : planPieces(text)) {
        const std::uint32_t fc = textStart + std::uint32_t(out.size());
        if (qint64(fc) + stretch.size() * (stretch.compressed ? 1 : 2) > kMaxCompressedOffset)
            throw base::Failure(QStringLiteral("The document cannot be saved as a Word file: its text is too long."));
        m_spans.push_back({stretch.start, stretch.end, fc, stretch.compressed});
        for (qsizetype i = stretch.start; i < stretch.end; ++i) {
            const char16_t c = text.at(i).unicode();
            if (stretch.compressed)
                out.u8(*toCompressed(c));
            else
                out.u16(c);
        }
    }
    m_bytes = out.data();
}

std::uint32_t TextPieces::fcOf(qsizetype cp) const
{
    // The last piece starting at or before cp.
    const auto after = std::upper_bound(m_spans.begin(), m_spans.end(), cp,
                                        [](qsizetype value, const Span &span) { return value < span.cpStart; });
    if (after == m_spans.begin())
        return m_start;
    const Span &span = *std::prev(after);
    return span.fc + std::uint32_t(cp - span.cpStart) * (span.compressed ? 1 : 2);
}

QByteArray TextPieces::encodeClx() const
{
    ByteWriter out;
    out.u8(kClxPcdt);
    out.u32(std::uint32_t(4 * (m_spans.size() + 1) + kPcdSize * m_spans.size())); // PlcPcd
    for (const Span &span : m_spans)
        out.u32(std::uint32_t(span.cpStart));
    out.u32(std::uint32_t(m_spans.empty() ? 0 : m_spans.back().cpEnd));
    for (const Span &span : m_spans) {
        out.u16(0); // fNoParaLast and reserved bits
        out.u32(span.compressed ? (2 * span.fc) | kFcCompressed : span.fc);
        out.u16(0); // prm: no property modifier
    }
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
