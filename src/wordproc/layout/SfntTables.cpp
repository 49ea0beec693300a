#include "wordproc/layout/SfntTables.h"

#include <QtEndian>

#include <vector>

namespace wordproc::sfnt {

namespace {

constexpr std::uint32_t kTrueTypeVersion = 0x00010000;
constexpr std::uint32_t kChecksumMagic = 0xB1B0AFBA;
constexpr int kHeadChecksumAdjustment = 8;

void put16(QByteArray &out, unsigned value)
{
    out.append(char((value >> 8) & 0xFF));
    out.append(char(value & 0xFF));
}

void put32(QByteArray &out, std::uint32_t value)
{
    put16(out, value >> 16);
    put16(out, value & 0xFFFF);
}

void set32(QByteArray &out, qsizetype at, std::uint32_t value)
{
    qToBigEndian<quint32>(value, out.data() + at);
}

// The OpenType checksum: the sum of the data as big-endian 32-bit words, zero-padded.
std::uint32_t checksum(const QByteArray &data)
{
    std::uint32_t sum = 0;
    for (qsizetype i = 0; i < data.size(); i += 4) {
        std::uint32_t word = 0;
        for (int k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < data.size() ? std::uint8_t(data[i + k]) : 0u);
        sum += word;
    }
    return sum;
}

} // namespace

QByteArray assemble(const std::map<std::uint32_t, QByteArray> &tables)
{
    const unsigned count = unsigned(tables.size());
    unsigned power = 1, log2 = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log2;
    }
    QByteArray out;
    put32(out, kTrueTypeVersion);
    put16(out, count);
    put16(out, power * 16); // searchRange
    put16(out, log2);       // entrySelector
    put16(out, count * 16 - power * 16);

    qsizetype offset = 12 + 16 * qsizetype(count);
    qsizetype headAt = -1;
    QByteArray body;
    for (const auto &[name, data] : tables) { // std::map keeps the tags sorted, as the directory must be
        QByteArray table = data;
        if (name == tag("head") && table.size() >= kHeadChecksumAdjustment + 4) {
            set32(table, kHeadChecksumAdjustment, 0);
            headAt = offset + body.size();
        }
        put32(out, name);
        put32(out, checksum(table));
        put32(out, std::uint32_t(offset + body.size()));
        put32(out, std::uint32_t(table.size()));
        body += table;
        while (body.size() % 4)
            body.append('\0');
    }
    out += body;
    if (headAt >= 0)
        set32(out, headAt + kHeadChecksumAdjustment, kChecksumMagic - checksum(out));
    return out;
}

std::map<std::uint32_t, QByteArray> tablesOf(const QByteArray &file)
{
    const auto read32 = [&](qsizetype at) { return qFromBigEndian<quint32>(file.constData() + at); };
    if (file.size() < 12 || (read32(0) != kTrueTypeVersion && read32(0) != tag("OTTO")))
        return {};
    const qsizetype count = qFromBigEndian<quint16>(file.constData() + 4);
    if (12 + 16 * count > file.size())
        return {};
    std::map<std::uint32_t, QByteArray> tables;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype record = 12 + 16 * i;
        const qint64 offset = read32(record + 8);
        const qint64 length = read32(record + 12);
        if (offset + length > file.size())
            return {};
        tables[read32(record)] = file.mid(offset, length);
    }
    return tables;
}

QByteArray gsubNamingScript(std::uint32_t scriptTag)
{
    // Header, then the ScriptList (one ScriptRecord, its Script table with a default LangSys that
    // uses no feature), an empty FeatureList and an empty LookupList.
    constexpr unsigned kHeader = 10;
    constexpr unsigned kScriptList = 2 + 6 + 4 + 6;
    QByteArray out;
    put16(out, 1);
    put16(out, 0);
    put16(out, kHeader);                  // scriptListOffset
    put16(out, kHeader + kScriptList);    // featureListOffset
    put16(out, kHeader + kScriptList + 2); // lookupListOffset
    put16(out, 1);                        // scriptCount
    put32(out, scriptTag);
    put16(out, 8);                        // Script table, from the ScriptList
    put16(out, 4);                        // defaultLangSysOffset, from the Script table
    put16(out, 0);                        // langSysCount
    put16(out, 0);                        // lookupOrderOffset
    put16(out, 0xFFFF);                   // requiredFeatureIndex: none
    put16(out, 0);                        // featureIndexCount
    put16(out, 0);                        // featureCount
    put16(out, 0);                        // lookupCount
    return out;
}

QByteArray nameTable(const QString &family)
{
    QString postScript = family;
    postScript.remove(QLatin1Char(' '));
    const std::vector<std::pair<unsigned, QString>> names{
        {1, family}, {2, QStringLiteral("Regular")}, {4, family}, {6, postScript + QStringLiteral("-Regular")}};
    QByteArray strings;
    QByteArray out;
    put16(out, 0);
    put16(out, unsigned(names.size()));
    put16(out, unsigned(6 + 12 * names.size()));
    for (const auto &[id, text] : names) {
        QByteArray utf16;
        for (QChar c : text)
            put16(utf16, c.unicode());
        put16(out, 3);      // Windows
        put16(out, 1);      // Unicode BMP
        put16(out, 0x0409); // English (US)
        put16(out, id);
        put16(out, unsigned(utf16.size()));
        put16(out, unsigned(strings.size()));
        strings += utf16;
    }
    return out + strings;
}

} // namespace wordproc::sfnt
