#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "readers/reader_test_util.h"
#include "support/temp_dir.h"
#include "support/test_data.h"

namespace kadrel {
namespace {
using namespace kadrel::test;

uint16_t Crc16Xmodem(const std::string& data) {
  uint16_t crc = 0;
  for (unsigned char c : data) {
    crc ^= static_cast<uint16_t>(c << 8);
    for (int k = 0; k < 8; ++k) crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x1021) : static_cast<uint16_t>(crc << 1);
  }
  return crc;
}

bool IsMacBinary(const std::string& data) { return HasMacBinaryHeader(MemoryByteSource(data)); }

TEST(MacBinary, VersionOneTwoAndThree) {
  EXPECT_TRUE(IsMacBinary(MacBinaryIHeader() + "x"));
  std::string h = MacBinaryIHeader();
  h[122] = char(129);
  h[123] = char(129);
  uint16_t crc = Crc16Xmodem(h.substr(0, 124));
  h[124] = char(crc >> 8);
  h[125] = char(crc & 0xFF);
  EXPECT_TRUE(IsMacBinary(h + "data"));
  h[124] ^= 1;
  EXPECT_FALSE(IsMacBinary(h + "data"));  // bad CRC
  EXPECT_FALSE(IsMacBinary(MacBinaryIHeader()));  // 128 bytes: nothing behind the header
}

TEST(MacBinary, OrdinaryFilesAreNotTakenForIt) {
  // A MOD whose title's second character is a digit and whose samples 3-4 are empty.
  std::string mod = "A1 tune" + std::string(13, '\0') + std::string(1064, '\0');
  mod[74] = 0x10;  // sample 2 finetune, non-zero in practice
  EXPECT_FALSE(IsMacBinary(mod));
  // A Recomposer "M1" file with zero bytes at 100..124.
  std::string m1 = "M1" + std::string(600, '\0');
  EXPECT_FALSE(IsMacBinary(m1));
  EXPECT_EQ(ReadAs(m1.replace(2, 3, "Abc"), kRowRCP).Title, "Abc");
}

TEST(MacBinary, RealFilesFromAMacintosh) {
  for (const char* name : {"Text File I.Bin", "Text File II.bin", "Text File.bin", "No resource fork.txt.bin", "Date Test.bin"}) {
    auto source = FileByteSource::Open(TestDataDir() + "macbinary/macbinary/" + name);
    ASSERT_TRUE(source) << name;
    EXPECT_TRUE(HasMacBinaryHeader(*source)) << name;
  }
}

TEST(ReadHeaderInfo, FilesThatCannotBeOpenedGetState2) {
  TempDir dir;
  ASSERT_EQ(::symlink((dir.path() + "missing-target").c_str(), (dir.path() + "LINK.MID").c_str()), 0);
  dir.MakeFolder("DIR.MID");
  for (const char* name : {"LINK", "DIR", "ABSENT"}) {
    TMusicFileInfo r;
    r.FileName = name;
    r.FileExt = ".MID";
    r.FileType = kRowMID;
    r.Title = "stale";
    ReadHeaderInfo(dir.path(), r, {});
    EXPECT_EQ(r.InfoState, kInfoCannotOpen) << name;
    EXPECT_EQ(r.Title, "");
  }
}

TEST(PlaceholderTitle, UntitledAndCvsCreatedAreCleared) {
  for (const char* title : {"untitled", "My untitled song", "CVS Created"}) {
    TMusicFileInfo r;
    r.Title = title;
    ApplyPlaceholderTitleRule(r);
    EXPECT_EQ(r.Title, "") << title;
  }
  TMusicFileInfo kept;
  kept.Title = "Untitled song";  // case-sensitive
  ApplyPlaceholderTitleRule(kept);
  EXPECT_EQ(kept.Title, "Untitled song");
}

}  // namespace
}  // namespace kadrel
