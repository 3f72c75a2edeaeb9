// Declared sizes against what the compressed data can hold: members that claim more
// than their method can make of their data are refused before anything is written, a
// decoder whose input has run out stops, and nothing ever exceeds the declared size.

#include <gtest/gtest.h>

#include <filesystem>

#include "archive/lzh_archive.h"
#include "archive/unlha.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;

// A one-member level-0 archive ("A.MID") with the given method, data and sizes.
std::string Level0Archive(const std::string& method, const std::string& data, uint32_t originalSize,
                          uint16_t crc = 0) {
  std::string body = method;
  auto le = [&body](uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) body.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  le(data.size(), 4);
  le(originalSize, 4);
  le(0, 2);       // time
  le(0x2821, 2);  // date
  body += '\x20';  // attribute
  body += '\0';    // level
  body += '\x05';
  body += "A.MID";
  le(crc, 2);
  unsigned sum = 0;
  for (char c : body) sum += static_cast<unsigned char>(c);
  std::string out;
  out.push_back(static_cast<char>(body.size()));
  out.push_back(static_cast<char>(sum & 0xFF));
  return out + body + data + std::string(1, '\0');
}

// Bits written most significant first, as the decoders read them.
class Bits {
 public:
  Bits& Put(uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
      if (used_ % 8 == 0) bytes_.push_back('\0');
      if ((value >> i) & 1) bytes_.back() = static_cast<char>(bytes_.back() | (0x80 >> (used_ % 8)));
      ++used_;
    }
    return *this;
  }
  std::string bytes() const { return bytes_; }

 private:
  std::string bytes_;
  int used_ = 0;
};

LzhMember OnlyMember(const std::string& archive) {
  MemoryByteSource src(archive);
  LzhListing l = ListLzhArchive(src);
  EXPECT_FALSE(l.damaged) << l.error;
  EXPECT_EQ(l.members.size(), 1u);
  return l.members.empty() ? LzhMember{} : l.members[0];
}

const char* const kMethods[] = {"-lh0-", "-lz4-", "-pm0-", "-lzs-", "-lz5-", "-lh1-", "-pm1-",
                                "-pm2-", "-lh4-", "-lh5-", "-lh6-", "-lh7-", "-lhx-"};

TEST(LzhDeclaredSize, EveryDecodableMethodHasALimit) {
  for (const char* method : kMethods) {
    EXPECT_GT(LzhLargestOriginalSize(method, 1024), 0u) << method;
  }
  EXPECT_EQ(LzhLargestOriginalSize("-lh2-", 1024), 0u);
  // Sizes near the top do not wrap round to small limits.
  EXPECT_EQ(LzhLargestOriginalSize("-lh5-", UINT64_MAX), UINT64_MAX);
  EXPECT_EQ(LzhLargestOriginalSize("-pm1-", UINT64_MAX - 3), UINT64_MAX);
}

// One byte of data claiming 4 GiB: refused before a byte is decoded or written, for
// every method, in memory and on disk.
TEST(LzhDeclaredSize, ImpossibleSizeIsRefusedBeforeWriting) {
  for (const char* method : kMethods) {
    SCOPED_TRACE(method);
    const std::string archive = Level0Archive(method, "\xFF", 0xFFFFFFFFu);
    const LzhMember m = OnlyMember(archive);
    MemoryByteSource src(archive);
    std::string out;
    EXPECT_EQ(DecodeLzhMember(src, m, out), LzhDecodeStatus::Implausible);
    EXPECT_EQ(DecodeLzhMember(src, m, out, 4096), LzhDecodeStatus::Implausible);
    EXPECT_TRUE(out.empty());

    test::TempDir dest;
    uint64_t written = 1;
    EXPECT_EQ(ExtractLzhMember(src, m, dest.path(), nullptr, &written), LzhDecodeStatus::Implausible);
    EXPECT_EQ(written, 0u);
    EXPECT_TRUE(fs::is_empty(dest.path()));
  }
}

// Data that cannot make the declared size, which is just within the method's limit
// (stored methods have no room: their limit is the data's size):
// decoding ends in an error, having produced at most the declared size, and soon after
// the data ran out.
struct ShortData {
  const char* method;
  std::string data;
  uint64_t mostProduced;  // decoded bytes, at most
};

