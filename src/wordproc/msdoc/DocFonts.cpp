#include "wordproc/msdoc/DocFonts.h"

#include "wordproc/model/DocumentModel.h"

#include "wordproc/msdoc/DocFormatConstants.h"

namespace wordproc::doc {

namespace {

constexpr int kPanoseSize = 10;
constexpr int kFontSignatureSize = 24;
constexpr int kNameOffset = 1 + 2 + 1 + 1 + kPanoseSize + kFontSignatureSize; // within the FFN

// Family and character set of the fonts Word itself lists; other fonts get a generic entry.
struct FontKind {
    int family;  // FF_ROMAN 1, FF_SWISS 2, FF_DONTCARE 0
    int charset; // ANSI_CHARSET 0, SYMBOL_CHARSET 2, DEFAULT_CHARSET 1
};

FontKind kindOf(const QString &name)
{
    if (name == QLatin1String("Times New Roman"))
        return {1, 0};
    if (name == QLatin1String("Symbol"))
        return {1, 2};
    if (name == QLatin1String("Arial") || name == QLatin1String("Tahoma") || name == QLatin1String("Verdana"))
        return {2, 0};
    return {0, 1};
}

} // namespace

FontTable FontTable::withStandardFonts()
{
    FontTable table;
    for (const char *name : {"Times New Roman", "Symbol", "Arial", "Tahoma"})
        table.add(QString::fromLatin1(name));
    return table;
}

int FontTable::add(const QString &name)
{
    const int existing = indexOf(name);
    if (existing >= 0)
        return existing;
    m_names.append(name);
    return int(m_names.size()) - 1;
}

const QString &FontTable::nameAt(int index) const
{
    if (index < 0 || index >= m_names.size())
        throwDamaged(QStringLiteral("a character format names font %1 of %2").arg(index).arg(m_names.size()));
    // A table may carry unused entries without a name; text set in one has no font to show it in.
    const QString &name = m_names[index];
    if (name.isEmpty() || name.size() > kMaxFontNameLength || sanitizeUserText(name) != name || name.contains(u'\t'))
        throwDamaged(QStringLiteral("a character format names a font without a usable name"));
    return name;
}

QByteArray FontTable::encode() const
{
    ByteWriter out;
    out.u16(unsigned(m_names.size())); // cData
    out.u16(0);                        // cbExtra
    for (const QString &name : m_names) {
        const FontKind kind = kindOf(name);
        const int ffnSize = kNameOffset + 2 * (int(name.size()) + 1);
        out.u8(unsigned(ffnSize)); // the entry's length, which is also cbFfnM1
        const int pitchVariable = 2, trueType = 1;
        out.u8(unsigned(pitchVariable | (trueType << 2) | (kind.family << 4))); // ffid
        out.u16(400);                                                          // wWeight: normal
        out.u8(unsigned(kind.charset));
        out.u8(0); // ixchSzAlt: no alternative name
        out.zeros(kPanoseSize + kFontSignatureSize);
        for (QChar c : name)
            out.u16(c.unicode());
        out.u16(0);
    }
    return out.data();
}

FontTable FontTable::decode(const ByteReader &tableStream, std::uint32_t fc, std::uint32_t lcb)
{
    const ByteReader in(tableStream.slice(fc, lcb), QStringLiteral("the font table"));
    FontTable table;
    if (lcb == 0)
        return table;
    const int count = in.u16(0);
    if (count == 0xFFFF)
        throwDamaged(QStringLiteral("the font table has the wrong form"));
    const int extraSize = in.u16(2);
    qint64 at = 4;
    for (int i = 0; i < count; ++i) {
        const int entrySize = in.u8(at);
        const QByteArray entry = in.slice(at + 1, entrySize);
        at += 1 + entrySize + extraSize;
        QString name;
        for (qint64 c = kNameOffset; c + 1 < entry.size(); c += 2) {
            const char16_t unit = char16_t(std::uint8_t(entry[c]) | (std::uint8_t(entry[c + 1]) << 8));
            if (unit == 0)
                break;
            name.append(QChar(unit));
        }
        table.m_names.append(name);
    }
    return table;
}

} // namespace wordproc::doc
