// Facts about the written bytes that a round trip through our own reader cannot show, but that
// other readers rely on.
#include "SampleFormDocument.h"
#include "wordproc/msdoc/CfbContainer.h"
#include "wordproc/msdoc/DocBytes.h"
#include "wordproc/msdoc/DocFib.h"
#include "wordproc/msdoc/DocFkp.h"
#include "wordproc/msdoc/DocPieceTable.h"
#include "wordproc/msdoc/DocSprms.h"
#include "wordproc/msdoc/DocStyleSheet.h"
#include "wordproc/msdoc/DocWriter.h"

#include <gtest/gtest.h>

using namespace wordproc;

namespace {

struct WrittenStreams {
    doc::ByteReader word{{}, {}};
    doc::ByteReader table{{}, {}};
};

WrittenStreams write(const Document &document)
{
    auto streams = doc::unpackCompoundFile(encodeDoc(document), {QStringLiteral("WordDocument"), QStringLiteral("1Table")});
    return {doc::ByteReader(streams[QStringLiteral("WordDocument")], QStringLiteral("WordDocument")),
            doc::ByteReader(streams[QStringLiteral("1Table")], QStringLiteral("1Table"))};
}

doc::FcLcb pair(const doc::ByteReader &word, int index)
{
    return {word.u32(0x9A + 8 * index), word.u32(0x9A + 8 * index + 4)};
}

doc::PieceTable piecesOf(const WrittenStreams &written)
{
    return doc::PieceTable::decode(written.table, pair(written.word, 33));
}

QString textOf(const WrittenStreams &written)
{
    return piecesOf(written).text(written.word, written.word.i32(0x4C));
}

// The text a formatting run covers, found the way other readers find it: through the pieces.
QString textOf(const QString &text, const doc::PieceTable &pieces, const doc::FkpRun &run)
{
    QString covered;
    for (const auto &[start, end] : pieces.cpRangesOf(run.fcStart, run.fcEnd))
        covered += text.mid(start, end - start);
    return covered;
}

std::vector<std::uint16_t> sprmIds(const QByteArray &grpprl)
{
    std::vector<std::uint16_t> ids;
    for (const doc::Sprm &sprm : doc::parseSprms(grpprl))
        ids.push_back(sprm.id);
    return ids;
}

bool contains(const std::vector<std::uint16_t> &ids, std::uint16_t id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace

TEST(DocWriterStructure, FibTextAndPieceTableFollowTheFormat)
{
    Document document;
    document.body = {sampleform::textParagraph(QStringLiteral("Hi 😀"), sampleform::tahoma(8)), Paragraph{}};
    const WrittenStreams written = write(document);
    const doc::ByteReader &word = written.word;
    EXPECT_EQ(word.u16(0x00), 0xA5EC);
    EXPECT_EQ(word.u16(0x02), 0x00C1);
    EXPECT_EQ(word.u16(0x0A), 0x1200); // 1Table and extended characters; not complex, not encrypted
    EXPECT_LE(word.u32(0x40), std::uint32_t(word.size())); // cbMac
    EXPECT_GE(word.size(), 4096); // outside the small-block area, where antiword cannot read it
    // An emoji is two UTF-16 code units and so two character positions. Three 8-bit characters
    // beside it are not worth a piece of their own: the text is one UTF-16 piece.
    EXPECT_EQ(word.u32(0x4C), 7u);
    EXPECT_EQ(word.u32(0x18), 0x400u);
    EXPECT_EQ(word.u32(0x1C), 0x400u + 2 * 7);
    EXPECT_EQ(textOf(written), QStringLiteral("Hi 😀\r\r"));
    EXPECT_EQ(word.u16(0x382), 0); // cswNew: a plain Word 97 FIB

    const doc::FcLcb clx = pair(word, 33);
    const QByteArray pieces = written.table.slice(clx.fc, clx.lcb);
    EXPECT_EQ(pieces, QByteArray::fromHex("021000000000000000070000000000000400000000"));
}

TEST(DocWriterStructure, FormattingPagesCoverTheTextWithoutGaps)
{
    const WrittenStreams written = write(sampleform::makeSampleFormDocument());
    const doc::ByteReader &word = written.word;
    const std::uint32_t textStart = word.u32(0x18), textEnd = word.u32(0x1C);
    const QString text = textOf(written);
    const doc::PieceTable pieces = piecesOf(written);
    // Latin text is stored 8-bit, one byte per character.
    ASSERT_EQ(pieces.pieces().size(), 1u);
    EXPECT_TRUE(pieces.pieces()[0].compressed);
    EXPECT_EQ(textEnd - textStart, std::uint32_t(text.size()));
    for (const auto kind : {doc::FkpKind::Character, doc::FkpKind::Paragraph}) {
        const doc::FcLcb bins = pair(word, kind == doc::FkpKind::Character ? 12 : 13);
        const std::vector<doc::FkpRun> runs = doc::readFkps(kind, word, written.table, bins.fc, bins.lcb);
        ASSERT_FALSE(runs.empty());
        EXPECT_EQ(runs.front().fcStart, textStart);
        EXPECT_EQ(runs.back().fcEnd, textEnd);
        for (size_t i = 1; i < runs.size(); ++i)
            EXPECT_EQ(runs[i].fcStart, runs[i - 1].fcEnd);
        if (kind == doc::FkpKind::Paragraph) {
            // One property set per paragraph, cell and row mark, each ending on its mark.
            EXPECT_EQ(runs.size(), size_t(text.count(QLatin1Char('\r')) + text.count(QChar(0x07))));
            for (const doc::FkpRun &run : runs) {
                const QString covered = textOf(text, pieces, run);
                EXPECT_TRUE(covered.endsWith(QLatin1Char('\r')) || covered.endsWith(QChar(0x07)));
            }
        }
    }
    // 43 row marks plus one cell mark per cell.
    int cells = 0;
    const Document form = sampleform::makeSampleFormDocument();
    for (const Row &row : std::get<Table>(form.body[0]).rows)
        cells += int(row.cells.size());
    EXPECT_EQ(text.count(QChar(0x07)), 43 + cells);
}

TEST(DocWriterStructure, OnlyNeededPropertiesAreWritten)
{
    Document document = sampleform::makeSampleFormDocument();
    const WrittenStreams written = write(document);
    const doc::ByteReader &word = written.word;
    const doc::FcLcb chpxBins = pair(word, 12);
    const auto runs = doc::readFkps(doc::FkpKind::Character, word, written.table, chpxBins.fc, chpxBins.lcb);
    const doc::PieceTable pieces = piecesOf(written);
    const QString text = textOf(written);
    for (const doc::FkpRun &run : runs) {
        const QString runText = textOf(text, pieces, run);
        const auto ids = sprmIds(run.properties);
        EXPECT_TRUE(contains(ids, 0x4A4F) && contains(ids, 0x4A43)); // font and size always
        // ... and again for complex scripts, so that Arabic or Devanagari keep them in Word.
        EXPECT_TRUE(contains(ids, 0x4A5E) && contains(ids, 0x4A61)) << runText.toStdString();
        EXPECT_EQ(contains(ids, 0x085C), contains(ids, 0x0835)) << runText.toStdString(); // bold
        // Automatic colour is the absence of a colour.
        const bool coloured = runText.startsWith(QStringLiteral("Rental")) || runText.contains(QStringLiteral("Information"))
                              || runText.startsWith(QStringLiteral("Emergency")) || runText.startsWith(QStringLiteral("References"));
        EXPECT_EQ(contains(ids, 0x6870), coloured) << runText.toStdString();
        EXPECT_EQ(contains(ids, 0x2A42), coloured) << runText.toStdString();
    }

    // Portrait pages carry no orientation at all; landscape ones say so.
    const auto sectionSprms = [](const WrittenStreams &streams) {
        const std::uint32_t sedAt = pair(streams.word, 6).fc;
        const std::uint32_t sepx = streams.table.u32(sedAt + 8 + 2);
        return sprmIds(streams.word.slice(sepx + 2, streams.word.i16(sepx)));
    };
    EXPECT_FALSE(contains(sectionSprms(written), 0x301D));
    document.page.landscape = true;
    std::swap(document.page.pageWidth, document.page.pageHeight);
    EXPECT_TRUE(contains(sectionSprms(write(document)), 0x301D));
}

TEST(DocWriterStructure, StyleSheetFillsWordsFixedSlotsAndBasesTableStylesOnTableNormal)
{
    const WrittenStreams written = write(sampleform::makeSampleFormDocument());
    const doc::FcLcb stsh = pair(written.word, 1);
    const doc::StyleSheet sheet = doc::StyleSheet::decode(written.table, stsh.fc, stsh.lcb);
    ASSERT_GE(sheet.styles.size(), 16u);
    const struct {
        int istd;
        const char *name;
        doc::StyleKind kind;
    } fixed[] = {{0, "Normal", doc::StyleKind::Paragraph},
                 {10, "Default Paragraph Font", doc::StyleKind::Character},
                 {11, "Table Normal", doc::StyleKind::Table},
                 {12, "No List", doc::StyleKind::List},
                 {15, "Table Grid", doc::StyleKind::Table}};
    for (const auto &slot : fixed) {
        const doc::Style *style = sheet.at(slot.istd);
        ASSERT_NE(style, nullptr) << slot.name;
        EXPECT_EQ(style->name.toStdString(), slot.name);
        EXPECT_EQ(style->kind, slot.kind) << slot.name;
    }
    EXPECT_EQ(sheet.at(15)->baseIstd, 11);
    EXPECT_EQ(sheet.at(11)->baseIstd, 0x0FFF);
    for (int istd : {1, 9, 13, 14})
        EXPECT_EQ(sheet.at(istd), nullptr) << istd;
}

TEST(DocWriterStructure, StyleSheetGivesComplexScriptsAFont)
{
    const WrittenStreams written = write(sampleform::makeSampleFormDocument());
    const doc::FcLcb stsh = pair(written.word, 1);
    EXPECT_EQ(written.table.u16(stsh.fc), 20u);         // cbStshi: Stshif and ftcBi
    EXPECT_EQ(written.table.u16(stsh.fc + 2 + 18), 0u); // ftcBi: font 0, like ftcAsci
    const doc::StyleSheet sheet = doc::StyleSheet::decode(written.table, stsh.fc, stsh.lcb);
    ASSERT_NE(sheet.at(0), nullptr);
    const auto normal = sprmIds(sheet.at(0)->characterSprms);
    EXPECT_TRUE(contains(normal, 0x4A5E) && contains(normal, 0x4A61));
}
