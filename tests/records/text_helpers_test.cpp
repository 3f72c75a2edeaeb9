#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/encoding.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"

namespace kadrel {
namespace {

TEST(TextCleanup, LineBreaksBecomeTwoSpacesAndBlanksAreTrimmed) {
  EXPECT_EQ(TextCleanup("a\r\nb"), "a  b");
  EXPECT_EQ(TextCleanup("a\nb\rc"), "a  b  c");
  EXPECT_EQ(TextCleanup(std::string("\0\t Song \x1f\0", 10)), "Song");
  EXPECT_EQ(TextCleanup("\n"), "");
  // Bytes above 0x7F are text, never trimmed.
  EXPECT_EQ(TextCleanup("\x81\x40"), "\x81\x40");
}

TEST(CsvField, QuotedAndEmptyFields) {
  EXPECT_EQ(CsvField(" a,b,c ", 1), "a");
  EXPECT_EQ(CsvField("a,b,c", 3), "c");
  EXPECT_EQ(CsvField("a,,c", 2), "");
  EXPECT_EQ(CsvField("a,b", 3), "");
  EXPECT_EQ(CsvField("\"HED\",TXT", 1), "HED");
  EXPECT_EQ(CsvField("\"say \"\"hi\"\"\",x", 1), "say \"hi\"");
  EXPECT_EQ(CsvField("\"a,b\",c", 2), "c");
  EXPECT_EQ(CsvField("", 1), "");
}

TEST(NameHelpers, ExtensionsAndMemberBaseNames) {
  EXPECT_EQ(NameWithoutExtension("SONG"), "SONG");
  EXPECT_EQ(ExtensionWithDot("SONG"), "");
  EXPECT_EQ(NameWithoutExtension("A.B.MID"), "A.B");
  EXPECT_EQ(ExtensionWithDot("A.B.MID"), ".MID");
  EXPECT_EQ(ExtensionWithoutDot("a.mid"), "mid");
  EXPECT_EQ(MemberBaseName("doc/readme.txt"), "readme.txt");
  EXPECT_EQ(MemberBaseName("readme.txt"), "readme.txt");
}

// ヂ is 83 61 and ア 83 41: their trail bytes look like "a" and "A".
TEST(LetterCase, ShiftJisTrailBytesAreNeverChanged) {
  EXPECT_EQ(ToUpperAscii("\x83\x61" "a.mid"), "\x83\x61" "A.MID");
  EXPECT_EQ(ToLowerAscii("\x83\x41" "B"), "\x83\x41" "b");
  EXPECT_TRUE(EqualsIgnoreCase("Song.MID", "song.mid"));
  EXPECT_FALSE(EqualsIgnoreCase("\x83\x41.MID", "\x83\x61.MID"));
}

TEST(ShortenPath, WindowsFormExamplesStillHold) {
  EXPECT_EQ(ShortenPath("C:\\music\\japan\\rcp\\", 12), "C:\\..\\rcp\\");
  EXPECT_EQ(ShortenPath("C:\\MUSIC\\MIDI\\GAME\\SONGS", 15), "C:\\..\\SONGS");
  EXPECT_EQ(ShortenPath("C:\\MUSIC\\MIDI\\GAME\\SONGS", 7), "C:\\MUSIC\\MIDI\\GAME\\SONGS");
}

TEST(ShortenPath, LinuxPathsKeepTheRoot) {
  EXPECT_EQ(ShortenPath("/home/user/music/midi/", 14), "/../midi/");
  EXPECT_EQ(ShortenPath("/home/user/music/midi/", 40), "/home/user/music/midi/");
  // Nothing left to cut: the path stays longer than the maximum.
  EXPECT_EQ(ShortenPath("/averyveryverylongfoldername", 10), "/averyveryverylongfoldername");
}

TEST(DisplayText, Utf8StaysAndCp932IsDecoded) {
  EXPECT_EQ(DisplayText("\x8B\xC8\x96\xBC\x81\x46\x83\x65\x83\x58\x83\x67"), "曲名：テスト");
  EXPECT_EQ(DisplayText("\xEF\xBD\xBE"), "ｾ");  // valid UTF-8 is kept
  // A lone lead byte at the end becomes one replacement character.
  EXPECT_EQ(DisplayText(std::string("A\x82", 2)), "A\xEF\xBF\xBD");
}

// The UTF-16 form decodes CP932 by its own table: it must agree with DisplayText on
// every one- and two-byte text (each lead byte with every following byte, undecodable
// pairs and lone lead bytes included) and on longer mixed texts.
TEST(DisplayText, Utf16FormAgreesWithTheUtf8Form) {
  auto viaUtf16 = [](std::string_view bytes) {
    std::u16string units;
    DisplayTextUtf16(bytes, units);
    std::string le;
    for (char16_t u : units) {
      le += static_cast<char>(u & 0xFF);
      le += static_cast<char>(u >> 8);
    }
    return Utf16ToUtf8(le, false);
  };
  for (int a = 0; a < 256; ++a) {
    const std::string one(1, static_cast<char>(a));
    ASSERT_EQ(viaUtf16(one), DisplayText(one)) << a;
    for (int b = 0; b < 256; ++b) {
      const std::string two{static_cast<char>(a), static_cast<char>(b)};
      ASSERT_EQ(viaUtf16(two), DisplayText(two)) << a << ' ' << b;
    }
  }
  std::mt19937 rng(5);
  const std::string pieces[] = {"\x82\xA0", "\x83\x41", "\x81\x40", "\x81\x75", "\xB1", "\xDF", "A", " ",
                                "\x82",     "\x85\x40", "\x81\x20", "\xFF",     "\x80", "\x87\x40", "\xFC\xFC",
                                "\xEF\xBD\xBE", "\xF0\x9F\x8E\xB5"};
  for (int i = 0; i < 2000; ++i) {
    std::string text;
    for (int k = static_cast<int>(rng() % 12); k > 0; --k) text += pieces[rng() % std::size(pieces)];
    ASSERT_EQ(viaUtf16(text), DisplayText(text)) << testing::PrintToString(text);
  }
}

}  // namespace
}  // namespace kadrel
