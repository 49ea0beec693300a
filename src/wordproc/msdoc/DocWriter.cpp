#include "wordproc/msdoc/DocWriter.h"

#include "wordproc/msdoc/CfbContainer.h"
#include "wordproc/msdoc/DocCharacterSprms.h"
#include "wordproc/msdoc/DocFib.h"
#include "wordproc/msdoc/DocFkp.h"
#include "wordproc/msdoc/DocFonts.h"
#include "wordproc/msdoc/DocFormatConstants.h"
#include "wordproc/msdoc/DocParagraphSprms.h"
#include "wordproc/msdoc/DocPieceTable.h"
#include "wordproc/msdoc/DocProperties.h"
#include "wordproc/msdoc/DocSection.h"
#include "wordproc/msdoc/DocSprms.h"
#include "wordproc/msdoc/DocStory.h"
#include "wordproc/msdoc/DocStyleSheet.h"
#include "base/Failure.h"
#include "base/SafeWrite.h"
#include "base/Version.h"
#include "base/WriteAll.h"

#include <QIODevice>
#include <QRegularExpression>

namespace wordproc {

namespace {

using namespace doc;

// CLSID 00020906-0000-0000-C000-000000000046 (Word document) in file byte order.
const QByteArray kWordClassId = QByteArray::fromHex("0609020000000000c000000000000046");
constexpr int kMaxHugePapx = 0x3FA2;
constexpr qsizetype kMinWordDocumentSize = 4096; // the compound file's small-stream cutoff

FontTable fontsOf(const Story &story)
{
    FontTable fonts = FontTable::withStandardFonts();
    for (const StoryRun &run : story.runs)
        fonts.add(run.format.fontName);
    return fonts;
}

QStringList tableStylesOf(const Story &story)
{
    QStringList styles;
    for (const StoryParagraph &paragraph : story.paragraphs)
        if (paragraph.row && !paragraph.row->style.isEmpty() && !styles.contains(paragraph.row->style))
            styles.append(paragraph.row->style);
    return styles;
}

// As Word does for a document without a title: its first line of text.
QString titleOf(const Story &story)
{
    constexpr int kMaxTitle = 255;
    static const QRegularExpression marks(QStringLiteral("[\\x07\\x0b\\x0c\\r]"));
    for (const QString &line : story.text.split(marks)) {
        const QString title = line.simplified();
        if (!title.isEmpty())
            return title.left(kMaxTitle);
    }
    return QString();
}

DocumentProperties propertiesOf(const Story &story)
{
    DocumentProperties properties;
    properties.title = titleOf(story);
    const QString version = QString::fromLatin1(base::build::kVersion);
    properties.application = QStringLiteral("Tenvoria ") + version;
    const QStringList parts = version.split(QLatin1Char('.'));
    properties.applicationVersion = (parts.value(0).toUInt() & 0xFFFF) << 16 | (parts.value(1).toUInt() & 0xFFFF);
    properties.created = QDateTime::currentDateTimeUtc();
    return properties;
}

class TableStreamBuilder {
public:
    FcLcb place(const QByteArray &structure)
    {
        m_out.alignTo(2);
        const FcLcb where{std::uint32_t(m_out.size()), std::uint32_t(structure.size())};
        m_out.bytes(structure);
        return where;
    }
    const QByteArray &data() const { return m_out.data(); }

private:
    ByteWriter m_out;
};

QByteArray sectionTable(std::int32_t ccp, std::uint32_t sepxOffset)
{
    ByteWriter out;
    out.u32(0);
    out.u32(std::uint32_t(ccp));
    out.i16(0);            // fn
    out.u32(sepxOffset);   // fcSepx
    out.i16(0);            // fnMpr
    out.u32(0xFFFFFFFF);   // fcMpr
    return out.data();
}

// A PAPX with its istd. Row definitions too large for a formatting page go to the Data stream.
QByteArray paragraphProperties(const StoryParagraph &paragraph, int tableStyleIstd, ByteWriter &dataStream)
{
    const QByteArray sprms = encodeParagraphSprms(paragraph, tableStyleIstd);
    ByteWriter papx;
    papx.u16(kNormalStyle);
    if (2 + sprms.size() <= kMaxPapxInPage) {
        papx.bytes(sprms);
        return papx.data();
    }
    if (sprms.size() > kMaxHugePapx)
        throw base::Failure(QStringLiteral("The document cannot be saved as a Word file: a table row "
                                             "definition is too large."));
    appendSprm(papx, sprm::PHugePapx, std::uint32_t(dataStream.size()));
    dataStream.i16(int(sprms.size()));
    dataStream.bytes(sprms);
    return papx.data();
}

} // namespace

QByteArray encodeDoc(const Document &document)
{
    const Story story = flattenStory(document);
    const QByteArray sectionSprms = encodeSectionSprms(document.page);
    const QByteArray dop = encodeDop(document.page);
    const FontTable fonts = fontsOf(story);
    const QStringList tableStyles = tableStylesOf(story);
    const auto ccp = std::int32_t(story.text.size());

    // WordDocument: the FIB, the text, the section properties, then the formatting pages.
    ByteWriter word;
    word.zeros(fib::kTextStart);
    const TextPieces text(story.text, fib::kTextStart);
    word.bytes(text.bytes());
    const auto fcOf = [&text](qsizetype cp) { return text.fcOf(cp); };

    word.alignTo(2); // 8-bit text can end on an odd offset; the section properties start on an even one
    const auto sepxOffset = std::uint32_t(word.size());
    word.i16(int(sectionSprms.size()));
    word.bytes(sectionSprms);
    word.alignTo(kFkpPageSize);

    std::vector<FkpRun> characterRuns;
    qsizetype start = 0;
    for (const StoryRun &run : story.runs) {
        characterRuns.push_back({fcOf(start), fcOf(run.end), encodeCharacterSprms(run.format, fonts)});
        start = run.end;
    }
    const PackedPages characterPages =
        packFkps(FkpKind::Character, characterRuns, std::uint32_t(word.size() / kFkpPageSize));
    word.bytes(characterPages.pages);

    ByteWriter dataStream;
    std::vector<FkpRun> paragraphRuns;
    start = 0;
    for (const StoryParagraph &paragraph : story.paragraphs) {
        const int styleIstd =
            paragraph.row && !paragraph.row->style.isEmpty()
                ? kFirstTableStyle + int(tableStyles.indexOf(paragraph.row->style))
                : -1;
        paragraphRuns.push_back({fcOf(start), fcOf(paragraph.end), paragraphProperties(paragraph, styleIstd, dataStream)});
        start = paragraph.end;
    }
    const PackedPages paragraphPages =
        packFkps(FkpKind::Paragraph, paragraphRuns, std::uint32_t(word.size() / kFkpPageSize));
    word.bytes(paragraphPages.pages);
    const auto meaningfulSize = std::uint32_t(word.size());
    // antiword cannot read a WordDocument stream kept in the compound file's small-block area.
    word.padTo(kMinWordDocumentSize);

    TableStreamBuilder table;
    Fib fib;
    fib.styleSheet = table.place(StyleSheet::encode(encodeCharacterSprms(CharFormat{}, fonts), tableStyles));
    fib.sectionTable = table.place(sectionTable(ccp, sepxOffset));
    fib.characterBins = table.place(characterPages.binTable);
    fib.paragraphBins = table.place(paragraphPages.binTable);
    fib.fontTable = table.place(fonts.encode());
    fib.documentProperties = table.place(dop);
    fib.pieceTable = table.place(text.encodeClx());
    fib.textStart = text.start();
    fib.textEnd = text.end();
    fib.ccpText = ccp;
    fib.wordDocumentSize = meaningfulSize;

    QByteArray wordDocument = word.data();
    wordDocument.replace(0, fib::kSize, fib.encode());
    std::vector<CfbStream> streams{{QStringLiteral("WordDocument"), wordDocument},
                                   {QStringLiteral("1Table"), table.data()}};
    if (dataStream.size() > 0)
        streams.push_back({QStringLiteral("Data"), dataStream.data()});
    const DocumentProperties properties = propertiesOf(story);
    streams.push_back({summaryInformationName(), encodeSummaryInformation(properties)});
    streams.push_back({documentSummaryInformationName(), encodeDocumentSummaryInformation(properties)});
    streams.push_back({compObjName(), encodeCompObj()});
    return packCompoundFile(streams, kWordClassId);
}

void writeDoc(const Document &document, const QString &path)
{
    try {
        base::replaceFile(path, encodeDoc(document));
    } catch (const base::WriteFailure &failure) {
        throw base::Failure(QStringLiteral("The Word file %1 could not be written: %2").arg(path, failure.reason()));
    }
}

void writeDoc(const Document &document, QIODevice &device)
{
    const QByteArray bytes = encodeDoc(document);
    if (!base::writeAll(device, bytes))
        throw base::Failure(QStringLiteral("The Word file could not be written: %1").arg(device.errorString()));
}

} // namespace wordproc