TEST(LzhDeclaredSize, DecodingStopsWhenTheDataRunOut) {
  const ShortData cases[] = {
      {"-lzs-", std::string(300, '\xFF'), 300},
      {"-lz5-", std::string(300, '\xFF'), 300},
      {"-lh1-", std::string(300, '\xFF'), 2400},
      // 0xFF bits decode to blocks of 216 literals, 2 bytes per byte; past the end the
      // decoder reads zero bits, which decode to copies without end.
      {"-pm1-", std::string(64 * 1024, '\xFF'), 2 * 64 * 1024 + 8192},
      // A single-code tree copying 256 bytes for no bits: 4096 bytes per rebuild bit,
      // 8 x 4096 from these 16 bits, then 4096 for each of the few reads past the end
      // that are let by.
      {"-pm2-", std::string("\xF4\x00", 2), 8 * 4096 + 5 * 4096},
      {"-lh4-", std::string(300, '\xFF'), 0},
      {"-lh5-", std::string(300, '\xFF'), 0},
      {"-lh6-", std::string(300, '\xFF'), 0},
      {"-lh7-", std::string(300, '\xFF'), 0},
      {"-lhx-", std::string(300, '\xFF'), 0},
  };
  for (const ShortData& c : cases) {
    SCOPED_TRACE(c.method);
    const uint64_t declared = std::min<uint64_t>(LzhLargestOriginalSize(c.method, c.data.size()), 0xFFFFFFFFu);
    ASSERT_GT(declared, c.data.size());
    const std::string archive = Level0Archive(c.method, c.data, static_cast<uint32_t>(declared));
    const LzhMember m = OnlyMember(archive);
    MemoryByteSource src(archive);
    std::string out;
    EXPECT_EQ(DecodeLzhMember(src, m, out), LzhDecodeStatus::DataError);
    EXPECT_LE(out.size(), declared);
    EXPECT_LE(out.size(), c.mostProduced);

    test::TempDir dest;
    uint64_t written = 0;
    EXPECT_EQ(ExtractLzhMember(src, m, dest.path(), nullptr, &written), LzhDecodeStatus::DataError);
    EXPECT_LE(written, declared);
    EXPECT_LE(written, c.mostProduced);
    EXPECT_TRUE(fs::is_empty(dest.path()));
  }
}

// The densest streams each method allows decode completely: the limits are no
// tighter than the decoders.
struct DenseStream {
  const char* method;
  std::string data;
  uint64_t produced;
};

std::string NewStyleBlock(int offsetBits) {
  Bits b;
  b.Put(0xFFFF, 16);                         // commands in the block
  b.Put(0, 5).Put(0, 5);                     // temporary table: one code
  b.Put(0, 9).Put(511, 9);                   // code table: only a 258-byte copy
  b.Put(0, offsetBits).Put(0, offsetBits);   // offset table: only offset 0
  return b.bytes();
}

TEST(LzhDeclaredSize, DensestStreamsAreWithinTheLimits) {
  std::string lz5Run(1, '\0');  // eight copies of 18 bytes
  for (int i = 0; i < 8; ++i) lz5Run += std::string("\x00\x0F", 2);
  const DenseStream cases[] = {
      {"-lh0-", std::string(100, 'a'), 100},
      {"-lzs-", std::string("\x00\x0F\x00\x0F", 4), 34},
      {"-lz5-", lz5Run, 144},
      {"-pm2-", std::string("\xF4\x00", 2), 8 * 4096},
      {"-lh5-", NewStyleBlock(4), 65535u * 258},
      {"-lh7-", NewStyleBlock(5), 65535u * 258},
  };
  for (const DenseStream& c : cases) {
    SCOPED_TRACE(c.method);
    ASSERT_LE(c.produced, LzhLargestOriginalSize(c.method, c.data.size()));
    // Decode once to learn the bytes, then again with their CRC in the header.
    std::string archive = Level0Archive(c.method, c.data, static_cast<uint32_t>(c.produced));
    std::string out;
    {
      MemoryByteSource src(archive);
      DecodeLzhMember(src, OnlyMember(archive), out);
    }
    ASSERT_EQ(out.size(), c.produced);
    archive = Level0Archive(c.method, c.data, static_cast<uint32_t>(c.produced), LzhCrc16(out.data(), out.size()));
    MemoryByteSource src(archive);
    const LzhMember m = OnlyMember(archive);
    EXPECT_EQ(DecodeLzhMember(src, m, out), LzhDecodeStatus::Ok);
    test::TempDir dest;
    uint64_t written = 0;
    EXPECT_EQ(ExtractLzhMember(src, m, dest.path(), nullptr, &written), LzhDecodeStatus::Ok);
    EXPECT_EQ(written, c.produced);
    EXPECT_EQ(fs::file_size(dest.path() + "A.MID"), c.produced);
  }
}

// The command interpreter reports such a member as damaged and leaves nothing behind.
TEST(LzhDeclaredSize, ExtractCommandReportsTheMemberDamaged) {
  test::TempDir tmp;
  const std::string archive = tmp.Write("pm1.lzh", Level0Archive("-pm1-", "\xFF", 0xFFFFFFFFu));
  ASSERT_EQ(fs::file_size(archive), 31u);
  const std::string dest = tmp.MakeFolder("dest");
  std::string report;
  EXPECT_NE(Unlha(ExtractCommandLine(archive, dest + (dest.back() == '/' ? "" : "/"), ""), &report), 0);
  EXPECT_NE(report.find("damaged"), std::string::npos) << report;
  EXPECT_TRUE(fs::is_empty(dest));
}

}  // namespace
}  // namespace kadrel
