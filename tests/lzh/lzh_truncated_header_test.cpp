// Archives that end inside a member header's fixed part. Each must be reported as
// damaged, without reading a byte past what the file holds.

#include <gtest/gtest.h>

#include "archive/lzh_archive.h"
#include "base/byte_source.h"

namespace kadrel {
namespace {

// The first `keep` bytes of a level-2 or level-3 header for "A.MID" (stored).
std::string CutHeader(int level, size_t keep) {
  std::string h(32, '\0');
  h[0] = level == 3 ? 4 : 40;  // level 2: header length; level 3: word size
  h.replace(2, 5, "-lh0-");
  h[20] = static_cast<char>(level);
  h[23] = 'U';
  if (level == 3) h[24] = 40;
  return h.substr(0, keep);
}

TEST(LzhTruncatedHeader, EndsInsideTheFixedPartOfALevel2Or3Header) {
  for (int level : {2, 3}) {
    for (size_t keep = 21; keep < 32; ++keep) {
      SCOPED_TRACE(testing::Message() << "level " << level << ", " << keep << " bytes");
      const std::string bytes = CutHeader(level, keep);
      MemoryByteSource source(bytes);
      const LzhListing listing = ListLzhArchive(source);
      EXPECT_TRUE(listing.damaged);
      EXPECT_TRUE(listing.members.empty());
      EXPECT_FALSE(listing.error.empty());
    }
  }
}

}  // namespace
}  // namespace kadrel
