#include "PagePng.h"

#include "runtime/AppError.h"

#include <QtEndian>

#include <zlib.h>

#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace tools {

namespace {

constexpr int kMaxDistance = 32768; // the deflate window
constexpr int kMaxMatch = 258;
constexpr int kMinMatch = 3;

struct Code {
    std::uint32_t bits = 0; // already in the order the bit writer sends them
    int length = 0;
};

std::uint32_t reversed(std::uint32_t code, int length)
{
    std::uint32_t out = 0;
    for (int i = 0; i < length; ++i, code >>= 1)
        out = (out << 1) | (code & 1);
    return out;
}

// The fixed Huffman codes of deflate (RFC 1951, 3.2.6) and the length and distance tables.
struct FixedCodes {
    std::array<Code, 288> symbol;
    std::array<Code, kMaxMatch + 1> length; // code and extra bits of each match length 3..258

    FixedCodes()
    {
        for (int s = 0; s < 288; ++s) {
            std::uint32_t code;
            int bits;
            if (s <= 143) { code = 0x30 + s; bits = 8; }
            else if (s <= 255) { code = 0x190 + (s - 144); bits = 9; }
            else if (s <= 279) { code = s - 256; bits = 7; }
            else { code = 0xC0 + (s - 280); bits = 8; }
            symbol[s] = {reversed(code, bits), bits};
        }
        static constexpr int base[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static constexpr int extra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                        2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        for (int len = kMinMatch; len <= kMaxMatch; ++len) {
            int i = 28;
            while (base[i] > len)
                --i;
            const Code &c = symbol[257 + i];
            length[len] = {c.bits | (std::uint32_t(len - base[i]) << c.length), c.length + extra[i]};
        }
    }

    static Code distance(int distance)
    {
        static constexpr int base[] = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,
                                       33,   49,   65,   97,   129,  193,   257,   385,   513,   769,
                                       1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
        static constexpr int extra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
        int i = 29;
        while (base[i] > distance)
            --i;
        return {reversed(std::uint32_t(i), 5) | (std::uint32_t(distance - base[i]) << 5), 5 + extra[i]};
    }
};

const FixedCodes &fixedCodes()
{
    static const FixedCodes codes;
    return codes;
}

// Deflate's bit order: least significant bit first. Bytes go straight into a buffer that the
// caller makes room in beforehand (`reserve`), so the hot path neither checks nor grows it.
class BitWriter {
public:
    void put(std::uint32_t bits, int count)
    {
        m_pending |= std::uint64_t(bits) << m_count;
        m_count += count;
        if (m_count >= 32) {
            const quint32 word = qToLittleEndian(quint32(m_pending));
            std::memcpy(m_bytes.data() + m_size, &word, 4);
            m_size += 4;
            m_pending >>= 32;
            m_count -= 32;
        }
    }

    // Room for `count` more bytes than the bits already put can fill.
    void reserve(std::size_t count)
    {
        if (m_bytes.size() < m_size + count + 8)
            m_bytes.resize(std::max(m_bytes.size() * 2, m_size + count + 8));
    }

    void flushToByte()
    {
        reserve(8);
        for (; m_count > 0; m_count -= 8, m_pending >>= 8)
            m_bytes[m_size++] = static_cast<unsigned char>(m_pending & 0xFF);
        m_count = 0;
        m_pending = 0;
    }

    void appendByte(unsigned char byte)
    {
        reserve(1);
        m_bytes[m_size++] = byte;
    }

    // The whole bytes written so far, which later bits no longer change; they leave the buffer.
    std::size_t size() const { return m_size; }
    void moveTo(QByteArray &out)
    {
        out.append(reinterpret_cast<const char *>(m_bytes.data()), qsizetype(m_size));
        m_size = 0;
    }

private:
    std::vector<unsigned char> m_bytes;
    std::size_t m_size = 0;
    std::uint64_t m_pending = 0;
    int m_count = 0;
};

class DeflateEncoder {
public:
    DeflateEncoder() : m_codes(fixedCodes()) {}

    void literal(unsigned char byte) { put(m_codes.symbol[byte]); }

    void pixel(QRgb rgb)
    {
        const Code &r = m_codes.symbol[qRed(rgb)];
        const Code &g = m_codes.symbol[qGreen(rgb)];
        const Code &b = m_codes.symbol[qBlue(rgb)];
        m_bits.put(r.bits | (g.bits << r.length) | (b.bits << (r.length + g.length)), r.length + g.length + b.length);
    }

