#include "wordproc/msdoc/DocFib.h"

#include "wordproc/msdoc/DocFormatConstants.h"
#include "base/Failure.h"

namespace wordproc::doc {

namespace {

qint64 pairOffset(int index) { return fib::kOffFcLcb + 8 * index; }

} // namespace

QByteArray Fib::encode() const
{
    ByteWriter out;
    out.zeros(fib::kSize);
    QByteArray data = out.data();
    auto put16 = [&data](int at, unsigned value) {
        data[at] = char(value & 0xFF);
        data[at + 1] = char((value >> 8) & 0xFF);
    };
    auto put32 = [&put16](int at, std::uint32_t value) {
        put16(at, value & 0xFFFF);
        put16(at + 2, value >> 16);
    };
    put16(fib::kOffIdent, fib::kIdent);
    put16(fib::kOffNFib, fib::kNFib97);
    put16(fib::kOffLid, fib::kLid);
    put16(fib::kOffFlags, (tableStreamIsOne ? fib::kFlagWhichTableStream : 0) | fib::kFlagExtChar);
    put16(fib::kOffNFibBack, fib::kNFibBack);
    put32(fib::kOffFcMin, textStart);
    put32(fib::kOffFcMac, textEnd);
    put16(fib::kOffCsw, fib::kCsw);
    put16(fib::kOffLidFE, fib::kLid);
    put16(fib::kOffCslw, fib::kCslw);
    put32(fib::kOffCbMac, wordDocumentSize);
    put32(fib::kOffCcpText, std::uint32_t(ccpText));
    put16(fib::kOffCbRgFcLcb, fib::kCbRgFcLcb97);
    auto putPair = [&](int index, const FcLcb &pair) {
        put32(int(pairOffset(index)), pair.fc);
        put32(int(pairOffset(index)) + 4, pair.lcb);
    };
    putPair(fib::kStshfOrig, styleSheet);
    putPair(fib::kStshf, styleSheet);
    putPair(fib::kPlcfSed, sectionTable);
    putPair(fib::kPlcfBteChpx, characterBins);
    putPair(fib::kPlcfBtePapx, paragraphBins);
    putPair(fib::kSttbfFfn, fontTable);
    putPair(fib::kDop, documentProperties);
    putPair(fib::kClx, pieceTable);
    put16(fib::kOffCswNew, 0);
    return data;
}

Fib Fib::decode(const ByteReader &in)
{
    if (in.size() < 0x20 || in.u16(fib::kOffIdent) != fib::kIdent)
        throw base::Failure(QStringLiteral("The file is not a Word document: its WordDocument stream "
                                             "does not start with a Word file information block."));
    const unsigned version = in.u16(fib::kOffNFib);
    const unsigned flags = in.u16(fib::kOffFlags);
    if (flags & (fib::kFlagEncrypted | fib::kFlagObfuscated))
        throw base::Failure(QStringLiteral("The Word document is encrypted (protected by a password) "
                                             "and cannot be opened."));
    if (version < fib::kNFib97)
        throw base::Failure(QStringLiteral("The document was saved by Word 95 or older; only Word 97-2003 "
                                             "documents can be opened."));
    // The FIB's sections are counted and sit one after the other; their positions follow from the
    // counts, and counts below Word 97's mean a damaged file.
    const qint64 rgLw = fib::kOffCsw + 2 + 2 * qint64(in.u16(fib::kOffCsw)) + 2;
    const qint64 cslwAt = rgLw - 2;
    const qint64 cbRgFcLcbAt = rgLw + 4 * qint64(in.u16(cslwAt));
    const qint64 rgFcLcb = cbRgFcLcbAt + 2;
    if (in.u16(fib::kOffCsw) < fib::kCsw || in.u16(cslwAt) < fib::kCslw || in.u16(cbRgFcLcbAt) < fib::kCbRgFcLcb97)
        throw base::Failure(QStringLiteral("The Word document is damaged and cannot be opened: "
                                             "its file information block is incomplete."));
    auto pair = [&](int index) {
        return FcLcb{in.u32(rgFcLcb + 8 * index), in.u32(rgFcLcb + 8 * index + 4)};
    };
    Fib result;
    result.textStart = in.u32(fib::kOffFcMin);
    result.textEnd = in.u32(fib::kOffFcMac);
    result.wordDocumentSize = in.u32(rgLw);
    result.ccpText = in.i32(rgLw + 12);
    result.tableStreamIsOne = (flags & fib::kFlagWhichTableStream) != 0;
    result.styleSheet = pair(fib::kStshf);
    result.sectionTable = pair(fib::kPlcfSed);
    result.characterBins = pair(fib::kPlcfBteChpx);
    result.paragraphBins = pair(fib::kPlcfBtePapx);
    result.fontTable = pair(fib::kSttbfFfn);
    result.documentProperties = pair(fib::kDop);
    result.pieceTable = pair(fib::kClx);
    if (result.ccpText < 0)
        throw base::Failure(QStringLiteral("The Word document is damaged and cannot be opened: "
                                             "its text length is negative."));
    return result;
}

} // namespace wordproc::doc
