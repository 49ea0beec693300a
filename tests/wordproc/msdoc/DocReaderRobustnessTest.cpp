// The reader must refuse anything that is not a .doc file we can read with a clear error, and a
// damaged file must end in a document or an error: never a crash, never a hang.
#include "SampleFormDocument.h"
#include "base/Failure.h"
#include "wordproc/msdoc/CfbContainer.h"
#include "wordproc/msdoc/DocReader.h"
#include "wordproc/msdoc/DocWriter.h"

#include <gtest/gtest.h>

#include <random>

using namespace wordproc;

namespace {

enum class Outcome { Read, Refused };

Outcome decodeOrRefuse(const QByteArray &bytes)
{
    try {
        decodeDoc(bytes);
        return Outcome::Read;
    } catch (const base::Failure &) {
        return Outcome::Refused;
    }
}

QString refusal(const QByteArray &bytes)
{
    try {
        decodeDoc(bytes);
    } catch (const base::Failure &error) {
        return error.description();
    }
    return {};
}

const QStringList kStreamNames{QStringLiteral("WordDocument"), QStringLiteral("1Table"), QStringLiteral("Data")};

std::map<QString, QByteArray> streamsOf(const QByteArray &file)
{
    return doc::unpackCompoundFile(file, {kStreamNames.begin(), kStreamNames.end()});
}

QByteArray repack(const std::map<QString, QByteArray> &streams)
{
    std::vector<doc::CfbStream> list;
    for (const auto &[name, data] : streams)
        list.push_back({name, data});
    return doc::packCompoundFile(list, {});
}

QByteArray sampleFile()
{
    static const QByteArray file = encodeDoc(sampleform::makeSampleFormDocument());
    return file;
}

void setU16(QByteArray &data, int at, unsigned value)
{
    data[at] = char(value & 0xFF);
    data[at + 1] = char(value >> 8);
}

} // namespace

TEST(DocReaderRobustness, RefusesFilesThatAreNotWordDocumentsWithTheReason)
{
    EXPECT_TRUE(refusal(QByteArray()).contains(QStringLiteral("empty")));
    const QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200000001000000010806000000");
    EXPECT_TRUE(refusal(png).contains(QStringLiteral("not an OLE2 compound file")));
    EXPECT_TRUE(refusal("Dear landlord,\nplease find my application attached.\n").contains(QStringLiteral("not an OLE2")));
    EXPECT_TRUE(refusal(sampleFile().left(512)).contains(QStringLiteral("compound file")));

    const auto streams = streamsOf(sampleFile());
    EXPECT_TRUE(refusal(repack({{QStringLiteral("Contents"), QByteArray(2000, 'x')}}))
                    .contains(QStringLiteral("no WordDocument stream")));
    EXPECT_TRUE(refusal(repack({{QStringLiteral("WordDocument"), streams.at(QStringLiteral("WordDocument"))}}))
                    .contains(QStringLiteral("1Table stream is missing")));

    auto withFibWord = [&streams](int at, unsigned value) {
        auto changed = streams;
        setU16(changed[QStringLiteral("WordDocument")], at, value);
        return refusal(repack(changed));
    };
    EXPECT_TRUE(withFibWord(0x00, 0x1234).contains(QStringLiteral("file information block")));
    EXPECT_TRUE(withFibWord(0x0A, 0x1300).contains(QStringLiteral("encrypted")));
    EXPECT_TRUE(withFibWord(0x02, 0x0065).contains(QStringLiteral("Word 95")));
    EXPECT_TRUE(withFibWord(0x20, 3).contains(QStringLiteral("damaged")));
}

TEST(DocReaderRobustness, InconsistentStructuresAreReportedAsDamage)
{
    const auto streams = streamsOf(sampleFile());
    auto withTableCount = [&streams](int fcLcbIndex, std::uint32_t lcb) {
        auto changed = streams;
        QByteArray &word = changed[QStringLiteral("WordDocument")];
        const int at = 0x9A + 8 * fcLcbIndex + 4;
        setU16(word, at, lcb & 0xFFFF);
        setU16(word, at + 2, lcb >> 16);
        return refusal(repack(changed));
    };
    EXPECT_TRUE(withTableCount(33, 20).contains(QStringLiteral("piece table")));       // Clx
    EXPECT_TRUE(withTableCount(13, 10).contains(QStringLiteral("bin table")));         // PlcBtePapx
    EXPECT_TRUE(withTableCount(6, 0x7FFFFFFF).contains(QStringLiteral("damaged")));    // PlcfSed
    auto longerText = streams;
    setU16(longerText[QStringLiteral("WordDocument")], 0x4C, 0xFFFF);                  // ccpText
    EXPECT_TRUE(refusal(repack(longerText)).contains(QStringLiteral("damaged")));
}

