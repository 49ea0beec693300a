#include "wordproc/msdoc/DocParagraphSprms.h"

#include "wordproc/msdoc/DocBytes.h"
#include "wordproc/msdoc/DocColours.h"
#include "wordproc/msdoc/DocFormatConstants.h"
#include "wordproc/msdoc/DocSprms.h"

namespace wordproc::doc {

namespace {

constexpr std::uint32_t kHairlineSingleBlack = 0x00010104; // Brc80: 0.5 pt, single, black
constexpr int kTc80Size = 20;
constexpr int kShdSize = 10;
constexpr int kShdPerSprm = 22;
constexpr int kWidthInTwips = 3;       // ftsWidth: dxa
constexpr unsigned kIpatNil = 0xFFFF;
constexpr unsigned kLeftSide = 0x02;

bool isLine(std::uint32_t brc80)
{
    const unsigned type = (brc80 >> 8) & 0xFF;
    return brc80 != 0xFFFFFFFF && type != 0 && type != 0xFF;
}

void appendShd(ByteWriter &out, const Shading &shading)
{
    out.u32(colorRefOf(shading.foreground));
    out.u32(colorRefOf(shading.background));
    out.u16(unsigned(*ipatOfTexture(shading.texture)));
}

unsigned shd80Of(const Shading &shading)
{
    return unsigned(nearestIco(shading.foreground)) | (unsigned(nearestIco(shading.background)) << 5)
           | (unsigned(*ipatOfTexture(shading.texture) & 0x3F) << 10);
}

Shading shadingOfShd80(std::uint16_t value)
{
    Shading shading;
    shading.foreground = colourOfIco(value & 0x1F);
    shading.background = colourOfIco((value >> 5) & 0x1F);
    shading.texture = textureOfIpat((value >> 10) & 0x3F).value_or(0);
    return shading;
}

QByteArray tableDefinition(const RowLayout &row)
{
    ByteWriter out;
    out.u8(unsigned(row.cells.size()));
    int edge = 0;
    out.i16(edge);
    for (const CellLayout &cell : row.cells) {
        edge += cell.widthTwips;
        out.i16(edge);
    }
    const std::uint32_t border = row.gridBorders ? kHairlineSingleBlack : 0;
    for (const CellLayout &cell : row.cells) {
        const unsigned verticalAlignment = unsigned(cell.verticalAlignment) & 3;
        out.u16((verticalAlignment << 7) | (kWidthInTwips << 9)); // tcgrf
        out.i16(cell.widthTwips);
        for (int side = 0; side < 4; ++side)
            out.u32(border);
    }
    return out.data();
}

void appendRowSprms(ByteWriter &out, const RowLayout &row, int tableStyleIstd)
{
    if (tableStyleIstd >= 0)
        appendSprm(out, sprm::TIstd, unsigned(tableStyleIstd));
    appendSprm(out, sprm::TDxaGapHalf, unsigned(row.gapHalfTwips));
    int height = 0;
    if (row.heightRule == HeightRule::AtLeast)
        height = row.heightTwips;
    else if (row.heightRule == HeightRule::Exactly)
        height = -row.heightTwips;
    appendSprm(out, sprm::TDyaRowHeight, unsigned(height) & 0xFFFF);
    appendSprm(out, sprm::TFAutofit, 0);
    int width = 0;
    for (const CellLayout &cell : row.cells)
        width += cell.widthTwips;
    appendSprm(out, sprm::TTableWidth, unsigned(kWidthInTwips) | (unsigned(width) << 8));

    ByteWriter borders;
    for (int side = 0; side < 6; ++side)
        borders.u32(row.gridBorders ? kHairlineSingleBlack : 0);
    appendVariableSprm(out, sprm::TTableBorders80, borders.data());
    appendVariableSprm(out, sprm::TDefTable, tableDefinition(row));

    ByteWriter shadings80;
    for (const CellLayout &cell : row.cells)
        shadings80.u16(shd80Of(cell.shading));
    appendVariableSprm(out, sprm::TDefTableShd80, shadings80.data());
    // Exact colours, 22 cells per sprm.
    const std::uint16_t parts[] = {sprm::TDefTableShd, sprm::TDefTableShd2nd, sprm::TDefTableShd3rd};
    for (size_t first = 0, part = 0; first < row.cells.size(); first += kShdPerSprm, ++part) {
        ByteWriter shadings;
        for (size_t i = first; i < std::min(row.cells.size(), first + kShdPerSprm); ++i)
            appendShd(shadings, row.cells[i].shading);
        appendVariableSprm(out, parts[part], shadings.data());
    }
}

} // namespace

QByteArray encodeParagraphSprms(const StoryParagraph &paragraph, int tableStyleIstd)
{
    ByteWriter out;
    if (paragraph.alignment == Alignment::Centre) {
        appendSprm(out, sprm::PJc80, 1);
        appendSprm(out, sprm::PJc, 1);
    }
    if (paragraph.inTable || paragraph.row) {
        appendSprm(out, sprm::PFInTable, 1);
        if (paragraph.row)
            appendSprm(out, sprm::PFTtp, 1);
        appendSprm(out, sprm::PItap, 1);
    }
    if (paragraph.row)
        appendRowSprms(out, *paragraph.row, tableStyleIstd);
    return out.data();
}

void ParagraphSprmReader::apply(const QByteArray &grpprl)
{
    for (const Sprm &sprm : parseSprms(grpprl)) {
        switch (sprm.id) {
        case sprm::PJc: m_jc = int(sprm.value()); break;
        case sprm::PJc80: m_jc80 = int(sprm.value()); break;
        case sprm::PFInTable: m_inTable = sprm.value() != 0; break;
        case sprm::PFTtp: m_rowEnd = sprm.value() != 0; break;
        case sprm::PItap: m_depth = sprm.signedValue(); break;
        case sprm::TDefTable: readTableDefinition(sprm.operand); break;
        case sprm::TDefTableShd: readShadings(sprm.operand, 0); break;
        case sprm::TDefTableShd2nd: readShadings(sprm.operand, kShdPerSprm); break;
        case sprm::TDefTableShd3rd: readShadings(sprm.operand, 2 * kShdPerSprm); break;
        case sprm::TDefTableShd80: {
            const ByteReader in(sprm.operand, QStringLiteral("a table row's shading"));
            m_shadings80.clear();
            for (qint64 at = 0; at + 2 <= in.size(); at += 2)
                m_shadings80.push_back(in.u16(at));
            break;
        }
        case sprm::TTableBorders80: {
            const ByteReader in(sprm.operand, QStringLiteral("a table's borders"));
            bool allLines = in.size() >= 24;
            for (qint64 at = 0; at + 4 <= std::min<qint64>(in.size(), 24); at += 4)
                allLines = allLines && isLine(in.u32(at));
            m_tableBordersAllLines = allLines;
            break;
        }
        case sprm::TDyaRowHeight: m_rowHeight = sprm.signedValue(); break;
        case sprm::TDxaGapHalf: m_gapHalf = sprm.signedValue(); break;
        case sprm::TCellPaddingDefault: {
            // Later writers give the cells' padding directly: itc range, sides, unit, width.
            const ByteReader in(sprm.operand, QStringLiteral("a table's cell padding"));
            if (in.size() >= 6 && (in.u8(2) & kLeftSide) && in.u8(3) == kWidthInTwips)
                m_padding = in.i16(4);
            break;
        }
        case sprm::TIstd: m_tableStyle = int(sprm.value()); break;
        default: break;
        }
    }
}

void ParagraphSprmReader::readTableDefinition(const QByteArray &operand)
{
    const ByteReader in(operand, QStringLiteral("a table row definition"));
    const int count = in.u8(0);
    if (count < 1 || count > kMaxCellsPerRow)
        throwDamaged(QStringLiteral("a table row definition has %1 cells").arg(count));
    m_cells.assign(count, CellDefinition{});
    for (int i = 0; i < count; ++i) {
        m_cells[i].left = in.i16(1 + 2 * i);
        m_cells[i].right = in.i16(1 + 2 * (i + 1));
        if (m_cells[i].right < m_cells[i].left)
            throwDamaged(QStringLiteral("a table cell has a negative width"));
    }
    if (m_cells.back().right - m_cells.front().left > kMaxTwips)
        throwDamaged(QStringLiteral("a table row is wider than 22 inches"));
    const qint64 firstTc = 1 + 2 * (count + 1);
    const qint64 tcCount = std::min<qint64>(count, (in.size() - firstTc) / kTc80Size);
    for (qint64 i = 0; i < tcCount; ++i) {
        const qint64 at = firstTc + i * kTc80Size;
        const int verticalAlignment = (in.u16(at) >> 7) & 3;
        m_cells[i].verticalAlignment = verticalAlignment <= 2 ? verticalAlignment : 0;
        bool all = true, any = false;
        for (int side = 0; side < 4; ++side) {
            const bool line = isLine(in.u32(at + 4 + 4 * side));
            all = all && line;
            any = any || line;
        }
        m_cells[i].bordered = all;
        m_cells[i].anyBorder = any;
    }
    m_hasTableDefinition = true;
}

void ParagraphSprmReader::readShadings(const QByteArray &operand, size_t firstCell)
{
    const ByteReader in(operand, QStringLiteral("a table row's shading"));
    const size_t count = size_t(in.size() / kShdSize);
    if (m_shadings.size() < firstCell + count)
        m_shadings.resize(firstCell + count);
    for (size_t i = 0; i < count; ++i) {
        const qint64 at = qint64(i) * kShdSize;
        const unsigned ipat = in.u16(at + 8);
        Shading shading;
        if (ipat != kIpatNil) {
            shading.foreground = colourOfColorRef(in.u32(at));
            shading.background = colourOfColorRef(in.u32(at + 4));
            shading.texture = textureOfIpat(int(ipat)).value_or(0);
        }
        m_shadings[firstCell + i] = shading;
    }
}

Alignment ParagraphSprmReader::alignment() const
{
    const int jc = m_jc.value_or(m_jc80.value_or(0));
    return jc == 1 ? Alignment::Centre : Alignment::Left;
}

RowLayout ParagraphSprmReader::rowLayout(const StyleSheet &styles) const
{
    if (!m_hasTableDefinition)
        throwDamaged(QStringLiteral("a table row has no cell definitions"));
    RowLayout row;
    bool allBordered = true, anyBorder = false;
    for (size_t i = 0; i < m_cells.size(); ++i) {
        const CellDefinition &definition = m_cells[i];
        CellLayout cell;
        cell.widthTwips = definition.right - definition.left;
        cell.verticalAlignment = VerticalAlignment(definition.verticalAlignment);
        if (i < m_shadings.size() && m_shadings[i])
            cell.shading = *m_shadings[i];
        else if (i < m_shadings80.size())
            cell.shading = shadingOfShd80(m_shadings80[i]);
        allBordered = allBordered && definition.bordered;
        anyBorder = anyBorder || definition.anyBorder;
        row.cells.push_back(cell);
    }
    row.gridBorders = anyBorder ? allBordered : m_tableBordersAllLines.value_or(false);
    // Heights and paddings beyond Word's 22 inches are ignored, as Word does.
    if (m_rowHeight > 0 && m_rowHeight <= kMaxTwips) {
        row.heightRule = HeightRule::AtLeast;
        row.heightTwips = m_rowHeight;
    } else if (m_rowHeight < 0 && -m_rowHeight <= kMaxTwips) {
        row.heightRule = HeightRule::Exactly;
        row.heightTwips = -m_rowHeight;
    }
    const int gap = m_padding.value_or(m_gapHalf);
    if (gap >= 0 && gap <= kMaxTwips)
        row.gapHalfTwips = gap;
    if (const Style *style = styles.at(m_tableStyle); style && style->kind == StyleKind::Table)
        row.style = style->name;
    return row;
}

} // namespace wordproc::doc
