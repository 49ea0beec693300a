#include "wordproc/msdoc/DocReader.h"
#include "base/ReadAll.h"

#include "wordproc/msdoc/CfbContainer.h"
#include "wordproc/msdoc/DocCharacterSprms.h"
#include "wordproc/msdoc/DocFib.h"
#include "wordproc/msdoc/DocFkp.h"
#include "wordproc/msdoc/DocFonts.h"
#include "wordproc/msdoc/DocFormatConstants.h"
#include "wordproc/msdoc/DocParagraphSprms.h"
#include "wordproc/msdoc/DocPieceTable.h"
#include "wordproc/msdoc/DocSection.h"
#include "wordproc/msdoc/DocSprms.h"
#include "wordproc/msdoc/DocStory.h"
#include "wordproc/msdoc/DocStyleSheet.h"
#include "base/Failure.h"

#include <QFile>

#include <cerrno>

#include <algorithm>
#include <limits>
#include <map>

namespace wordproc {

namespace {

using namespace doc;

const QByteArray kCompoundFileSignature = QByteArray::fromHex("d0cf11e0a1b11ae1");
constexpr int kMaxStyleDepth = 16;
constexpr qint64 kMaxFileSize = qint64(1) << 30;

// A formatting run mapped from file positions to character positions.
struct CpRun {
    qint64 start = 0, end = 0;
    const QByteArray *properties = nullptr;
};

std::vector<CpRun> toCpRuns(const std::vector<FkpRun> &runs, const PieceTable &pieces)
{
    std::vector<CpRun> mapped;
    for (const FkpRun &run : runs)
        for (const auto &[start, end] : pieces.cpRangesOf(run.fcStart, run.fcEnd))
            mapped.push_back({start, end, &run.properties});
    std::stable_sort(mapped.begin(), mapped.end(), [](const CpRun &a, const CpRun &b) { return a.start < b.start; });
    return mapped;
}

// Answers "which run covers this position" for positions that only ever increase.
class CpRunCursor {
public:
    explicit CpRunCursor(const std::vector<CpRun> &runs) : m_runs(runs) {}

    // The properties at position (nullptr: none) and the next position where the answer changes.
    const QByteArray *at(qint64 position, qint64 &changesAt)
    {
        while (m_index < m_runs.size() && m_runs[m_index].end <= position)
            ++m_index;
        if (m_index == m_runs.size()) {
            changesAt = std::numeric_limits<qint64>::max();
            return nullptr;
        }
        const CpRun &run = m_runs[m_index];
        changesAt = run.start <= position ? run.end : run.start;
        return run.start <= position ? run.properties : nullptr;
    }

private:
    const std::vector<CpRun> &m_runs;
    size_t m_index = 0;
};

// Resolves styles along their base styles, once per style.
class StyleResolver {
public:
    StyleResolver(const StyleSheet &styles, const FontTable &fonts) : m_styles(styles), m_fonts(fonts)
    {
        m_default.halfPoints = 20; // Word's 10 pt when no style says otherwise
        if (styles.defaultFontIndex < fonts.size())
            m_default.fontName = fonts.nameAt(styles.defaultFontIndex);
    }

    const CharFormat &characterFormat(int istd) { return resolve(istd, 0).format; }
    const QByteArray &paragraphSprms(int istd) { return resolve(istd, 0).paragraphSprms; }

private:
    struct Resolved {
        CharFormat format;
        QByteArray paragraphSprms;
    };

    const Resolved &resolve(int istd, int depth)
    {
        if (const auto known = m_resolved.find(istd); known != m_resolved.end())
            return known->second;
        Resolved resolved{m_default, {}};
        const Style *style = m_styles.at(istd);
        if (style && depth < kMaxStyleDepth) {
            if (style->baseIstd != istd && m_styles.at(style->baseIstd))
                resolved = resolve(style->baseIstd, depth + 1);
            applyCharacterSprms(style->characterSprms, resolved.format, m_fonts);
            resolved.paragraphSprms += style->paragraphSprms;
        }
        return m_resolved.insert_or_assign(istd, resolved).first->second;
    }

