#include "wordproc/msdoc/CfbContainer.h"

#include "base/Bytes.h"
#include "base/Failure.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>

namespace wordproc::doc {

namespace {

// Sector ids with a meaning of their own in the allocation tables and the header.
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;

constexpr char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::uint64_t kSectorSize = 512;
constexpr std::uint64_t kMiniSectorSize = 64;
constexpr std::uint64_t kMiniStreamCutoff = 4096;
constexpr std::uint64_t kEntrySize = 128;
constexpr std::uint64_t kIdsPerSector = kSectorSize / 4;
constexpr std::uint64_t kHeaderDifatSlots = 109;
constexpr int kMaxNameUnits = 31; // 32 UTF-16 units with the terminating null
// Past 2 GB a file of 512-byte sectors would need the sector that other programs lock byte
// ranges in kept free; Word files never come near that, so the writer stops short of it.
constexpr std::uint64_t kMaxFileSize = 0x7FFFFE00;

enum EntryType : std::uint8_t { kStorage = 1, kStream = 2, kRoot = 5 };
enum EntryColour : std::uint8_t { kRed = 0, kBlack = 1 };

std::uint64_t blocks(std::uint64_t bytes, std::uint64_t blockSize)
{
    return bytes / blockSize + (bytes % blockSize != 0);
}

void put16(QByteArray &bytes, std::uint64_t at, std::uint16_t value)
{
    for (int i = 0; i < 2; ++i)
        bytes[qsizetype(at) + i] = char(value >> (8 * i));
}

void put32(QByteArray &bytes, std::uint64_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[qsizetype(at) + i] = char(value >> (8 * i));
}

// Directory order: shorter names first, then code unit by code unit ignoring case. Readers that
// look a name up walk the sibling tree in this order, so it must match theirs exactly.
int compareNames(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].toUpper().unicode();
        const char16_t y = b[i].toUpper().unicode();
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

[[noreturn]] void packFailed()
{
    throw base::Failure(QStringLiteral("The Word file could not be put together in memory."));
}

bool nameFits(const QString &name)
{
    return !name.isEmpty() && name.size() <= kMaxNameUnits
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
           && !name.contains(QLatin1Char(':')) && !name.contains(QLatin1Char('!'));
}

struct DirectoryEntry {
    QString name;
    EntryType type = kStream;
    EntryColour colour = kBlack;
    std::uint32_t left = kNoEntry;
    std::uint32_t right = kNoEntry;
    std::uint32_t child = kNoEntry;
    std::uint32_t start = kEndOfChain;
    std::uint64_t size = 0;
    QByteArray classId;
};

void writeEntry(QByteArray &file, std::uint64_t at, const DirectoryEntry &entry)
{
    for (qsizetype i = 0; i < entry.name.size(); ++i)
        put16(file, at + 2 * std::uint64_t(i), entry.name[i].unicode());
    put16(file, at + 64, std::uint16_t(2 * (entry.name.size() + 1)));
    file[qsizetype(at + 66)] = char(entry.type);
    file[qsizetype(at + 67)] = char(entry.colour);
    put32(file, at + 68, entry.left);
    put32(file, at + 72, entry.right);
    put32(file, at + 76, entry.child);
    if (entry.classId.size() == 16)
        std::memcpy(file.data() + at + 80, entry.classId.constData(), 16);
    put32(file, at + 116, entry.start);
    put32(file, at + 120, std::uint32_t(entry.size));
    put32(file, at + 124, std::uint32_t(entry.size >> 32));
}

// Links the entries `sorted` (ids in directory order) into a balanced binary tree and returns its
// root. Every level but the deepest is full; colouring that deepest level red and the rest black
// gives every path the same number of black entries, so the tree is a valid red-black tree.
std::uint32_t linkTree(std::vector<DirectoryEntry> &entries, const std::vector<std::uint32_t> &sorted)
{
    int fullLevels = 0;
    while ((std::size_t(2) << fullLevels) - 1 <= sorted.size())
        ++fullLevels;
    std::function<std::uint32_t(std::size_t, std::size_t, int)> link = [&](std::size_t from, std::size_t to, int depth) {
        if (from >= to)
            return kNoEntry;
        const std::size_t middle = from + (to - from) / 2;
        DirectoryEntry &entry = entries[sorted[middle]];
        entry.colour = depth >= fullLevels ? kRed : kBlack;
        entry.left = link(from, middle, depth + 1);
        entry.right = link(middle + 1, to, depth + 1);
        return sorted[middle];
    };
    return link(0, sorted.size(), 0);
}

// ---- Reading ----------------------------------------------------------------------------------

const QString kDamagedContainer = QStringLiteral("The file is not a Word document: its compound file structure "
                                                 "is missing or damaged.");

[[noreturn]] void damagedContainer() { throw base::Failure(kDamagedContainer); }

// Every read of the file's bytes, and of the directory's and the mini FAT's, is bounds-checked:
// a structure that points outside them is refused as damaged.
base::ByteReader checkedBytes(const QByteArray &bytes) { return base::ByteReader(bytes, kDamagedContainer); }

class CompoundFileReader {
public:
    explicit CompoundFileReader(const QByteArray &file) : m_file(checkedBytes(file))
    {
        if (std::uint64_t(file.size()) < kSectorSize || !file.startsWith(QByteArray(kSignature, 8)))
            damagedContainer();
        const std::uint16_t major = m_file.u16(0x1A);
        const std::uint16_t sectorShift = m_file.u16(0x1E);
        if (m_file.u16(0x1C) != 0xFFFE || m_file.u16(0x20) != 6 || m_file.u32(0x38) != kMiniStreamCutoff
            || !((major == 3 && sectorShift == 9) || (major == 4 && sectorShift == 12)))
            damagedContainer();
        m_version4 = major == 4;
        m_sectorSize = std::uint64_t(1) << sectorShift;
        if (std::uint64_t(file.size()) < m_sectorSize)
            damagedContainer();
        // A sector cut short at the end of the file belongs to no intact chain.
        m_sectorCount = (std::uint64_t(file.size()) - m_sectorSize) / m_sectorSize;

        readAllocationTable();
        m_directory = checkedBytes(readWholeChain(m_file.u32(0x30)));
        if (m_directory.size() < qint64(kEntrySize) || entryType(0) != kRoot)
            damagedContainer();
        m_miniFatStart = m_file.u32(0x3C);
        m_miniFatSectors = m_file.u32(0x40);
        collectStreams();
    }