    // `length` bytes (at least 3) repeating those `distance.` bytes back, split into matches.
    void repeat(int length, const Code &distance)
    {
        while (length > 0) {
            int n = std::min(length, kMaxMatch);
            if (length - n > 0 && length - n < kMinMatch)
                n = length - kMinMatch;
            put(m_codes.length[n]);
            put(distance);
            length -= n;
        }
    }

    void finish()
    {
        put(m_codes.symbol[256]);
        m_bits.flushToByte();
    }

    BitWriter &bits() { return m_bits; }

private:
    void put(const Code &code) { m_bits.put(code.bits, code.length); }

    BitWriter m_bits;
    const FixedCodes &m_codes;
};

void appendU32(QByteArray &out, quint32 value)
{
    const quint32 big = qToBigEndian(value);
    out.append(reinterpret_cast<const char *>(&big), 4);
}

void beginChunk(QByteArray &out, const char *type, quint32 length)
{
    appendU32(out, length);
    out.append(type, 4);
}

// Closes the chunk whose type starts at `typeAt`: its CRC covers type and data.
void endChunk(QByteArray &out, qsizetype typeAt)
{
    const auto *start = reinterpret_cast<const Bytef *>(out.constData() + typeAt);
    appendU32(out, quint32(crc32(crc32(0, nullptr, 0), start, uInt(out.size() - typeAt))));
}

// The zlib checksum of a row as the stream holds it (its filter byte 0, then red, green and blue
// of each pixel), taken from the pixels themselves rather than from a copy of the row in the
// stream's bytes. Adler-32's second sum weighs each of the n bytes by its distance from the end
// (n + 1 - i for the i-th): byte for byte it is one long chain of additions, each waiting for the
// last, so it is taken here as sums the processor can add side by side. With s = r + g + b of the
// pixel at x, whose red is byte 2 + 3x, the weights give B = n + sum((n - 1 - 3x) s) - sum(g + 2b),
// and A = 1 + sum(s). Sums of a row fit 64 bits, so the modulo is taken once a row.
uLong rowAdler32(const QRgb *row, int width)
{
    constexpr std::uint64_t kBase = 65521;
    const std::uint64_t n = 3 * std::uint64_t(width) + 1;
    std::uint64_t sum = 0;         // of s
    std::uint64_t weightedSum = 0; // of x * s
    std::uint64_t tail = 0;        // of g + 2b: green and blue stand one and two bytes later
    for (int x = 0; x < width; ++x) {
        const std::uint64_t red = qRed(row[x]);
        const std::uint64_t green = qGreen(row[x]);
        const std::uint64_t blue = qBlue(row[x]);
        const std::uint64_t s = red + green + blue;
        sum += s;
        weightedSum += std::uint64_t(x) * s;
        tail += green + 2 * blue;
    }
    const std::uint64_t a = 1 + sum;
    const std::uint64_t b = n + (n - 1) * sum - 3 * weightedSum - tail; // every byte's weight is at least 1
    return uLong(((b % kBase) << 16) | (a % kBase));
}

bool sameColour(QRgb a, QRgb b) { return ((a ^ b) & 0x00FFFFFF) == 0; }

} // namespace

struct PagePngEncoder::State {
    explicit State(int width)
        : width(width), stride(3 * width + 1), rowsReachable(stride <= kMaxDistance),
          pixelBack(FixedCodes::distance(3)), rowBack(FixedCodes::distance(rowsReachable ? stride : 1)),
          above(std::size_t(width))
    {
    }

