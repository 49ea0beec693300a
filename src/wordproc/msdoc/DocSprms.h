#pragma once
// Writing and walking lists of single property modifiers (sprms), the way every formatting
// property of a .doc file is stored ([MS-DOC] 2.2.5).
#include "wordproc/msdoc/DocBytes.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace wordproc::doc {

struct Sprm {
    std::uint16_t id = 0;
    QByteArray operand; // for variable-length sprms: the data without its length prefix
    // The operand of a fixed-size sprm as an unsigned number (0 when it is too short).
    std::uint32_t value() const;
    std::int32_t signedValue() const; // sign-extended from the operand's size
};

// Appends a sprm with a fixed-size operand; the operand's size follows from the sprm's id.
void appendSprm(ByteWriter &out, std::uint16_t id, std::uint32_t value);
// Appends a sprm with a variable-length operand and its length prefix.
void appendVariableSprm(ByteWriter &out, std::uint16_t id, const QByteArray &operand);

// Splits a grpprl into its sprms. Throws base::Failure when a sprm reaches past the end.
std::vector<Sprm> parseSprms(const QByteArray &grpprl);

} // namespace wordproc::doc
