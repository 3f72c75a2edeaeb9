// Choosing the sound module from a song's title, document and file name.

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "playback/lp_sound_module.h"

namespace kadrel {
namespace {

class SoundModule : public ::testing::Test {
 protected:
  SoundModule() {
    modules = DefaultSoundModules();
    item.FileName = "SONG";
    item.FileExt = ".MID";
  }
  std::string Chosen(const std::vector<std::string>& utf8Lines, std::string_view docStem = "SONG") {
    std::vector<std::string> lines;
    for (const auto& line : utf8Lines) lines.push_back(Cp932(line));
    const int m = ChooseSoundModule(item, lines, modules, ModuleSearch::Text, docStem);
    return m < 0 ? "none" : modules[m].Name;
  }
  std::vector<TSmfkItem> modules;
  TMusicFileInfo item;
};

TEST_F(SoundModule, StrongKeywordWithRecommendationBeatsPlainKeywordElsewhere) {
  EXPECT_EQ(Chosen({"GS対応です", "推奨音源 : 88map"}), "SC88");
  EXPECT_EQ(Chosen({"SC88Pro でも鳴ります", "VSC-88"}), "SC88");  // FindStr2 outranks any priority
}

TEST_F(SoundModule, ModuleWordsAddToTheCount) {
  EXPECT_EQ(Chosen({"SC55", "MU50 音源"}), "MU50");          // 60 + 300 over 100
  EXPECT_EQ(Chosen({"SC88", "製作環境 : SC-55"}), "SC55");   // "?作環境" takes any first character
  EXPECT_EQ(Chosen({"XG", "ＧＳ"}), "XG");                     // equal counts: priority decides
  EXPECT_EQ(Chosen({"なにもなし"}), "none");
}

TEST_F(SoundModule, TheLineNamingTheFileComesFirst) {
  EXPECT_EQ(Chosen({"SONG.MID  GS", "推奨音源 SC-88 88map", "song.mid XG"}), "XG");  // the last naming line
}

TEST_F(SoundModule, AnotherDocumentCountsOnlyWhenItNamesTheItemOrArchive) {
  EXPECT_EQ(Chosen({"推奨音源 SC-88"}, "README"), "none");
  EXPECT_EQ(Chosen({"SONG.MID", "推奨音源 SC-88"}, "README"), "SC88");
  item.Archiver = "PACK.LZH";
  EXPECT_EQ(Chosen({"PACK.LZH の曲", "推奨音源 SC-88"}, "readme"), "SC88");
  item.Archiver.clear();  // an empty archive name is in no line
  EXPECT_EQ(Chosen({"推奨音源 SC-88"}, "README"), "none");
  EXPECT_EQ(Chosen({"推奨音源 SC-88"}, "song"), "SC88");
}

TEST_F(SoundModule, FindStyleChoosesTheSources) {
  TSmfkInfo settings;
  settings.Items = modules;
  item.FileName = "SC88SONG";
  item.Title = Cp932("春の歌");
  EXPECT_EQ(ChooseSoundModuleForItem(item, {}, "", settings), -1);  // 7: the file name is not searched
  settings.FindStyle = 8;
  EXPECT_EQ(modules[ChooseSoundModuleForItem(item, {}, "", settings)].Name, "SC88");

  settings.FindStyle = 7;
  item.Title = Cp932("春の歌 (MU80)");
  const std::vector<std::string> doc = {Cp932("推奨音源 88map")};
  EXPECT_EQ(modules[ChooseSoundModuleForItem(item, doc, "SC88SONG", settings)].Name, "MU80");  // title first
  settings.FindStyle = 2;
  EXPECT_EQ(modules[ChooseSoundModuleForItem(item, doc, "SC88SONG", settings)].Name, "SC88");
}

}  // namespace
}  // namespace kadrel
