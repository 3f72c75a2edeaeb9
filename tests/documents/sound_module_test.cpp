#include "formats/document/sound_module.h"

#include <gtest/gtest.h>

#include "base/encoding.h"

namespace kadrel {
namespace {

class SoundModuleTest : public ::testing::Test {
 protected:
  SoundModuleTest() {
    r_.FileName = "SONG";
    r_.FileExt = ".MID";
    r_.DocFile = "/music/SONG.TXT";
  }

  std::string Detect(std::initializer_list<const char*> lines, SoundModuleSource source = SoundModuleSource::Document) {
    std::vector<std::string> cp932;
    for (const char* l : lines) cp932.push_back(Cp932(l));
    int index = DetectSoundModule(r_, cp932, source, modules_);
    return index < 0 ? "none" : modules_[static_cast<size_t>(index)].Name;
  }

  TMusicFileInfo r_;
  std::vector<TSmfkItem> modules_ = DefaultSoundModules();
};

TEST_F(SoundModuleTest, HigherPriorityWins) {
  EXPECT_EQ(Detect({"GS/XG対応"}), "XG");
  EXPECT_EQ(Detect({"ＭＵ－８０で作りました"}), "MU80");
  EXPECT_EQ(Detect({"Nothing about modules"}), "none");
}

TEST_F(SoundModuleTest, RecommendedModuleWithStrongKeywordBeatsOtherLines) {
  EXPECT_EQ(Detect({"GS音源で鳴ります", "推奨音源：SC-88 (88map)"}), "SC88");
}

TEST_F(SoundModuleTest, PhrasesRaiseTheScore) {
  // SC55 on a line with 音源 and 推奨音源 (2 + 1) beats the higher priority of SC88 mentioned plainly.
  EXPECT_EQ(Detect({"推奨音源：SC-55", "SC-88でも可"}), "SC55");
  // "?作環境" takes any character in the second position once the first matched.
  EXPECT_EQ(Detect({"動作環境 GS", "XG"}), "GS");
}

TEST_F(SoundModuleTest, LineThatNamesTheFileComesFirst) {
  EXPECT_EQ(Detect({"SONG.MID  GS", "推奨音源 SC-88Pro 88pro"}), "GS");
}

TEST_F(SoundModuleTest, DocumentNamedOtherwiseMustMentionTheFile) {
  r_.DocFile = "/music/README.TXT";
  EXPECT_EQ(Detect({"推奨音源：XG"}), "none");
  EXPECT_EQ(Detect({"song.mid : XG"}), "XG");
  r_.Archiver = "ALBUM.LZH";
  EXPECT_EQ(Detect({"ALBUM.LZH", "推奨音源：XG"}), "XG");
  // The base-name rule belongs to documents only.
  EXPECT_EQ(Detect({"XG"}, SoundModuleSource::Title), "XG");
}

TEST_F(SoundModuleTest, DefaultModuleWithoutKeywordsNeverHits) {
  modules_.resize(1);
  EXPECT_EQ(Detect({"推奨音源"}), "none");
}

}  // namespace
}  // namespace kadrel
