// The bounds-checked reader under every .doc structure and cursor file: a read that reaches one
// byte past the end is refused, whatever lies behind the data in memory.
#include "base/Bytes.h"
#include "base/Failure.h"

#include <gtest/gtest.h>

using namespace base;

namespace {

TEST(ByteReader, ReadsLittleEndianUpToTheLastByteAndRefusesOnePast)
{
    const ByteReader in(QByteArray::fromHex("0102030405"), QStringLiteral("too short"));
    EXPECT_EQ(in.u16(3), 0x0504);
    EXPECT_EQ(in.u32(1), 0x05040302u);
    EXPECT_TRUE(in.contains(5, 0));
    EXPECT_TRUE(in.contains(0, 5));
    EXPECT_FALSE(in.contains(1, 5));
    EXPECT_FALSE(in.contains(5, 1));
    EXPECT_FALSE(in.contains(-1, 1));
    EXPECT_FALSE(in.contains(0, -1));
    EXPECT_THROW(in.u16(4), Failure);
    EXPECT_THROW(in.u32(2), Failure);
    EXPECT_THROW(in.u8(5), Failure);
    try {
        in.slice(4, 2);
        ADD_FAILURE() << "a slice past the end was read";
    } catch (const Failure &error) {
        EXPECT_EQ(error.description(), QStringLiteral("too short"));
    }
}

} // namespace
