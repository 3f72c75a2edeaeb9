#include "catalog/index_record.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace kadrel {
namespace {

TMusicFileInfo SongInArchive() {
  return {.FileName = "Song", .FileExt = ".mid", .FileType = 1, .Detail = "SMF1", .Info = 1, .DosDate = 0x2A21,
          .DosTime = 0x6C35, .Size = 74565, .LinkFile = "link", .DocFile = "/x/doc.txt", .Archiver = "A.LZH",
          .Title = "\x83\x5E\x83\x43\x83\x67\x83\x8B",  // katakana in CP932
          .Artist = "Artist", .Album = "Album", .Composer = "C", .SongWriter = "S", .DataMaker = "D",
          .IconIndex = 2, .MacBinary = 0, .ItemKind = kArchiveMember, .InfoState = 4};
}

TEST(IndexRecord, FixedFieldsAreStoredByteForByte) {
  const std::string bytes = EncodeIndexRecord(SongInArchive());
  const std::string head("\xFF\x21\x01\x02\x04\x01\x03\x01\x45\x23\x01\x00\x2A\x21\x6C\x35\x04Song", 21);
  EXPECT_EQ(bytes.substr(0, head.size()), head);
  EXPECT_EQ(bytes.back(), '\0');
  // Title has a two-byte length, little-endian.
  EXPECT_NE(bytes.find(std::string("\x08\x00\x83\x5E", 4)), std::string::npos);

  TMusicFileInfo mac = SongInArchive();
  mac.MacBinary = 1;
  EXPECT_EQ(EncodeIndexRecord(mac)[7], '\0');
}

TEST(IndexRecord, RoundTripRebuildsExtensionAndDropsLinks) {
  const TMusicFileInfo in = SongInArchive();
  const std::string image = "xx" + EncodeIndexRecord(in) + "\xFF\x21";
  size_t next = 0;
  auto out = DecodeIndexRecord(image, 2, &next);
  ASSERT_TRUE(out);
  EXPECT_EQ(next, image.size() - 2);
  TMusicFileInfo expected = in;
  expected.FileExt = ".MID";
  expected.LinkFile.clear();
  expected.DocFile.clear();
  EXPECT_EQ(*out, expected);

  TMusicFileInfo big = in;
  big.Size = -1;  // 4 GiB - 1 survives as the same 32 bits
  big.MacBinary = 1;
  auto back = DecodeIndexRecord(EncodeIndexRecord(big), 0, &next);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Size, -1);
  EXPECT_EQ(back->MacBinary, 1);
}

TEST(IndexRecord, TruncatedOrMisplacedInputIsRefused) {
  const std::string bytes = EncodeIndexRecord(SongInArchive());
  size_t next = 12345;
  for (size_t n = 0; n < bytes.size(); ++n)
    EXPECT_FALSE(DecodeIndexRecord(std::string_view(bytes).substr(0, n), 0, &next)) << n;
  EXPECT_FALSE(DecodeIndexRecord(bytes, 1, &next));
  EXPECT_FALSE(DecodeIndexRecord(bytes, bytes.size() + 5, &next));
  EXPECT_EQ(next, 12345u);
  // A string length pointing past the end.
  std::string broken = bytes.substr(0, 17);
  broken[16] = '\xFF';
  EXPECT_FALSE(DecodeIndexRecord(broken + "abc", 0, &next));
}

TEST(IndexRecord, FitToLengthCutsAtCharacterBoundaries) {
  // 'a' + two double-byte characters (the second one's trail byte is 0x5C); half-width
  // kana are single bytes; "aあい" in UTF-8.
  const std::tuple<std::string, size_t, size_t> cases[] = {
      {"a\x83\x5E\x95\x5C", 4, 3}, {"\xB1\xB2\xB3", 2, 2}, {"a\xE3\x81\x82\xE3\x81\x84", 6, 4}};
  for (const auto& [text, maximum, expected] : cases) EXPECT_EQ(FitToLength(text, maximum).size(), expected) << text;
}

TEST(IndexRecord, OverlongStringsStayDecodable) {
  TMusicFileInfo r = SongInArchive();
  r.Composer.clear();
  for (int i = 0; i < 200; ++i) r.Composer += "\x83\x5E";  // 400 bytes of double-byte text
  r.Title = std::string(70000, 'T');
  size_t next = 0;
  const std::string bytes = EncodeIndexRecord(r);
  auto back = DecodeIndexRecord(bytes, 0, &next);
  ASSERT_TRUE(back);
  EXPECT_EQ(next, bytes.size());
  EXPECT_EQ(back->Composer.size(), 254u);
  EXPECT_EQ(back->Title.size(), 65535u);
  EXPECT_EQ(back->SongWriter, "S");
}

}  // namespace
}  // namespace kadrel
