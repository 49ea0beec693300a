#include "wordproc/msdoc/DocProperties.h"

#include "wordproc/msdoc/DocBytes.h"

#include <vector>

namespace wordproc::doc {

namespace {

// Property types ([MS-OLEPS] 2.15) and the identifiers of the two property sets (2.25, and
// [MS-OSHARED] 2.3.3.2).
constexpr unsigned kI2 = 0x0002;
constexpr unsigned kI4 = 0x0003;
constexpr unsigned kBool = 0x000B;
constexpr unsigned kString = 0x001E; // VT_LPSTR in the set's code page
constexpr unsigned kFileTime = 0x0040;
constexpr int kWesternCodePage = 1252;

// FMTID_SummaryInformation and FMTID_DocSummaryInformation in file byte order.
const QByteArray kSummaryId = QByteArray::fromHex("e0859ff2f94f6810ab9108002b27b3d9");
const QByteArray kDocumentSummaryId = QByteArray::fromHex("02d5cdd59c2e1b10939708002b2cf9ae");
// Word's class, 00020906-0000-0000-C000-000000000046.
const QByteArray kWordClassId = QByteArray::fromHex("0609020000000000c000000000000046");

struct Property {
    std::uint32_t id;
    QByteArray value; // TypedPropertyValue, padded to four bytes
};

Property typed(std::uint32_t id, unsigned type, const QByteArray &payload)
{
    ByteWriter out;
    out.u16(type);
    out.u16(0);
    out.bytes(payload);
    out.alignTo(4);
    return {id, out.data()};
}

Property i2(std::uint32_t id, int value)
{
    ByteWriter out;
    out.i16(value);
    return typed(id, kI2, out.data());
}

Property i4(std::uint32_t id, std::int32_t value)
{
    ByteWriter out;
    out.i32(value);
    return typed(id, kI4, out.data());
}

Property boolean(std::uint32_t id, bool value)
{
    ByteWriter out;
    out.u16(value ? 0xFFFF : 0);
    return typed(id, kBool, out.data());
}

Property string(std::uint32_t id, const QString &text)
{
    const QByteArray bytes = text.toLatin1() + '\0';
    ByteWriter out;
    out.u32(std::uint32_t(bytes.size()));
    out.bytes(bytes);
    return typed(id, kString, out.data());
}

// 100-nanosecond intervals since 1 January 1601 UTC.
Property fileTime(std::uint32_t id, const QDateTime &time)
{
    constexpr qint64 kFrom1601To1970 = 11644473600LL;
    const qint64 ticks = time.isValid() ? (time.toSecsSinceEpoch() + kFrom1601To1970) * 10000000LL : 0;
    ByteWriter out;
    out.u32(std::uint32_t(ticks & 0xFFFFFFFF));
    out.u32(std::uint32_t(quint64(ticks) >> 32));
    return typed(id, kFileTime, out.data());
}

// A PropertySetStream with one property set ([MS-OLEPS] 2.21, 2.20).
QByteArray propertySetStream(const QByteArray &formatId, const std::vector<Property> &properties)
{
    ByteWriter set;
    const qsizetype headerSize = 8 + 8 * qsizetype(properties.size());
    set.u32(0); // size, patched below
    set.u32(std::uint32_t(properties.size()));
    std::uint32_t offset = std::uint32_t(headerSize);
    for (const Property &property : properties) {
        set.u32(property.id);
        set.u32(offset);
        offset += std::uint32_t(property.value.size());
    }
    for (const Property &property : properties)
        set.bytes(property.value);
    set.patchU32(0, std::uint32_t(set.data().size()));

    ByteWriter stream;
    stream.u16(0xFFFE);       // byte order
    stream.u16(0);            // version
    stream.bytes(QByteArray::fromHex("05010200")); // written on Windows NT 5.1, 32-bit, as Word 2003 does
    stream.zeros(16);         // CLSID
    stream.u32(1);            // one property set
    stream.bytes(formatId);
    stream.u32(48);           // the set starts right after this header
    stream.bytes(set.data());
    return stream.data();
}

void lengthPrefixedAnsi(ByteWriter &out, const char *text)
{
    const QByteArray bytes = QByteArray(text) + '\0';
    out.u32(std::uint32_t(bytes.size()));
    out.bytes(bytes);
}

} // namespace

QString summaryInformationName() { return QStringLiteral("\005SummaryInformation"); }
QString documentSummaryInformationName() { return QStringLiteral("\005DocumentSummaryInformation"); }
QString compObjName() { return QStringLiteral("\001CompObj"); }

QByteArray encodeSummaryInformation(const DocumentProperties &properties)
{
    return propertySetStream(kSummaryId, {
        i2(1, kWesternCodePage),                    // code page
        string(2, properties.title),                // title
        string(3, QString()),                       // subject
        string(4, QString()),                       // author
        string(5, QString()),                       // keywords
        string(6, QString()),                       // comments
        string(7, QStringLiteral("Normal.dot")),    // template
        string(8, QString()),                       // last saved by
        string(9, QStringLiteral("1")),             // revision number
        fileTime(10, QDateTime()),                  // total editing time: none
        fileTime(12, properties.created),           // created
        fileTime(13, properties.created),           // last saved
        i4(14, properties.pages),                   // pages
        i4(15, 0),                                  // words
        i4(16, 0),                                  // characters
        string(18, properties.application),         // creating application
        i4(19, 0),                                  // security: none
    });
}

QByteArray encodeDocumentSummaryInformation(const DocumentProperties &properties)
{
    return propertySetStream(kDocumentSummaryId, {
        i2(1, kWesternCodePage), // code page
        string(15, QString()),   // company
        boolean(11, false),      // scale the thumbnail: no
        boolean(16, false),      // links up to date
        boolean(19, false),      // shared document: no
        boolean(22, false),      // hyperlinks changed: no
        i4(23, std::int32_t(properties.applicationVersion)), // the creating application's version
    });
}

QByteArray encodeCompObj()
{
    ByteWriter out;
    out.u32(0xFFFE0001);  // header: reserved, version, then the class
    out.u32(0x00000A03);
    out.u32(0xFFFFFFFF);
    out.bytes(kWordClassId);
    lengthPrefixedAnsi(out, "Microsoft Word 97-2003 Document"); // user type
    lengthPrefixedAnsi(out, "MSWordDoc");                       // clipboard format
    lengthPrefixedAnsi(out, "Word.Document.8");                 // programmatic identifier
    out.u32(0x71B239F4);  // Unicode marker, then three empty Unicode strings
    out.zeros(12);
    return out.data();
}

} // namespace wordproc::doc