    // The stream's bytes, or nothing when the file holds no stream of that name.
    std::optional<QByteArray> stream(const QString &name)
    {
        const auto found = std::find_if(m_streams.begin(), m_streams.end(), [&name](const auto &entry) {
            return compareNames(entry.first, name) == 0;
        });
        if (found == m_streams.end())
            return std::nullopt;
        const std::uint32_t id = found->second;
        const std::uint64_t size = entrySize(id);
        // A stream cannot hold more than the whole file; a larger size is a damaged directory.
        if (size > std::uint64_t(m_file.size()))
            throw base::Failure(QStringLiteral("The Word document is damaged and cannot be opened: "
                                                 "the %1 stream has an impossible size.").arg(name));
        const std::uint32_t start = entryStart(id);
        std::optional<QByteArray> data = size == 0                  ? QByteArray()
                                         : size < kMiniStreamCutoff ? readMiniChain(start, size)
                                                                    : readChain(start, size);
        if (!data)
            throw base::Failure(QStringLiteral("The Word document is damaged and cannot be opened: "
                                                 "the %1 stream cannot be read whole.").arg(name));
        return data;
    }

private:
    qint64 sector(std::uint32_t id) const { return qint64((std::uint64_t(id) + 1) * m_sectorSize); }
    qint64 entry(std::uint32_t id) const { return qint64(std::uint64_t(id) * kEntrySize); }
    std::uint32_t entryCount() const { return std::uint32_t(std::uint64_t(m_directory.size()) / kEntrySize); }
    std::uint8_t entryType(std::uint32_t id) const { return m_directory.u8(entry(id) + 66); }
    std::uint32_t entryStart(std::uint32_t id) const { return m_directory.u32(entry(id) + 116); }
    std::uint64_t entrySize(std::uint32_t id) const
    {
        // Old writers of 512-byte-sector files left garbage in the size's high half.
        const std::uint64_t high = m_version4 ? m_directory.u32(entry(id) + 124) : 0;
        return high << 32 | m_directory.u32(entry(id) + 120);
    }