TEST(DocReaderRobustness, EveryTruncationEndsInADocumentOrAnError)
{
    const QByteArray file = sampleFile();
    for (qsizetype length = 0; length < file.size(); length += 61)
        EXPECT_EQ(decodeOrRefuse(file.left(length)), Outcome::Refused) << "length " << length;
    // Streams cut short inside the container reach the structure parsers themselves.
    const auto streams = streamsOf(file);
    for (const QString &name : {QStringLiteral("WordDocument"), QStringLiteral("1Table")}) {
        const qsizetype size = streams.at(name).size();
        for (qsizetype length = 0; length < size; length += 23) {
            auto cut = streams;
            cut[name].truncate(length);
            decodeOrRefuse(repack(cut));
        }
    }
}

TEST(DocReaderRobustness, RandomCorruptionEndsInADocumentOrAnError)
{
    std::mt19937 random(20240607);
    const QByteArray file = sampleFile();
    const auto streams = streamsOf(file);
    int read = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        // Flipped bits anywhere in the file test the container; flipped bits and bytes inside the
        // streams test our own parsers, which most container damage never reaches.
        QByteArray damaged = file;
        for (int flips = 1 + int(random() % 8); flips > 0; --flips)
            damaged[random() % damaged.size()] ^= char(1 << (random() % 8));
        (decodeOrRefuse(damaged) == Outcome::Read ? read : refused)++;

        auto changed = streams;
        for (int flips = 1 + int(random() % 6); flips > 0; --flips) {
            QByteArray &stream = changed[kStreamNames[int(random() % 2)]];
            const qsizetype at = random() % 4 == 0 ? qsizetype(random() % 0x1A8) : qsizetype(random() % stream.size());
            if (random() % 2 == 0)
                stream[at] ^= char(1 << (random() % 8));
            else
                stream[at] = char(random() % 256);
        }
        (decodeOrRefuse(repack(changed)) == Outcome::Read ? read : refused)++;
    }
    EXPECT_EQ(read + refused, 600);
    EXPECT_GT(refused, 0);
}

// Every occurrence of a two-byte sprm in the streams gets `value` as its operand.
QByteArray withEverySprm(const char *sprm, unsigned value)
{
    auto streams = streamsOf(sampleFile());
    int changed = 0;
    for (const QString &name : kStreamNames.first(2)) {
        QByteArray &stream = streams[name];
        for (qsizetype at = stream.indexOf(QByteArray(sprm, 2)); at >= 0 && at + 4 <= stream.size();
             at = stream.indexOf(QByteArray(sprm, 2), at + 2)) {
            setU16(stream, int(at + 2), value);
            ++changed;
        }
    }
    EXPECT_GT(changed, 0) << "no sprm " << QByteArray(sprm, 2).toHex().constData();
    return repack(streams);
}

TEST(DocReaderRobustness, SizesOutsideWordsRangeAreIgnoredSoTheDocumentCanBeSavedAgain)
{
    // Word ignores such operands; a document read with them must still be writable. Font sizes
    // (sprmCHps) of 65512, 0 or 1 half points and beyond 1638 pt, in the runs and the style sheet
    // alike; row heights (sprmTDyaRowHeight) beyond 22 inches; negative cell padding (sprmTDxaGapHalf).
    const std::pair<const char *, unsigned> cases[] = {
        {"\x43\x4A", 0xFFE8}, {"\x43\x4A", 0}, {"\x43\x4A", 1}, {"\x43\x4A", 3277},
        {"\x07\x94", 32767}, {"\x07\x94", 0x8001}, {"\x02\x96", 0xFF00}};
    for (const auto &[sprm, bad] : cases) {
        Document document;
        ASSERT_NO_THROW(document = decodeDoc(withEverySprm(sprm, bad))) << bad;
        QByteArray again;
        ASSERT_NO_THROW(again = encodeDoc(document)) << bad;
        EXPECT_TRUE(decodeDoc(again) == document) << bad;
    }
}

TEST(DocReaderRobustness, PageSetupValuesWordRefusesAreIgnoredAndImpossibleMarginsAreDamage)
{
    // The first section's properties live in the WordDocument stream as sprm, operand pairs.
    auto withSectionSprm = [](const char *sprm, unsigned value) {
        auto streams = streamsOf(sampleFile());
        QByteArray &word = streams[QStringLiteral("WordDocument")];
        const qsizetype at = word.lastIndexOf(QByteArray(sprm, 2));
        EXPECT_GT(at, 0);
        setU16(word, int(at + 2), value);
        return repack(streams);
    };
    const Document sample = decodeDoc(sampleFile());
    // A footer 34 inches from the edge and a page 45 inches wide are beyond what Word allows.
    for (const auto &[sprm, value] : {std::pair{"\x18\xB0", 48592u}, std::pair{"\x1F\xB0", 65000u}}) {
        Document document;
        ASSERT_NO_THROW(document = decodeDoc(withSectionSprm(sprm, value))) << value;
        EXPECT_EQ(document.page.footerDistance, sample.page.footerDistance);
        EXPECT_EQ(document.page.pageWidth, sample.page.pageWidth);
        EXPECT_NO_THROW(encodeDoc(document));
    }
    // A left margin wider than the page is within Word's range, but leaves no page.
    EXPECT_TRUE(refusal(withSectionSprm("\x21\xB0", 31000)).contains(QStringLiteral("margins leave no room")));
}
