#include <gtest/gtest.h>

#include "base/encoding.h"
#include "readers/reader_test_util.h"

namespace kadrel {
namespace {
using namespace kadrel::test;

std::string Rcp2(const std::string& title, bool markers = true) {
  std::string s(600, ' ');
  s.replace(0, 28, "RCM-PC98V2.0(C)COME ON MUSIC");
  s.replace(32, title.size(), title);
  if (markers) s.replace(433, 15, std::string(15, '@'));
  return s;
}

TEST(RecomposerReaders, Version2TitleDetailAndStates) {
  TMusicFileInfo r = ReadAs(Rcp2(Cp932("春の歌")), kRowRCP);
  EXPECT_EQ(r.Detail, "RCM2");
  EXPECT_EQ(DisplayText(r.Title), "春の歌");
  EXPECT_EQ(ReadAs(Rcp2(""), kRowR36).InfoState, kInfoNoTitle);
  EXPECT_EQ(ReadAs(Rcp2("x", false), kRowRCP).Detail, "");
  EXPECT_EQ(ReadAs(Rcp2("x", false), kRowRCP).InfoState, kInfoNoTitle);
  EXPECT_EQ(ReadAs(std::string(600, 'z'), kRowRCP).InfoState, kInfoFormatMismatch);
  // Files of 512 bytes or less are left alone.
  TMusicFileInfo small = ReadAs(Rcp2("x").substr(0, 512), kRowRCP);
  EXPECT_EQ(small.InfoState, kInfoRead);
  EXPECT_EQ(small.Detail, "");
}

TEST(RecomposerReaders, Version1AndVersion3) {
  std::string m1(600, '\0');
  m1.replace(0, 2, "M1");
  m1.replace(2, 5, "Old 1");
  EXPECT_EQ(ReadAs(m1, kRowRCP).Detail, "RCM1");
  EXPECT_EQ(ReadAs(m1, kRowRCP).Title, "Old 1");

  std::string g(600, ' ');
  g.replace(0, 31, "COME ON MUSIC RECOMPOSER RCP3.0");
  g.replace(32, 4, "G36!");
  EXPECT_EQ(ReadAs(g, kRowG36).Detail, "RCM3");
  EXPECT_EQ(ReadAs(g, kRowG36).Title, "G36!");
  EXPECT_EQ(ReadAs(g.substr(0, 512), kRowG18).InfoState, kInfoFormatMismatch);
  EXPECT_EQ(ReadAs(std::string(600, 'q'), kRowG18).InfoState, kInfoNoTitle);
}

TEST(ModAndTwinVqReaders, TitlesAndStates) {
  std::string mod = std::string("tune\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 20) + std::string(1064, '\1');
  EXPECT_EQ(ReadAs(mod, kRowMOD).Title, "tune");
  EXPECT_EQ(ReadAs(mod, kRowMOD).Detail, "MOD");
  EXPECT_EQ(ReadAs(std::string(1084, '\0'), kRowMOD).InfoState, kInfoNoTitle);
  EXPECT_EQ(ReadAs("short", kRowMOD).InfoState, kInfoFormatMismatch);

  const std::string name = "NAME" + Be32Bytes(5) + "Hello";
  const std::string vqf = "TWIN97012000" + Be32Bytes(static_cast<uint32_t>(name.size())) + name;
  EXPECT_EQ(ReadAs(vqf, kRowVQF).Title, "Hello");
  EXPECT_EQ(ReadAs(vqf, kRowVQF).Detail, "SoundVQ");
  const std::string noName = "TWIN97012000" + Be32Bytes(8) + "AUTH" + Be32Bytes(0);
  EXPECT_EQ(ReadAs(noName, kRowVQF).InfoState, kInfoFormatMismatch);
  // A header length far past the end is capped and read as far as it goes.
  EXPECT_EQ(ReadAs("TWIN97012000" + Be32Bytes(0xFFFFFFFF) + name, kRowVQF).Title, "Hello");
}

TEST(MgsReader, LinkAndTitleLinesStartTheLine) {
  TMusicFileInfo r = ReadAs("; comment\r\n#title \"Spring\r\n@midiplay \"SONG.MID\"\r\n", kRowMGS);
  EXPECT_EQ(r.Detail, "MGS");
  EXPECT_EQ(r.LinkFile, "SONG.MID");
  EXPECT_EQ(r.Title, "Spring");
  EXPECT_EQ(r.InfoState, kInfoRead);
  // Keywords that do not start a line do not count; a script without a link has no title.
  TMusicFileInfo none = ReadAs(" @MIDIPLAY  A.MID\r\n#TITLE  Lost\r\n", kRowMGS);
  EXPECT_EQ(none.LinkFile, "");
  EXPECT_EQ(none.Title, "");
  EXPECT_EQ(none.Detail, "");
  // Lines ending in LF only.
  EXPECT_EQ(ReadAs("@MIDIPLAY  B.RCP\n#TITLE  T\n", kRowMGS).LinkFile, "B.RCP");
}

TEST(PlayListReader, BothVersionsAndTheSizeCheck) {
  TMusicFileInfo old = ReadAs("[Kadrel PlayListFile Ver0.01]\r\nSONG\r\n", kRowMPL);
  EXPECT_EQ(old.Detail, "PlayList0.01");
  EXPECT_EQ(old.InfoState, kInfoNoTitle);

  std::string v1 = std::string(PlayListSignatureV1()) + "\xFF\x20" + Le32Bytes(0) + std::string(1, '\0') +
                   "\xFF\x30" + std::string(1, 5) + "Party" + "\xFF\x29";
  v1.replace(28, 4, Le32Bytes(static_cast<uint32_t>(v1.size())));
  TMusicFileInfo cur = ReadAs(v1, kRowMPL);
  EXPECT_EQ(cur.Detail, "PlayList1.00");
  EXPECT_EQ(cur.Title, "Party");
  EXPECT_EQ(cur.InfoState, kInfoRead);
  v1.replace(28, 4, Le32Bytes(static_cast<uint32_t>(v1.size() + 1)));
  EXPECT_EQ(ReadAs(v1, kRowMPL).Title, "");  // size field off by one: counts as damaged
  EXPECT_EQ(ReadAs("garbage", kRowMPL).InfoState, kInfoFormatMismatch);
}

}  // namespace
}  // namespace kadrel