    void readAllocationTable()
    {
        const std::uint64_t fatSectors = m_file.u32(0x2C);
        if (fatSectors == 0 || fatSectors > m_sectorCount)
            damagedContainer();
        std::vector<std::uint32_t> fatIds;
        for (std::uint64_t i = 0; i < kHeaderDifatSlots && fatIds.size() < fatSectors; ++i)
            fatIds.push_back(m_file.u32(qint64(0x4C + 4 * i)));
        // Further FAT sectors are listed in a chain of DIFAT sectors, each ending with the next's id.
        const std::uint64_t idsPerDifat = m_sectorSize / 4 - 1;
        std::uint32_t difat = m_file.u32(0x44);
        std::vector<bool> seen(m_sectorCount);
        while (fatIds.size() < fatSectors) {
            if (difat >= m_sectorCount || seen[difat])
                damagedContainer();
            seen[difat] = true;
            const qint64 ids = sector(difat);
            for (std::uint64_t i = 0; i < idsPerDifat && fatIds.size() < fatSectors; ++i)
                fatIds.push_back(m_file.u32(ids + qint64(4 * i)));
            difat = m_file.u32(ids + qint64(4 * idsPerDifat));
        }
        m_fat.reserve(fatSectors * (m_sectorSize / 4));
        for (const std::uint32_t id : fatIds) {
            if (id >= m_sectorCount)
                damagedContainer();
            for (std::uint64_t i = 0; i < m_sectorSize / 4; ++i)
                m_fat.push_back(m_file.u32(sector(id) + qint64(4 * i)));
        }
    }

    // The bytes of the chain of sectors from `start`: `size` of them, or for the directory
    // (size unknown) every sector up to the chain's end. Nothing when the chain runs out early,
    // leaves the file or comes back on itself.
    std::optional<QByteArray> readChain(std::uint32_t start, std::optional<std::uint64_t> size) const
    {
        if (size && blocks(*size, m_sectorSize) > m_sectorCount)
            return std::nullopt;
        QByteArray bytes;
        std::vector<bool> seen(m_sectorCount);
        std::uint32_t id = start;
        for (std::uint64_t left = size.value_or(0); size ? left > 0 : id != kEndOfChain;) {
            if (id >= m_sectorCount || id >= m_fat.size() || seen[id])
                return std::nullopt;
            seen[id] = true;
            const std::uint64_t taken = size ? std::min(left, m_sectorSize) : m_sectorSize;
            bytes.append(m_file.slice(sector(id), qint64(taken)));
            left -= size ? taken : 0;
            id = m_fat[id];
        }
        return bytes;
    }

    QByteArray readWholeChain(std::uint32_t start) const
    {
        std::optional<QByteArray> bytes = readChain(start, std::nullopt);
        if (!bytes)
            damagedContainer();
        return *bytes;
    }

