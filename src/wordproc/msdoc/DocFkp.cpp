#include "wordproc/msdoc/DocFkp.h"

#include "wordproc/msdoc/DocFormatConstants.h"
#include "base/Failure.h"

#include <map>

namespace wordproc::doc {

namespace {

constexpr int kLastByte = kFkpPageSize - 1; // holds the entry count
constexpr int kPheSize = 12;
constexpr int kMaxChpxEntries = 0x65;
constexpr int kMaxPapxEntries = 0x1D;

int entryHeaderSize(FkpKind kind) { return kind == FkpKind::Character ? 1 : 1 + kPheSize; }
int maxEntries(FkpKind kind) { return kind == FkpKind::Character ? kMaxChpxEntries : kMaxPapxEntries; }

// The stored form of one property set inside a page.
QByteArray storedForm(FkpKind kind, const QByteArray &properties)
{
    QByteArray stored;
    const qsizetype size = properties.size();
    if (kind == FkpKind::Character) {
        stored.append(char(size));
    } else if (size % 2 == 1) {
        stored.append(char((size + 1) / 2));
    } else {
        stored.append('\0');
        stored.append(char(size / 2));
    }
    stored.append(properties);
    return stored;
}

class PageBuilder {
public:
    explicit PageBuilder(FkpKind kind) : m_kind(kind) { m_page.fill('\0', kFkpPageSize); }

    bool isEmpty() const { return m_starts.empty(); }

    // Adds the run when it fits; the page keeps identical property sets only once.
    bool tryAdd(const FkpRun &run)
    {
        if (int(m_starts.size()) == maxEntries(m_kind))
            return false;
        const int entries = int(m_starts.size()) + 1;
        const int headerEnd = 4 * (entries + 1) + entries * entryHeaderSize(m_kind);
        int offset = 0;
        if (!run.properties.isEmpty() || m_kind == FkpKind::Paragraph) {
            const auto shared = m_offsets.find(run.properties);
            if (shared != m_offsets.end()) {
                offset = shared->second;
            } else {
                const QByteArray stored = storedForm(m_kind, run.properties);
                offset = (m_freeEnd - int(stored.size())) & ~1;
                if (offset < headerEnd)
                    return false;
                m_page.replace(offset, stored.size(), stored);
                m_freeEnd = offset;
                m_offsets.emplace(run.properties, offset);
            }
        }
        if (headerEnd > m_freeEnd)
            return false;
        m_starts.push_back(run.fcStart);
        m_end = run.fcEnd;
        m_wordOffsets.push_back(offset / 2);
        return true;
    }

    std::uint32_t firstFc() const { return m_starts.front(); }

    QByteArray finish() const
    {
        ByteWriter header;
        for (std::uint32_t fc : m_starts)
            header.u32(fc);
        header.u32(m_end);
        for (int wordOffset : m_wordOffsets) {
            header.u8(unsigned(wordOffset));
            if (m_kind == FkpKind::Paragraph)
                header.zeros(kPheSize);
        }
        QByteArray page = m_page;
        page.replace(0, header.size(), header.data());
        page[kLastByte] = char(m_starts.size());
        return page;
    }

private:
    FkpKind m_kind;
    QByteArray m_page;
    int m_freeEnd = kLastByte;
    std::vector<std::uint32_t> m_starts;
    std::vector<int> m_wordOffsets;
    std::uint32_t m_end = 0;
    std::map<QByteArray, int> m_offsets;
};

} // namespace

PackedPages packFkps(FkpKind kind, const std::vector<FkpRun> &runs, std::uint32_t firstPage)
{
    PackedPages packed;
    std::vector<std::uint32_t> pageStarts;
    PageBuilder page(kind);
    auto flush = [&] {
        pageStarts.push_back(page.firstFc());
        packed.pages.append(page.finish());
        page = PageBuilder(kind);
    };
    for (const FkpRun &run : runs) {
        if (page.tryAdd(run))
            continue;
        // Callers keep every property set under kMaxPapxInPage, so it fits an empty page.
        if (!page.isEmpty())
            flush();
        if (!page.tryAdd(run))
            throw base::Failure(QStringLiteral("A formatting record is too large for a Word file."));
    }
    if (!page.isEmpty())
        flush();

    ByteWriter table;
    for (std::uint32_t fc : pageStarts)
        table.u32(fc);
    table.u32(runs.empty() ? 0 : runs.back().fcEnd);
    for (size_t i = 0; i < pageStarts.size(); ++i)
        table.u32(firstPage + std::uint32_t(i));
    packed.binTable = table.data();
    return packed;
}

std::vector<FkpRun> readFkps(FkpKind kind, const ByteReader &wordDocument, const ByteReader &tableStream,
                             std::uint32_t fcBinTable, std::uint32_t lcbBinTable)
{
    const ByteReader table(tableStream.slice(fcBinTable, lcbBinTable), QStringLiteral("a formatting bin table"));
    if (table.size() < 4 || (table.size() - 4) % 8 != 0)
        throwDamaged(QStringLiteral("a formatting bin table has the wrong size"));
    const qint64 pageCount = (table.size() - 4) / 8;
    std::vector<FkpRun> runs;
    std::uint32_t previousEnd = 0;
    for (qint64 p = 0; p < pageCount; ++p) {
        const std::uint32_t pageNumber = table.u32(4 * (pageCount + 1) + 4 * p) & 0x3FFFFF;
        const ByteReader page(wordDocument.slice(qint64(pageNumber) * kFkpPageSize, kFkpPageSize),
                              QStringLiteral("a formatting page"));
        const int entries = page.u8(kLastByte);
        const int headerEnd = 4 * (entries + 1) + entries * entryHeaderSize(kind);
        if (entries < 1 || entries > maxEntries(kind) || headerEnd > kLastByte)
            throwDamaged(QStringLiteral("a formatting page has %1 entries").arg(entries));
        for (int i = 0; i < entries; ++i) {
            FkpRun run;
            run.fcStart = page.u32(4 * i);
            run.fcEnd = page.u32(4 * (i + 1));
            // Positions strictly increase, which also bounds the runs by the stream's size.
            if (run.fcEnd <= run.fcStart || run.fcStart < previousEnd)
                throwDamaged(QStringLiteral("the formatting pages are out of order"));
            previousEnd = run.fcEnd;
            const int offset = 2 * page.u8(4 * (entries + 1) + i * entryHeaderSize(kind));
            if (offset != 0) {
                if (offset < headerEnd)
                    throwDamaged(QStringLiteral("a formatting page entry overlaps the page's index"));
                int size = page.u8(offset);
                int start = offset + 1;
                if (kind == FkpKind::Paragraph) {
                    if (size == 0) {
                        size = 2 * page.u8(offset + 1);
                        start = offset + 2;
                    } else {
                        size = 2 * size - 1;
                    }
                }
                if (start + size > kLastByte)
                    throwDamaged(QStringLiteral("a formatting page entry reaches past its page"));
                run.properties = page.slice(start, size);
            }
            runs.push_back(std::move(run));
        }
    }
    return runs;
}

} // namespace wordproc::doc
