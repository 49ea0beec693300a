// The compound file around a .doc file's streams: what other readers rely on in the written
// bytes, streams of every size coming back whole, and damaged containers refused.
#include "base/Failure.h"
#include "wordproc/msdoc/CfbContainer.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace wordproc::doc;

namespace {

std::uint32_t u32(const QByteArray &file, qsizetype at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | std::uint8_t(file[at + i]);
    return value;
}

void set32(QByteArray &file, qsizetype at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        file[at + i] = char(value >> (8 * i));
}

qsizetype sectorAt(std::uint32_t id) { return (qsizetype(id) + 1) * 512; }
qsizetype fatEntry(const QByteArray &file, std::uint32_t id) { return sectorAt(u32(file, 0x4C + 4 * (id / 128))) + 4 * (id % 128); }
// Directory entries in the first directory sector (the tests' files have at most four).
qsizetype entryAt(const QByteArray &file, int id) { return sectorAt(u32(file, 0x30)) + 128 * id; }

QByteArray bytes(qsizetype size, char seed)
{
    QByteArray data(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char(seed + i * 7 + i / 251);
    return data;
}

const QByteArray kClassId = QByteArray::fromHex("0609020000000000c000000000000046");

} // namespace

TEST(CfbContainer, HeaderChainsAndSiblingTreeAreWhatOtherReadersExpect)
{
    std::vector<CfbStream> streams;
    for (const char *name : {"WordDocument", "1Table", "\x05SummaryInformation", "Data", "\x01" "CompObj", "ObjectPool", "b"})
        streams.push_back({QString::fromLatin1(name), bytes(name[0] == 'W' ? 5000 : 100, name[0])});
    const QByteArray file = packCompoundFile(streams, kClassId);

    EXPECT_EQ(file.left(8).toHex(), "d0cf11e0a1b11ae1");
    EXPECT_EQ(file.mid(0x18, 10).toHex(), "3e000300feff09000600");
    EXPECT_EQ(u32(file, 0x38), 4096u);
    EXPECT_EQ(file.size() % 512, 0);
    const qsizetype root = sectorAt(u32(file, 0x30));
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t *>(file.constData() + root)), QStringLiteral("Root Entry"));
    EXPECT_EQ(file[root + 66], 5);
    EXPECT_EQ(file.mid(root + 80, 16), kClassId);

    // The large stream: one chain through the FAT to its end, its bytes in those sectors.
    const qsizetype word = root + 128;
    ASSERT_EQ(u32(file, word + 120), 5000u);
    std::uint32_t sector = u32(file, word + 116);
    for (int i = 0; i < 10; ++i) {
        const QByteArray expected = streams[0].data.mid(512 * i, 512);
        EXPECT_EQ(file.mid(sectorAt(sector), expected.size()), expected) << i;
        sector = u32(file, fatEntry(file, sector));
    }
    EXPECT_EQ(sector, 0xFFFFFFFEu);

    // In-order walk of the root's children: sorted shorter-first then ignoring case, and a valid
    // red-black tree (no red child of a red entry, the same number of black entries on every path).
    QStringList order;
    std::set<int> blackHeights;
    std::function<void(std::uint32_t, bool, int)> walk = [&](std::uint32_t id, bool parentRed, int blacks) {
        if (id == 0xFFFFFFFF) {
            blackHeights.insert(blacks);
            return;
        }
        const qsizetype at = sectorAt(u32(file, 0x30)) + 128 * qsizetype(id);
        const bool red = file[at + 67] == 0;
        EXPECT_FALSE(red && parentRed);
        walk(u32(file, at + 68), red, blacks + !red);
        order << QString::fromUtf16(reinterpret_cast<const char16_t *>(file.constData() + at));
        walk(u32(file, at + 72), red, blacks + !red);
    };
    walk(u32(file, root + 76), true, 0);
    EXPECT_EQ(order, QStringList({"b", "Data", "1Table", QString::fromLatin1("\x01" "CompObj"), "ObjectPool", "WordDocument",
                                  QString::fromLatin1("\x05SummaryInformation")}));
    EXPECT_EQ(blackHeights.size(), 1u);
}