    std::optional<QByteArray> readMiniChain(std::uint32_t start, std::uint64_t size)
    {
        loadMiniStream();
        const std::uint64_t miniSectors = std::uint64_t(m_miniStream.size()) / kMiniSectorSize;
        if (blocks(size, kMiniSectorSize) > miniSectors)
            return std::nullopt;
        QByteArray bytes;
        std::vector<bool> seen(miniSectors);
        std::uint32_t id = start;
        for (std::uint64_t left = size; left > 0;) {
            if (id >= miniSectors || id >= m_miniFat.size() || seen[id])
                return std::nullopt;
            seen[id] = true;
            const std::uint64_t taken = std::min(left, kMiniSectorSize);
            bytes.append(m_miniStream.slice(qint64(std::uint64_t(id) * kMiniSectorSize), qint64(taken)));
            left -= taken;
            id = m_miniFat[id];
        }
        return bytes;
    }

    // The mini stream is the root entry's own data, and the mini FAT chains its 64-byte blocks.
    void loadMiniStream()
    {
        if (m_miniLoaded)
            return;
        m_miniLoaded = true;
        const std::uint64_t miniStreamSize = entrySize(0);
        std::optional<QByteArray> miniStream = readChain(entryStart(0), miniStreamSize);
        if (m_miniFatSectors > m_sectorCount)
            damagedContainer();
        std::optional<QByteArray> miniFat = readChain(m_miniFatStart, m_miniFatSectors * m_sectorSize);
        if (!miniStream || !miniFat)
            damagedContainer();
        m_miniStream = checkedBytes(*miniStream);
        const base::ByteReader table = checkedBytes(*miniFat);
        for (qint64 at = 0; at + 4 <= table.size(); at += 4)
            m_miniFat.push_back(table.u32(at));
    }

    // The root's children: a binary tree through the left and right links, walked without
    // trusting it to be a tree.
    void collectStreams()
    {
        std::vector<bool> seen(entryCount());
        seen[0] = true;
        std::vector<std::uint32_t> pending{m_directory.u32(entry(0) + 76)};
        while (!pending.empty()) {
            const std::uint32_t id = pending.back();
            pending.pop_back();
            if (id == kNoEntry)
                continue;
            if (id >= entryCount() || seen[id])
                damagedContainer();
            seen[id] = true;
            const std::uint16_t nameBytes = m_directory.u16(entry(id) + 64);
            if (nameBytes > 64 || nameBytes % 2 != 0)
                damagedContainer();
            if (entryType(id) == kStream && nameBytes >= 2) {
                QString name(qsizetype(nameBytes / 2 - 1), Qt::Uninitialized);
                for (qsizetype i = 0; i < name.size(); ++i)
                    name[i] = QChar(m_directory.u16(entry(id) + 2 * i));
                m_streams.emplace_back(name, id);
            }
            pending.push_back(m_directory.u32(entry(id) + 68));
            pending.push_back(m_directory.u32(entry(id) + 72));
        }
    }

