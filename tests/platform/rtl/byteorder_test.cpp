#include "platform/rtl/byteorder.h"

#include <gtest/gtest.h>

TEST(ByteOrder, ValuesRoundTripLowByteFirst)
{
    std::string Bytes;
    AppendLE16(Bytes, 0x1234);
    AppendLE32(Bytes, 0xFEDCBA98u);
    AppendLE16(Bytes, 0xABCDEF); // only the low 16 bits
    ASSERT_EQ(Bytes, std::string("\x34\x12\x98\xBA\xDC\xFE\xEF\xCD", 8));
    EXPECT_EQ(ReadLE16(Bytes, 0), 0x1234);
    EXPECT_EQ(ReadLE32(Bytes, 2), 0xFEDCBA98u);
    const auto* Raw = reinterpret_cast<const std::uint8_t*>(Bytes.data());
    EXPECT_EQ(ReadLE16(Raw + 6), 0xCDEF);
    EXPECT_EQ(ReadLE32(Raw + 2), 0xFEDCBA98u);

    std::uint8_t Stored[2] = {};
    WriteLE16(Stored, 0xBEEF);
    EXPECT_EQ(Stored[0], 0xEF);
    EXPECT_EQ(Stored[1], 0xBE);
}
