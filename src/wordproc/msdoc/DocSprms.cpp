#include "wordproc/msdoc/DocSprms.h"

#include "wordproc/msdoc/DocFormatConstants.h"

namespace wordproc::doc {

namespace {

int spraOf(std::uint16_t id) { return id >> 13; }

// Bytes of a fixed-size operand by spra; -1 for the variable-length kind.
int fixedOperandSize(std::uint16_t id)
{
    switch (spraOf(id)) {
    case 0:
    case 1: return 1;
    case 2:
    case 4:
    case 5: return 2;
    case 3: return 4;
    case 7: return 3;
    default: return -1;
    }
}

bool hasWordLengthPrefix(std::uint16_t id) { return id == sprm::TDefTable || id == sprm::TDefTable10; }

} // namespace

std::uint32_t Sprm::value() const
{
    std::uint32_t result = 0;
    for (qsizetype i = operand.size() - 1; i >= 0; --i)
        result = (result << 8) | std::uint8_t(operand[i]);
    return result;
}

std::int32_t Sprm::signedValue() const
{
    const std::uint32_t raw = value();
    switch (operand.size()) {
    case 1: return std::int8_t(raw);
    case 2: return std::int16_t(raw);
    default: return std::int32_t(raw);
    }
}

void appendSprm(ByteWriter &out, std::uint16_t id, std::uint32_t value)
{
    out.u16(id);
    const int size = fixedOperandSize(id);
    for (int i = 0; i < size; ++i)
        out.u8((value >> (8 * i)) & 0xFF);
}

void appendVariableSprm(ByteWriter &out, std::uint16_t id, const QByteArray &operand)
{
    out.u16(id);
    if (hasWordLengthPrefix(id))
        out.u16(unsigned(operand.size()) + 1); // TDefTable counts one more than the bytes that follow
    else
        out.u8(unsigned(operand.size()));
    out.bytes(operand);
}

std::vector<Sprm> parseSprms(const QByteArray &grpprl)
{
    const ByteReader in(grpprl, QStringLiteral("a property list"));
    std::vector<Sprm> sprms;
    qint64 at = 0;
    // A single byte left over is padding some writers add to keep lists even.
    while (at + 2 <= in.size()) {
        Sprm sprm;
        sprm.id = in.u16(at);
        at += 2;
        int size = fixedOperandSize(sprm.id);
        if (size < 0) {
            if (hasWordLengthPrefix(sprm.id)) {
                const int counted = in.u16(at);
                at += 2;
                size = counted > 0 ? counted - 1 : 0;
            } else if (sprm.id == sprm::PChgTabs && in.u8(at) == 255) {
                // The long form of the tab change list: deletions with tolerances, then additions.
                const int deleted = in.u8(at + 1);
                const int added = in.u8(at + 2 + 4 * deleted);
                size = 1 + 1 + 4 * deleted + 1 + 3 * added;
                sprm.operand = in.slice(at + 1, size - 1);
                at += size;
                sprms.push_back(std::move(sprm));
                continue;
            } else {
                size = in.u8(at);
                at += 1;
            }
        }
        sprm.operand = in.slice(at, size);
        at += size;
        sprms.push_back(std::move(sprm));
    }
    return sprms;
}

} // namespace wordproc::doc