    const base::ByteReader m_file;
    bool m_version4 = false;
    std::uint64_t m_sectorSize = kSectorSize;
    std::uint64_t m_sectorCount = 0;
    std::vector<std::uint32_t> m_fat;
    base::ByteReader m_directory = checkedBytes({});
    std::vector<std::pair<QString, std::uint32_t>> m_streams;
    std::uint32_t m_miniFatStart = kEndOfChain;
    std::uint64_t m_miniFatSectors = 0;
    bool m_miniLoaded = false;
    base::ByteReader m_miniStream = checkedBytes({});
    std::vector<std::uint32_t> m_miniFat;
};

} // namespace

QByteArray packCompoundFile(const std::vector<CfbStream> &streams, const QByteArray &rootClassId)
{
    std::vector<std::uint32_t> sorted;
    for (std::uint32_t i = 0; i < streams.size(); ++i) {
        if (!nameFits(streams[i].name))
            packFailed();
        sorted.push_back(i + 1);
    }
    std::sort(sorted.begin(), sorted.end(), [&streams](std::uint32_t a, std::uint32_t b) {
        return compareNames(streams[a - 1].name, streams[b - 1].name) < 0;
    });
    for (std::size_t i = 1; i < sorted.size(); ++i)
        if (compareNames(streams[sorted[i - 1] - 1].name, streams[sorted[i] - 1].name) == 0)
            packFailed();

    // Layout after the header: FAT, DIFAT, directory, mini FAT, mini stream, then the large
    // streams, each in one run of sectors.
    std::uint64_t miniBlocks = 0, largeSectors = 0;
    for (const CfbStream &stream : streams) {
        const auto size = std::uint64_t(stream.data.size());
        if (size > kMaxFileSize)
            packFailed();
        (size < kMiniStreamCutoff ? miniBlocks : largeSectors) +=
            size < kMiniStreamCutoff ? blocks(size, kMiniSectorSize) : blocks(size, kSectorSize);
    }
    const std::uint64_t directorySectors = blocks((streams.size() + 1) * kEntrySize, kSectorSize);
    const std::uint64_t miniFatSectors = blocks(miniBlocks, kIdsPerSector);
    const std::uint64_t miniStreamSectors = blocks(miniBlocks * kMiniSectorSize, kSectorSize);
    const std::uint64_t contentSectors = directorySectors + miniFatSectors + miniStreamSectors + largeSectors;
    // The FAT covers itself and the DIFAT sectors that list it past the header's 109 slots.
    std::uint64_t fatSectors = 0, difatSectors = 0;
    for (;;) {
        const std::uint64_t total = contentSectors + fatSectors + difatSectors;
        const std::uint64_t fatNeeded = blocks(total, kIdsPerSector);
        const std::uint64_t difatNeeded =
            fatNeeded > kHeaderDifatSlots ? blocks(fatNeeded - kHeaderDifatSlots, kIdsPerSector - 1) : 0;
        if (fatNeeded == fatSectors && difatNeeded == difatSectors)
            break;
        fatSectors = fatNeeded;
        difatSectors = difatNeeded;
        if ((contentSectors + fatSectors + difatSectors + 1) * kSectorSize > kMaxFileSize)
            packFailed();
    }
    const std::uint64_t totalSectors = contentSectors + fatSectors + difatSectors;

    QByteArray file(qsizetype((totalSectors + 1) * kSectorSize), '\0');
    if (std::uint64_t(file.size()) != (totalSectors + 1) * kSectorSize)
        packFailed();
    auto sectorAt = [](std::uint64_t id) { return (id + 1) * kSectorSize; };
    std::vector<std::uint32_t> fat(fatSectors * kIdsPerSector, kFreeSector);
    std::vector<std::uint32_t> miniFat(miniFatSectors * kIdsPerSector, kFreeSector);
    auto chain = [](std::vector<std::uint32_t> &table, std::uint64_t first, std::uint64_t count) {
        for (std::uint64_t i = 0; i < count; ++i)
            table[first + i] = i + 1 < count ? std::uint32_t(first + i + 1) : kEndOfChain;
        return count > 0 ? std::uint32_t(first) : kEndOfChain;
    };

    std::uint64_t next = 0;
    for (std::uint64_t i = 0; i < fatSectors; ++i)
        fat[next++] = kFatSector;
    const std::uint64_t firstDifat = next;
    for (std::uint64_t i = 0; i < difatSectors; ++i)
        fat[next++] = kDifatSector;
    const std::uint32_t directoryStart = chain(fat, next, directorySectors);
    next += directorySectors;
    const std::uint32_t miniFatStart = chain(fat, next, miniFatSectors);
    next += miniFatSectors;
    const std::uint64_t miniStreamStart = next;
    chain(fat, next, miniStreamSectors);
    next += miniStreamSectors;

    std::vector<DirectoryEntry> entries(streams.size() + 1);
    entries[0].name = QStringLiteral("Root Entry");
    entries[0].type = kRoot;
    entries[0].classId = rootClassId;
    entries[0].start = miniStreamSectors > 0 ? std::uint32_t(miniStreamStart) : kEndOfChain;
    entries[0].size = miniBlocks * kMiniSectorSize;
    std::uint64_t nextMini = 0;
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const QByteArray &data = streams[i].data;
        DirectoryEntry &entry = entries[i + 1];
        entry.name = streams[i].name;
        entry.size = std::uint64_t(data.size());
        if (entry.size < kMiniStreamCutoff) {
            const std::uint64_t count = blocks(entry.size, kMiniSectorSize);
            entry.start = chain(miniFat, nextMini, count);
            if (count > 0)
                std::memcpy(file.data() + sectorAt(miniStreamStart) + nextMini * kMiniSectorSize, data.constData(),
                            data.size());
            nextMini += count;
        } else {
            const std::uint64_t count = blocks(entry.size, kSectorSize);
            entry.start = chain(fat, next, count);
            std::memcpy(file.data() + sectorAt(next), data.constData(), data.size());
            next += count;
        }
    }
    entries[0].child = linkTree(entries, sorted);