    const StyleSheet &m_styles;
    const FontTable &m_fonts;
    CharFormat m_default;
    std::map<int, Resolved> m_resolved;
};

struct Streams {
    ByteReader wordDocument;
    ByteReader table;
    ByteReader data;
    Fib fib;
};

Streams openStreams(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        throw base::Failure(QStringLiteral("The file is empty: it is not a Word document."));
    if (!bytes.startsWith(kCompoundFileSignature))
        throw base::Failure(QStringLiteral("The file is not a Word 97-2003 document: it is not an OLE2 "
                                             "compound file."));
    auto streams = unpackCompoundFile(bytes, {QStringLiteral("WordDocument"), QStringLiteral("0Table"),
                                              QStringLiteral("1Table"), QStringLiteral("Data")});
    if (!streams.count(QStringLiteral("WordDocument")))
        throw base::Failure(QStringLiteral("The file is not a Word document: it holds no WordDocument stream."));
    ByteReader word(streams[QStringLiteral("WordDocument")], QStringLiteral("the WordDocument stream"));
    const Fib fib = Fib::decode(word);
    const QString tableName = fib.tableStreamIsOne ? QStringLiteral("1Table") : QStringLiteral("0Table");
    if (!streams.count(tableName))
        throw base::Failure(QStringLiteral("The Word document is damaged and cannot be opened: its %1 stream "
                                             "is missing.").arg(tableName));
    return {std::move(word), ByteReader(streams[tableName], QStringLiteral("the %1 stream").arg(tableName)),
            ByteReader(streams[QStringLiteral("Data")], QStringLiteral("the Data stream")), fib};
}

// A PAPX that keeps its sprms in the Data stream carries only sprmPHugePapx.
QByteArray withHugeProperties(const QByteArray &sprms, const ByteReader &data)
{
    QByteArray expanded;
    for (const Sprm &sprm : parseSprms(sprms)) {
        if (sprm.id != sprm::PHugePapx)
            continue;
        const std::uint32_t offset = sprm.value();
        const int size = data.i16(offset);
        if (size < 0)
            throwDamaged(QStringLiteral("a paragraph's properties in the Data stream have a negative size"));
        expanded += data.slice(qint64(offset) + 2, size);
    }
    return expanded.isEmpty() ? sprms : sprms + expanded;
}

class StoryReader {
public:
    StoryReader(const Streams &streams, const Fib &fib)
        : m_streams(streams),
          m_pieces(PieceTable::decode(streams.table, fib.pieceTable)),
          m_fonts(FontTable::decode(streams.table, fib.fontTable.fc, fib.fontTable.lcb)),
          m_styles(StyleSheet::decode(streams.table, fib.styleSheet.fc, fib.styleSheet.lcb)),
          m_characterFkps(readFkps(FkpKind::Character, streams.wordDocument, streams.table, fib.characterBins.fc,
                                   fib.characterBins.lcb)),
          m_paragraphFkps(readFkps(FkpKind::Paragraph, streams.wordDocument, streams.table, fib.paragraphBins.fc,
                                   fib.paragraphBins.lcb)),
          m_resolver(m_styles, m_fonts)
    {
        if (fib.ccpText > streams.wordDocument.size())
            throwDamaged(QStringLiteral("the text is longer than the file"));
        m_story.text = m_pieces.text(streams.wordDocument, fib.ccpText);
    }

    Story read()
    {
        const std::vector<CpRun> characterRuns = toCpRuns(m_characterFkps, m_pieces);
        const std::vector<CpRun> paragraphRuns = toCpRuns(m_paragraphFkps, m_pieces);
        CpRunCursor characters(characterRuns), paragraphs(paragraphRuns);
        const QString &text = m_story.text;
        qint64 start = 0;
        for (qint64 mark = 0; mark < text.size(); ++mark) {
            const char16_t c = text.at(mark).unicode();
            if (c != kParagraphMark && c != kCellMark)
                continue;
            qint64 unused = 0;
            const int istd = addParagraph(paragraphs.at(mark, unused), mark + 1);
            addRuns(characters, start, mark + 1, istd);
            start = mark + 1;
        }
        return std::move(m_story);
    }

private:
    struct ParagraphProperties {
        int istd = kNormalStyle;
        ParagraphSprmReader sprms;
    };

    // Paragraphs that share a property set share its parsing too.
    const ParagraphProperties &propertiesOf(const QByteArray *papx)
    {
        if (const auto known = m_parsedParagraphs.find(papx); known != m_parsedParagraphs.end())
            return known->second;
        ParagraphProperties parsed;
        QByteArray sprms;
        if (papx && papx->size() >= 2) {
            parsed.istd = std::uint8_t(papx->at(0)) | (std::uint8_t(papx->at(1)) << 8);
            sprms = withHugeProperties(papx->mid(2), m_streams.data);
        }
        parsed.sprms.apply(m_resolver.paragraphSprms(parsed.istd));
        parsed.sprms.apply(sprms);
        return m_parsedParagraphs.emplace(papx, std::move(parsed)).first->second;
    }