TEST(CfbContainer, StreamsOfEverySizeComeBackWhole)
{
    // Both sides of the small-stream cutoff, and one large enough that the sector table no
    // longer fits in the header's list of table sectors.
    for (const qsizetype large : {qsizetype(70000), qsizetype(8 << 20)}) {
        std::vector<CfbStream> streams;
        std::vector<QString> names;
        for (const qsizetype size : {qsizetype(0), qsizetype(1), qsizetype(4095), qsizetype(4096), qsizetype(4097), large}) {
            names.push_back(QStringLiteral("S%1").arg(size));
            streams.push_back({names.back(), bytes(size, char(size))});
        }
        const QByteArray file = packCompoundFile(streams, {});
        EXPECT_EQ(u32(file, 0x48) > 0, large == (8 << 20)) << "DIFAT sectors";
        names.push_back(QStringLiteral("absent"));
        const auto read = unpackCompoundFile(file, names);
        ASSERT_EQ(read.size(), streams.size());
        for (const CfbStream &stream : streams)
            EXPECT_TRUE(read.at(stream.name) == stream.data) << qPrintable(stream.name);
    }
    EXPECT_EQ(unpackCompoundFile(packCompoundFile({{"WordDocument", "x"}}, {}), {"WORDDOCUMENT"}).size(), 1u);
}

TEST(CfbContainer, DamagedContainersAndNamesItCannotHoldAreRefused)
{
    const QByteArray good = packCompoundFile({{"Big", bytes(5000, 1)}, {"Small", bytes(300, 2)}}, {});
    const auto bigStart = u32(good, entryAt(good, 1) + 116);
    const auto smallStart = u32(good, entryAt(good, 2) + 116);
    const std::pair<const char *, std::function<void(QByteArray &)>> damage[] = {
        {"sector shift", [](QByteArray &f) { f[0x1E] = 12; }},
        {"mini sector shift", [](QByteArray &f) { f[0x20] = 7; }},
        {"no FAT sectors", [](QByteArray &f) { set32(f, 0x2C, 0); }},
        {"FAT sector past the end", [](QByteArray &f) { set32(f, 0x4C, 0x00FFFFFF); }},
        {"directory past the end", [](QByteArray &f) { set32(f, 0x30, 4000); }},
        {"chain that loops", [&](QByteArray &f) { set32(f, fatEntry(f, bigStart + 3), bigStart); }},
        {"chain that leaves the file", [&](QByteArray &f) { set32(f, fatEntry(f, bigStart), 0x10000); }},
        {"chain that ends early", [&](QByteArray &f) { set32(f, fatEntry(f, bigStart), 0xFFFFFFFE); }},
        {"size past the end", [](QByteArray &f) { set32(f, entryAt(f, 1) + 120, 0x7FFFFFFF); }},
        {"mini chain that loops", [&](QByteArray &f) {
             set32(f, sectorAt(u32(f, 0x3C)) + 4 * (smallStart + 1), smallStart);
         }},
        {"mini stream past its container", [](QByteArray &f) { set32(f, entryAt(f, 0) + 120, 64 * 200); }},
        {"directory cycle", [](QByteArray &f) { set32(f, entryAt(f, 2) + 68, 1); set32(f, entryAt(f, 1) + 72, 2); }},
        {"sibling out of range", [](QByteArray &f) { set32(f, entryAt(f, 1) + 72, 999); }},
        {"cut inside a sector", [](QByteArray &f) { f.chop(100); }},
    };
    for (const auto &[what, change] : damage) {
        QByteArray file = good;
        change(file);
        EXPECT_THROW(unpackCompoundFile(file, {"Big", "Small"}), base::Failure) << what;
    }
    ASSERT_EQ(unpackCompoundFile(good, {"Big", "Small"}).size(), 2u);

    for (const QString &name : {QString(), QStringLiteral("a/b"), QString(32, QLatin1Char('n'))})
        EXPECT_THROW(packCompoundFile({{name, "x"}}, {}), base::Failure) << qPrintable(name);
    EXPECT_THROW(packCompoundFile({{"Data", "x"}, {"DATA", "y"}}, {}), base::Failure);
}