    // Header.
    file.replace(0, 8, QByteArray(kSignature, 8));
    put16(file, 0x18, 0x003E);
    put16(file, 0x1A, 3);
    put16(file, 0x1C, 0xFFFE);
    put16(file, 0x1E, 9);
    put16(file, 0x20, 6);
    put32(file, 0x2C, std::uint32_t(fatSectors));
    put32(file, 0x30, directoryStart);
    put32(file, 0x38, kMiniStreamCutoff);
    put32(file, 0x3C, miniFatStart);
    put32(file, 0x40, std::uint32_t(miniFatSectors));
    put32(file, 0x44, difatSectors > 0 ? std::uint32_t(firstDifat) : kEndOfChain);
    put32(file, 0x48, std::uint32_t(difatSectors));
    // FAT sector ids: the first 109 in the header, the rest in the DIFAT sectors.
    for (std::uint64_t slot = 0; slot < kHeaderDifatSlots + difatSectors * (kIdsPerSector - 1); ++slot) {
        const std::uint32_t id = slot < fatSectors ? std::uint32_t(slot) : kFreeSector;
        if (slot < kHeaderDifatSlots) {
            put32(file, 0x4C + 4 * slot, id);
            continue;
        }
        const std::uint64_t difat = (slot - kHeaderDifatSlots) / (kIdsPerSector - 1);
        const std::uint64_t index = (slot - kHeaderDifatSlots) % (kIdsPerSector - 1);
        put32(file, sectorAt(firstDifat + difat) + 4 * index, id);
        if (index == 0)
            put32(file, sectorAt(firstDifat + difat) + 4 * (kIdsPerSector - 1),
                  difat + 1 < difatSectors ? std::uint32_t(firstDifat + difat + 1) : kEndOfChain);
    }
    for (std::uint64_t i = 0; i < fat.size(); ++i)
        put32(file, sectorAt(0) + 4 * i, fat[i]);
    for (std::uint64_t i = 0; i < miniFat.size(); ++i)
        put32(file, sectorAt(miniFatStart) + 4 * i, miniFat[i]);
    for (std::uint64_t i = 0; i < directorySectors * kSectorSize / kEntrySize; ++i) {
        if (i < entries.size()) {
            writeEntry(file, sectorAt(directoryStart) + i * kEntrySize, entries[i]);
        } else { // unused entries: no name, no links
            const std::uint64_t at = sectorAt(directoryStart) + i * kEntrySize;
            for (const std::uint64_t link : {68, 72, 76})
                put32(file, at + link, kNoEntry);
        }
    }
    return file;
}

std::map<QString, QByteArray> unpackCompoundFile(const QByteArray &file, const std::vector<QString> &names)
{
    CompoundFileReader reader(file);
    std::map<QString, QByteArray> streams;
    for (const QString &name : names)
        if (std::optional<QByteArray> data = reader.stream(name))
            streams.emplace(name, std::move(*data));
    return streams;
}

} // namespace wordproc::doc
