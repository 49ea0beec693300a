#include "wordproc/msdoc/DocStyleSheet.h"

#include "wordproc/msdoc/DocFormatConstants.h"

#include <algorithm>

namespace wordproc::doc {

namespace {

constexpr int kStdfBaseSize = 10;
constexpr int kStshifSize = 18;
constexpr int kStshiSize = kStshifSize + 2; // Stshif and ftcBi
constexpr int kNoStyle = 0x0FFF;
constexpr int kStiNormal = 0;
constexpr int kStiTableGrid = 154;
constexpr int kStiUser = 0x0FFE;
// The fixed slots Word fills in every document, with their built-in style identifiers.
constexpr int kDefaultParagraphFontIstd = 10;
constexpr int kTableNormalIstd = 11;
constexpr int kNoListIstd = 12;
constexpr int kStiDefaultParagraphFont = 65;
constexpr int kStiTableNormal = 105;
constexpr int kStiNoList = 107;
constexpr unsigned kSemiHidden = 0x0100; // grfstd: kept out of the style lists Word shows
constexpr int kStiMaxWord97 = 91;

void appendUpx(ByteWriter &out, const QByteArray &upx)
{
    out.u16(unsigned(upx.size()));
    out.bytes(upx);
    out.alignTo(2);
}

QByteArray istdAnd(int istd, const QByteArray &sprms = {})
{
    ByteWriter out;
    out.u16(unsigned(istd));
    out.bytes(sprms);
    return out.data();
}

// One STD: StdfBase, the name and the property lists, as its LPStd with the leading size.
void appendStyle(ByteWriter &out, int sti, StyleKind kind, int istd, const QString &name,
                 const std::vector<QByteArray> &upxs, int baseIstd = kNoStyle, unsigned grfstd = 0)
{
    ByteWriter record;
    record.u16(unsigned(sti));
    record.u16(unsigned(kind) | (unsigned(baseIstd) << 4));     // stk, istdBase
    record.u16(unsigned(upxs.size()) | (unsigned(istd) << 4));  // cupx, istdNext: itself
    const qsizetype bchUpeAt = record.size();
    record.u16(0);                                               // bchUpe, patched below
    record.u16(grfstd);
    record.u16(unsigned(name.size()));
    for (QChar c : name)
        record.u16(c.unicode());
    record.u16(0);
    for (const QByteArray &upx : upxs)
        appendUpx(record, upx);
    record.alignTo(2);
    record.patchU16(bchUpeAt, unsigned(record.size()));
    out.u16(unsigned(record.size()));
    out.bytes(record.data());
}

} // namespace

QByteArray StyleSheet::encode(const QByteArray &normalCharacterSprms, const QStringList &tableStyles)
{
    const int count = kFirstTableStyle + int(tableStyles.size());
    const bool hasTableGrid = tableStyles.contains(QStringLiteral("Table Grid"));
    ByteWriter out;
    out.u16(kStshiSize);
    out.u16(unsigned(count));                                   // cstd
    out.u16(kStdfBaseSize);                                     // cbSTDBaseInFile
    out.u16(1);                                                 // fStdStylenamesWritten
    out.u16(hasTableGrid ? kStiTableGrid + 1 : kStiMaxWord97);  // stiMaxWhenSaved
    out.u16(kFirstTableStyle);                                  // istdMaxFixedWhenSaved
    out.u16(0);                                                 // nVerBuiltInNamesWhenSaved
    out.u16(0);                                                 // ftcAsci: font 0
    out.u16(0);                                                 // ftcFE
    out.u16(0);                                                 // ftcOther
    out.u16(0);                                                 // ftcBi: complex scripts in font 0 too

    appendStyle(out, kStiNormal, StyleKind::Paragraph, kNormalStyle, QStringLiteral("Normal"),
                {istdAnd(kNormalStyle), normalCharacterSprms});
    for (int istd = 1; istd < kDefaultParagraphFontIstd; ++istd)
        out.u16(0); // the heading slots, unused
    appendStyle(out, kStiDefaultParagraphFont, StyleKind::Character, kDefaultParagraphFontIstd,
                QStringLiteral("Default Paragraph Font"), {QByteArray()}, kNoStyle, kSemiHidden);
    appendStyle(out, kStiTableNormal, StyleKind::Table, kTableNormalIstd, QStringLiteral("Table Normal"),
                {QByteArray(), istdAnd(kTableNormalIstd), QByteArray()}, kNoStyle, kSemiHidden);
    appendStyle(out, kStiNoList, StyleKind::List, kNoListIstd, QStringLiteral("No List"),
                {istdAnd(kNoListIstd)}, kNoStyle, kSemiHidden);
    for (int istd = kNoListIstd + 1; istd < kFirstTableStyle; ++istd)
        out.u16(0); // reserved slots
    for (int i = 0; i < tableStyles.size(); ++i) {
        const QString &name = tableStyles[i];
        const int istd = kFirstTableStyle + i;
        const int sti = name == QLatin1String("Table Grid") ? kStiTableGrid : kStiUser;
        appendStyle(out, sti, StyleKind::Table, istd, name, {QByteArray(), istdAnd(istd), QByteArray()},
                    kTableNormalIstd);
    }
    return out.data();
}

StyleSheet StyleSheet::decode(const ByteReader &tableStream, std::uint32_t fc, std::uint32_t lcb)
{
    const ByteReader in(tableStream.slice(fc, lcb), QStringLiteral("the style sheet"));
    StyleSheet sheet;
    const int stshiSize = in.u16(0);
    const int count = in.u16(2);
    const int baseSize = in.u16(4);
    if (baseSize < kStdfBaseSize)
        throwDamaged(QStringLiteral("the style sheet has the wrong form"));
    if (stshiSize >= 14)
        sheet.defaultFontIndex = in.u16(2 + 12);
    qint64 at = 2 + stshiSize;
    for (int istd = 0; istd < count; ++istd) {
        const int size = in.u16(at);
        const ByteReader record(in.slice(at + 2, size), in.streamName());
        at += 2 + size;
        Style style;
        if (size == 0) {
            sheet.styles.push_back(style);
            continue;
        }
        const int kindBits = record.u16(2) & 0x0F;
        style.kind = kindBits >= 1 && kindBits <= 4 ? StyleKind(kindBits) : StyleKind::None;
        style.baseIstd = record.u16(2) >> 4;
        const int upxCount = record.u16(4) & 0x0F;
        const int nameLength = record.u16(baseSize);
        if (nameLength > kMaxStyleNameLength)
            throwDamaged(QStringLiteral("a style name is %1 characters long").arg(nameLength));
        qint64 position = baseSize + 2;
        for (int c = 0; c < nameLength; ++c)
            style.name.append(QChar(char16_t(record.u16(position + 2 * c))));
        position += 2 * (nameLength + 1);

        std::vector<QByteArray> upxs;
        for (int u = 0; u < upxCount; ++u) {
            const int upxSize = record.u16(position);
            upxs.push_back(record.slice(position + 2, upxSize));
            position += 2 + upxSize + (upxSize & 1);
        }
        auto upx = [&upxs](size_t index) { return index < upxs.size() ? upxs[index] : QByteArray(); };
        const auto withoutIstd = [](const QByteArray &papx) { return papx.size() > 2 ? papx.mid(2) : QByteArray(); };
        switch (style.kind) {
        case StyleKind::Paragraph:
            style.paragraphSprms = withoutIstd(upx(0));
            style.characterSprms = upx(1);
            break;
        case StyleKind::Character: style.characterSprms = upx(0); break;
        case StyleKind::Table:
            style.paragraphSprms = withoutIstd(upx(1));
            style.characterSprms = upx(2);
            break;
        case StyleKind::List: style.paragraphSprms = withoutIstd(upx(0)); break;
        case StyleKind::None: break;
        }
        sheet.styles.push_back(std::move(style));
    }
    return sheet;
}

const Style *StyleSheet::at(int istd) const
{
    if (istd < 0 || istd >= int(styles.size()) || styles[istd].kind == StyleKind::None)
        return nullptr;
    return &styles[istd];
}

} // namespace wordproc::doc
