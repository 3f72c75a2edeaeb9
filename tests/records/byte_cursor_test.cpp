#include "base/byte_cursor.h"

#include <gtest/gtest.h>

namespace kadrel {
namespace {

TEST(ByteCursor, ReadsBothByteOrdersAndStopsAtTheEnd) {
  const std::string bytes("\x01\x02\x03\x04\x05", 5);
  ByteCursor c(bytes);
  uint16_t le16 = 0;
  uint32_t be24 = 0, le32 = 0xDEAD;
  ASSERT_TRUE(c.Le16(le16));
  EXPECT_EQ(le16, 0x0201);
  ASSERT_TRUE(c.Be24(be24));
  EXPECT_EQ(be24, 0x030405u);
  EXPECT_TRUE(c.AtEnd());
  // A failed read changes neither the value nor the position.
  EXPECT_FALSE(c.Le32(le32));
  EXPECT_EQ(le32, 0xDEADu);
  EXPECT_EQ(c.Position(), 5u);
}

TEST(ByteCursor, ShortReadsNearTheEndFailWhole) {
  const std::string bytes("\xAA\xBB\xCC", 3);
  ByteCursor c(bytes, 1);
  uint32_t v = 0;
  EXPECT_FALSE(c.Le32(v));
  EXPECT_EQ(c.Position(), 1u);
  std::string_view run;
  EXPECT_FALSE(c.Bytes(3, run));
  ASSERT_TRUE(c.Bytes(2, run));
  EXPECT_EQ(run, "\xBB\xCC");
  EXPECT_FALSE(c.Seek(4));
  EXPECT_FALSE(c.Skip(1));
}

TEST(ByteCursor, FixedOffsetReadsNeverLookPastTheBuffer) {
  const std::string bytes("\x12\x34\x56\x78", 4);
  EXPECT_EQ(Le32At(bytes, 0), 0x78563412u);
  EXPECT_EQ(Be32At(bytes, 0), 0x12345678u);
  EXPECT_EQ(Be16At(bytes, 2), 0x5678u);
  EXPECT_EQ(Le16At(bytes, 3), std::nullopt);
  EXPECT_EQ(U8At(bytes, 4), std::nullopt);
  EXPECT_EQ(Le32At(bytes, SIZE_MAX - 1), std::nullopt);  // no wrap-around
}

TEST(ByteCursor, WritersGrowTheBufferInsteadOfWritingPastIt) {
  std::string out("\x01", 1);
  StoreLe32(out, 3, 0x0A0B0C0D);
  EXPECT_EQ(out, std::string("\x01\x00\x00\x0D\x0C\x0B\x0A", 7));
  AppendLe16(out, 0x1234);
  AppendBe(out, 0x1234, 2);
  EXPECT_EQ(out.substr(7), std::string("\x34\x12\x12\x34", 4));
}

}  // namespace
}  // namespace kadrel
