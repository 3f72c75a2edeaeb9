// Archives behind a self-extractor's program: the members start at the first header
// found in the first 64 KiB, and a header-like run that ends the archive is no start.

#include <gtest/gtest.h>

#include "archive/lzh_archive.h"
#include "archive/lzh_writer.h"
#include "base/byte_source.h"

namespace kadrel {
namespace {

std::string Archive() { return BuildStoredArchive({{"A.MID", "MThd", 1000000000, false}, {"B.TXT", "text", 1000000000, false}}); }

TEST(LzhStub, MembersAfterAProgramAreFoundWhereTheyStart) {
  // A run of bytes that looks like a header but starts with 0 (an end mark, not a
  // level-2 header) comes before the real first header.
  std::string decoy(21, '\0');
  decoy.replace(2, 5, "-lh0-");
  for (const std::string& stub : {std::string("MZ") + std::string(3000, '\x90'), decoy + std::string(100, 'x')}) {
    const std::string bytes = stub + Archive();
    MemoryByteSource source(bytes);
    const LzhListing listing = ListLzhArchive(source);
    EXPECT_FALSE(listing.damaged) << listing.error;
    EXPECT_EQ(listing.firstHeader, stub.size());
    ASSERT_EQ(listing.members.size(), 2u);
    std::string data;
    EXPECT_EQ(DecodeLzhMember(source, listing.members[1], data), LzhDecodeStatus::Ok);
    EXPECT_EQ(data, "text");
  }
}

TEST(LzhStub, NoHeaderInTheFirst64KiBIsNoArchive) {
  const std::string bytes = std::string(64 * 1024 + 1, 'x') + Archive();
  MemoryByteSource source(bytes);
  const LzhListing listing = ListLzhArchive(source);
  EXPECT_TRUE(listing.damaged);
  EXPECT_EQ(listing.error, "no LZH member header found");
}

}  // namespace
}  // namespace kadrel