    int addParagraph(const QByteArray *papx, qint64 end)
    {
        const ParagraphProperties &parsed = propertiesOf(papx);
        const ParagraphSprmReader &properties = parsed.sprms;
        const int istd = parsed.istd;
        if (properties.depth() > 1)
            throw base::Failure(QStringLiteral("The Word document holds a table inside a table, which "
                                                 "cannot be opened."));
        StoryParagraph paragraph{end, properties.alignment(), properties.inTable(), std::nullopt};
        if (properties.endsRow())
            paragraph.row = properties.rowLayout(m_styles);
        m_story.paragraphs.push_back(std::move(paragraph));
        return istd;
    }

    void addRuns(CpRunCursor &characters, qint64 start, qint64 end, int istd)
    {
        const CharFormat base = m_resolver.characterFormat(istd);
        for (qint64 position = start; position < end;) {
            qint64 changesAt = 0;
            const QByteArray *chpx = characters.at(position, changesAt);
            const qint64 runEnd = std::min(changesAt, end);
            CharFormat format = base;
            if (chpx)
                applyCharacterSprms(*chpx, format, m_fonts);
            if (!m_story.runs.empty() && m_story.runs.back().format == format)
                m_story.runs.back().end = runEnd;
            else
                m_story.runs.push_back({runEnd, format});
            position = runEnd;
        }
    }

    const Streams &m_streams;
    PieceTable m_pieces;
    FontTable m_fonts;
    StyleSheet m_styles;
    std::vector<FkpRun> m_characterFkps;
    std::vector<FkpRun> m_paragraphFkps;
    StyleResolver m_resolver;
    std::map<const QByteArray *, ParagraphProperties> m_parsedParagraphs;
    Story m_story;
};

PageSetup readPageSetup(const Streams &streams, const Fib &fib)
{
    PageSetup page;
    if (fib.sectionTable.lcb > 0) {
        const ByteReader sections(streams.table.slice(fib.sectionTable.fc, fib.sectionTable.lcb),
                                  QStringLiteral("the section table"));
        constexpr int kSedSize = 12;
        if (sections.size() < 4 + 4 + kSedSize || (sections.size() - 4) % (4 + kSedSize) != 0)
            throwDamaged(QStringLiteral("the section table has the wrong size"));
        const qint64 count = (sections.size() - 4) / (4 + kSedSize);
        const std::uint32_t sepx = sections.u32(4 * (count + 1) + 2); // the first section's
        if (sepx != 0xFFFFFFFF) {
            const int size = streams.wordDocument.i16(sepx);
            if (size < 0)
                throwDamaged(QStringLiteral("the section properties have a negative size"));
            applySectionSprms(streams.wordDocument.slice(qint64(sepx) + 2, size), page);
        }
    }
    if (fib.documentProperties.lcb > 0)
        applyDop(streams.table.slice(fib.documentProperties.fc, fib.documentProperties.lcb), page);
    return page;
}

} // namespace

Document decodeDoc(const QByteArray &bytes)
{
    const Streams streams = openStreams(bytes);
    Document document;
    document.body = rebuildBody(StoryReader(streams, streams.fib).read());
    document.page = readPageSetup(streams, streams.fib);
    return document;
}

namespace {
QByteArray readDocBytes(const QString &path)
{
    base::FileReading reading = base::readRegularFile(path, kMaxFileSize);
    if (reading.error == EFBIG)
        throw base::Failure(QStringLiteral("The file %1 is too large to be a Word document this program wrote.").arg(path));
    if (reading.error != 0)
        throw base::Failure(QStringLiteral("The Word file %1 could not be read: %2")
                                .arg(path, base::readingFailureReason(reading.error, kMaxFileSize)));
    return std::move(reading.bytes);
}
} // namespace

Document readDoc(const QString &path) { return decodeDoc(readDocBytes(path)); }

std::shared_ptr<const StoredDocument> storedDocument(QByteArray bytes)
{
    Document document = decodeDoc(bytes);
    return std::make_shared<const StoredDocument>(StoredDocument{std::move(bytes), std::move(document)});
}

std::shared_ptr<const StoredDocument> readStoredDoc(const QString &path) { return storedDocument(readDocBytes(path)); }

} // namespace wordproc
