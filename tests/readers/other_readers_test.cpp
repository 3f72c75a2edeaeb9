#include <gtest/gtest.h>

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

std::string Padded(std::string head, size_t size, char fill) { return head + std::string(size - head.size(), fill); }

std::string PlayListV1(uint32_t sizeDelta = 0) {
  std::string v1 = std::string(PlayListSignatureV1()) + "\xFF\x20" + Le32Bytes(0) + std::string(1, '\0') + "\xFF\x30" +
                   std::string(1, 5) + "Party" + "\xFF\x29";
  return v1.replace(28, 4, Le32Bytes(static_cast<uint32_t>(v1.size() + sizeDelta)));
}

struct ReaderCase {
  const char* what;
  std::string file;
  int row;
  const char* detail;
  const char* title;
  int state;
};

TEST(OtherReaders, DetailTitleAndState) {
  const std::string vqfName = "NAME" + Be32Bytes(5) + "Hello";
  const std::string rcp3 = Padded("COME ON MUSIC RECOMPOSER RCP3.0 G36!", 600, ' ');
  const ReaderCase cases[] = {
      {"Recomposer 2", Rcp2("\x8F\x74\x82\xCC\x89\xCC"), kRowRCP, "RCM2", "\x8F\x74\x82\xCC\x89\xCC", kInfoRead},  // 春の歌
      {"Recomposer 2 without a title", Rcp2(""), kRowR36, "RCM2", "", kInfoNoTitle},
      {"Recomposer 2 without its markers", Rcp2("x", false), kRowRCP, "", "", kInfoNoTitle},
      {"not Recomposer", std::string(600, 'z'), kRowRCP, "", "", kInfoFormatMismatch},
      {"512 bytes or less are left alone", Rcp2("x").substr(0, 512), kRowRCP, "", "", kInfoRead},
      {"Recomposer 1", Padded("M1Old 1", 600, '\0'), kRowRCP, "RCM1", "Old 1", kInfoRead},
      {"Recomposer 3", rcp3, kRowG36, "RCM3", "G36!", kInfoRead},
      {"Recomposer 3 cut short", rcp3.substr(0, 512), kRowG18, "", "", kInfoFormatMismatch},
      {"not Recomposer 3", std::string(600, 'q'), kRowG18, "", "", kInfoNoTitle},
      {"MOD", Padded(std::string("tune\0", 5), 20, '\0') + std::string(1064, '\1'), kRowMOD, "MOD", "tune", kInfoRead},
      {"MOD without a title", std::string(1084, '\0'), kRowMOD, "MOD", "", kInfoNoTitle},
      {"MOD cut short", "short", kRowMOD, "", "", kInfoFormatMismatch},
      {"TwinVQ", "TWIN97012000" + Be32Bytes(static_cast<uint32_t>(vqfName.size())) + vqfName, kRowVQF, "SoundVQ",
       "Hello", kInfoRead},
      {"TwinVQ without a name", "TWIN97012000" + Be32Bytes(8) + "AUTH" + Be32Bytes(0), kRowVQF, "", "",
       kInfoFormatMismatch},
      // A header length far past the end is capped and read as far as it goes.
      {"TwinVQ header past the end", "TWIN97012000" + Be32Bytes(0xFFFFFFFF) + vqfName, kRowVQF, "SoundVQ", "Hello",
       kInfoRead},
      {"MGS", "; comment\r\n#title \"Spring\r\n@midiplay \"SONG.MID\"\r\n", kRowMGS, "MGS", "Spring", kInfoRead},
      {"old play list", "[Kadrel PlayListFile Ver0.01]\r\nSONG\r\n", kRowMPL, "PlayList0.01", "", kInfoNoTitle},
      {"play list", PlayListV1(), kRowMPL, "PlayList1.00", "Party", kInfoRead},
      {"play list size one off", PlayListV1(1), kRowMPL, "PlayList1.00", "", kInfoNoTitle},
      {"not a play list", "garbage", kRowMPL, "", "", kInfoFormatMismatch},
  };
  for (const ReaderCase& c : cases) {
    const TMusicFileInfo r = ReadAs(c.file, c.row);
    EXPECT_EQ(r.Detail, c.detail) << c.what;
    EXPECT_EQ(r.Title, c.title) << c.what;
    EXPECT_EQ(r.InfoState, c.state) << c.what;
  }
}

TEST(OtherReaders, MgsLinkStartsItsLine) {
  EXPECT_EQ(ReadAs("; comment\r\n@midiplay \"SONG.MID\"\r\n", kRowMGS).LinkFile, "SONG.MID");
  // Keywords that do not start a line do not count; a script without a link has no title.
  const TMusicFileInfo none = ReadAs(" @MIDIPLAY  A.MID\r\n#TITLE  Lost\r\n", kRowMGS);
  EXPECT_EQ(none.LinkFile + none.Title + none.Detail, "");
  EXPECT_EQ(ReadAs("@MIDIPLAY  B.RCP\n#TITLE  T\n", kRowMGS).LinkFile, "B.RCP");  // lines ending in LF only
}

}  // namespace
}  // namespace kadrel