    const int width;
    const int stride;            // a row's bytes in the stream, with its filter byte
    const bool rowsReachable;    // whether the row above lies within the deflate window
    DeflateEncoder deflate;
    const Code pixelBack;
    const Code rowBack;
    std::vector<QRgb> above;        // a copy: the caller's rows need not outlive the call
    bool haveAbove = false;
    uLong adler = adler32(0, nullptr, 0);
    uLong rowAdler = adler32(0, nullptr, 0);
};

PagePngEncoder::PagePngEncoder(QSize size, int dotsPerMeterX, int dotsPerMeterY) : m_size(size)
{
    if (size.isEmpty())
        throw runtime::AppError(QStringLiteral("There is no page picture to encode."));
    m_png.append("\x89PNG\r\n\x1a\n", 8);

    qsizetype typeAt = m_png.size() + 4;
    beginChunk(m_png, "IHDR", 13);
    appendU32(m_png, quint32(size.width()));
    appendU32(m_png, quint32(size.height()));
    m_png.append("\x08\x02\x00\x00\x00", 5); // 8 bits per sample, RGB, deflate, no filtering choice, no interlace
    endChunk(m_png, typeAt);

    if (dotsPerMeterX > 0 && dotsPerMeterY > 0) {
        typeAt = m_png.size() + 4;
        beginChunk(m_png, "pHYs", 9);
        appendU32(m_png, quint32(dotsPerMeterX));
        appendU32(m_png, quint32(dotsPerMeterY));
        m_png.append(char(1)); // the unit is the metre
        endChunk(m_png, typeAt);
    }

    m_state = std::make_unique<State>(size.width());
    BitWriter &bits = m_state->deflate.bits();
    bits.appendByte(0x78); // zlib header: deflate, 32 KiB window, no dictionary
    bits.appendByte(0x01);
    bits.put(0b011, 3); // the final block, fixed Huffman codes
}

PagePngEncoder::~PagePngEncoder() = default;

// Each row with filter type 0 (none): a row equal to the one above is one match, otherwise runs
// of the pixel to the left or of the pixels above become matches and the rest literals.
void PagePngEncoder::addRow(const QRgb *row)
{
    State &s = *m_state;
    if (m_rowsAdded >= m_size.height())
        throw runtime::AppError(QStringLiteral("The page picture has more rows than it was begun with."));
    ++m_rowsAdded;
    const int width = s.width;
    // At most 27 bits a pixel, and a match or two at the row's end.
    s.deflate.bits().reserve(std::size_t(width) * 4 + 64);
    const QRgb *above = s.haveAbove ? s.above.data() : nullptr;
    if (above && s.rowsReachable && std::memcmp(row, above, std::size_t(width) * 4) == 0) {
        s.deflate.repeat(s.stride, s.rowBack);
        s.adler = adler32_combine(s.adler, s.rowAdler, s.stride);
        return;
    }
    s.rowAdler = rowAdler32(row, width);
    s.adler = adler32_combine(s.adler, s.rowAdler, s.stride);

    s.deflate.literal(0);
    for (int x = 0; x < width;) {
        int left = 0;
        if (x > 0)
            while (x + left < width && sameColour(row[x + left], row[x - 1]))
                ++left;
        int up = 0;
        if (above && s.rowsReachable)
            while (x + up < width && sameColour(row[x + up], above[x + up]))
                ++up;
        if (left == 0 && up == 0) {
            s.deflate.pixel(row[x]);
            ++x;
        } else if (left >= up) {
            s.deflate.repeat(3 * left, s.pixelBack);
            x += left;
        } else {
            s.deflate.repeat(3 * up, s.rowBack);
            x += up;
        }
    }
    std::memcpy(s.above.data(), row, std::size_t(width) * 4);
    s.haveAbove = true;
}

void PagePngEncoder::addRows(const QImage &image, int first, int count)
{
    if (image.width() != m_size.width()
        || (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32))
        throw runtime::AppError(QStringLiteral("The page picture's rows do not match the picture begun."));
    for (int y = first; y < first + count; ++y) {
        addRow(reinterpret_cast<const QRgb *>(image.constScanLine(y)));
        if (m_state->deflate.bits().size() >= kIdatBytes)
            closeIdat();
    }
}

// The compressed bytes so far become one IDAT chunk: a reader joins the chunks' data into one
// stream, so the file can leave while the picture is still being drawn.
void PagePngEncoder::closeIdat()
{
    BitWriter &bits = m_state->deflate.bits();
    const qsizetype typeAt = m_png.size() + 4;
    beginChunk(m_png, "IDAT", quint32(bits.size()));
    bits.moveTo(m_png);
    endChunk(m_png, typeAt);
}

QByteArray PagePngEncoder::takeBytes() { return std::exchange(m_png, QByteArray()); }

QByteArray PagePngEncoder::finish()
{
    if (m_rowsAdded != m_size.height())
        throw runtime::AppError(QStringLiteral("The page picture lacks %1 of its rows.").arg(m_size.height() - m_rowsAdded));
    State &s = *m_state;
    s.deflate.finish();
    BitWriter &bits = s.deflate.bits();
    for (int shift = 24; shift >= 0; shift -= 8)
        bits.appendByte(static_cast<unsigned char>(s.adler >> shift));
    closeIdat();

    const qsizetype endAt = m_png.size() + 4;
    beginChunk(m_png, "IEND", 0);
    endChunk(m_png, endAt);
    m_state.reset();
    return takeBytes();
}

QByteArray encodePagePng(const QImage &picture)
{
    if (picture.isNull())
        throw runtime::AppError(QStringLiteral("There is no page picture to encode."));
    const QImage image = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
                             ? picture
                             : picture.convertToFormat(QImage::Format_RGB32);
    PagePngEncoder encoder(image.size(), image.dotsPerMeterX(), image.dotsPerMeterY());
    encoder.addRows(image, 0, image.height());
    QByteArray png = encoder.takeBytes();
    png += encoder.finish();
    return png;
}

} // namespace tools
