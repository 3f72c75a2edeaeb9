// Conversion before a player gets a file: Recomposer files to Standard MIDI, the sound
// module deciding whether the SMF knife runs, and the knife program's outcomes with
// stand-in programs (shell scripts run directly).

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "archive/lzh_writer.h"
#include "archive/unlha.h"
#include "base/encoding.h"
#include "base/text_helpers.h"
#include "catalog/format_table.h"
#include "playback/lp_convert_for_play.h"
#include "playback/player_command.h"
#include "support/recording_box.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

using test::TempDir;

std::string SampleRcp() { return test::ReadFileBytes(std::string(KADREL_SAMPLES_DIR) + "/HARU.RCP"); }

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

class Conversion : public ::testing::Test {
 protected:
  Conversion() {
    out = dir.MakeFolder("out") + "/";
    TPlayer_data& slot = settings.playerSlots[0];
    slot.InUse = true;
    slot.ExePath = "/usr/bin/true";
    slot.Formats.fill(true);
    slot.RcpcvRcp = true;
    slot.SmfKnife = true;
    settings.smfk.Use = 2;
    settings.smfk.Items = {{"GS", "gs.cfg", "GS", "", 20}, {"XG", "", "XG", "", 25}};
    settings.smfk.CfgDir = dir.path() + "cfg";
    settings.smfk.FindStyle = 1;  // the title only
    settings.knifeLimit = std::chrono::milliseconds(5000);
  }

  // A stand-in knife: the shell `body` sees the source as $2 and the output as $OUT.
  void Knife(const std::string& body) {
    const std::string path = dir.Write("bin/knife", "#!/bin/sh\nOUT=\"${4#/f}\"\n" + body + "\n");
    ::chmod(path.c_str(), 0755);
    settings.smfk.ExePath = path;
  }

  static TMusicFileInfo Item(const std::string& name, const std::string& title = {}) {
    TMusicFileInfo item;
    item.FileExt = ExtensionWithDot(name);
    item.FileName = name.substr(0, name.size() - item.FileExt.size());
    item.FileType = FormatRowForFileName(name);
    item.ItemKind = kLooseFile;
    item.Title = title;
    return item;
  }

  ConversionResult Convert(const TMusicFileInfo& item, const std::string& source, ConvertForPlayHooks hooks = {}) {
    if (!hooks.pause) hooks.pause = [](int) {};
    ConvertForPlay converter(settings, box, std::move(hooks));
    return converter.Convert({&item, 1, source, out, false});
  }

  TempDir dir;
  std::string out;
  ConvertForPlaySettings settings;
  test::RecordingMessageBox box;
};

TEST_F(Conversion, RecomposerFileBecomesStemDotMidOrFailsWithItsMessage) {
  const std::string source = dir.Write("Haru.rcp", SampleRcp());
  ConversionResult r = Convert(Item("Haru.rcp"), source);
  EXPECT_EQ(r.conversion, PlayConversion::Rcpcv);
  ASSERT_EQ(r.file, out + "Haru.MID");
  EXPECT_EQ(test::ReadFileBytes(r.file).substr(0, 4), "MThd");
  EXPECT_TRUE(box.shown.empty());

  // Without the slot's bit the player takes the Recomposer file as it is.
  settings.playerSlots[0].RcpcvRcp = false;
  EXPECT_EQ(Convert(Item("Haru.rcp"), source).file, source);

  settings.playerSlots[0].RcpcvRcp = true;
  const std::string broken = dir.Write("BAD.RCP", "not a song");
  r = Convert(Item("BAD.RCP"), broken);
  EXPECT_TRUE(r.file.empty());
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, "BAD.RCP のSMFへのコンバートに失敗しました.");
  EXPECT_FALSE(Exists(out + "BAD.MID"));
}

TEST_F(Conversion, RecomposerMemberIsPreparedAsStemDotMid) {
  std::string error;
  ASSERT_TRUE(WriteStoredArchive(dir.path() + "PACK.LZH", {{"HARU.RCP", SampleRcp()}, {Cp932("春.RCP"), SampleRcp()}},
                                 2, &error))
      << error;
  const std::string temp = dir.MakeFolder("tmp") + "/";
  TUnLhaManagement turns;
  ConversionResult seen;
  LpItemPreparation prep({temp, 0}, turns,
                         MakeListPlayConversion(settings, box, {}, [&](const ConversionResult& r) { seen = r; }));
  TPLMusicInfo item;
  item.Folder = dir.path();
  item.Music = Item("HARU.RCP");
  item.Music.ItemKind = kArchiveMember;
  item.Music.Archiver = "PACK.LZH";
  ListPlayPrepared prepared;
  ASSERT_EQ(prep.Prepare(item, 1, prepared, [] { return false; }), kPrepareOk);
  EXPECT_EQ(seen.conversion, PlayConversion::Rcpcv);
  EXPECT_EQ(prepared.FileToPlay, temp + "HARU.MID");
  prep.Stage(prepared);
  EXPECT_EQ(test::ReadFileBytes(prepared.FileToPlay).substr(0, 4), "MThd");

  // A Shift-JIS member is found under the name extraction gave it.
  item.Music.FileName = Cp932("春");
  ASSERT_EQ(prep.Prepare(item, 1, prepared, [] { return false; }), kPrepareOk);
  EXPECT_EQ(prepared.FileToPlay, temp + "春.MID");
  ResetLhaLibraryForTesting();
}

TEST_F(Conversion, TheModuleDecidesWhetherTheKnifeRuns) {
  Knife("exit 0");
  std::vector<std::vector<std::string>> runs;
  ConvertForPlayHooks hooks;
  hooks.runKnife = [&](const std::vector<std::string>& argv, auto, auto&) {
    runs.push_back(argv);
    test::WriteFileBytes(argv.back().substr(2), "MThd-knifed");
    return KnifeProcessResult{true, 0, true, 0, false, false};
  };
  const std::string mid = dir.Write("SONG.MID", "MThd-song");

  // No module named; a module without a configuration; the slot does not ask for it.
  EXPECT_EQ(Convert(Item("SONG.MID", "plain"), mid, hooks).file, mid);
  ConversionResult r = Convert(Item("SONG.MID", "XG song"), mid, hooks);
  EXPECT_EQ(r.file, mid);
  EXPECT_EQ(r.module, "XG");
  settings.playerSlots[0].SmfKnife = false;
  EXPECT_EQ(Convert(Item("SONG.MID", "GS song"), mid, hooks).file, mid);
  EXPECT_TRUE(runs.empty());

  // The knife writes beside the source; the configuration is found under "CfgDir".
  settings.playerSlots[0].SmfKnife = true;
  r = Convert(Item("SONG.MID", "GS song"), mid, hooks);
  EXPECT_EQ(r.conversion, PlayConversion::Knife);
  EXPECT_EQ(r.file, out + "SONG.MID");
  EXPECT_EQ(test::ReadFileBytes(r.file), "MThd-knifed");
  EXPECT_EQ(test::ReadFileBytes(mid), "MThd-song");
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0][2], mid);
  EXPECT_EQ(runs[0][3], dir.path() + "cfg/gs.cfg");

  // A Recomposer file for a knife module is converted first even when the slot does
  // not ask for it, and the knife then works on the converted file in place.
  settings.playerSlots[0].RcpcvRcp = false;
  const std::string rcp = dir.Write("HARU.RCP", SampleRcp());
  r = Convert(Item("HARU.RCP", "GS song"), rcp, hooks);
  EXPECT_EQ(r.conversion, PlayConversion::RcpcvKnife);
  EXPECT_EQ(r.file, out + "HARU.MID");
  EXPECT_EQ(test::ReadFileBytes(r.file), "MThd-knifed");
  EXPECT_FALSE(Exists(out + "$~HARU.MID"));
}

TEST_F(Conversion, ModuleFromAShiftJisDocumentTakenOutOfTheArchive) {
  settings.smfk.FindStyle = 2;  // the document only
  Knife("exit 0");
  const std::string docName = Cp932("説明.TXT");
  test::WriteFileBytes(out + "説明.TXT", Cp932("SONG.MID 推奨音源 GS\n"));
  TMusicFileInfo item = Item("SONG.MID");
  item.DocFile = docName;
  const std::string mid = dir.Write("SONG.MID", "MThd");
  ConvertForPlayHooks hooks;
  hooks.runKnife = [](auto&&...) { return KnifeProcessResult{}; };
  EXPECT_EQ(Convert(item, mid, hooks).module, "GS");
}

TEST_F(Conversion, KnifeProgramOutcomes) {
  const std::string original = "MThd-original";
  struct Case {
    const char* body;
    int result;
  } cases[] = {
      {"printf MThd-new > \"$OUT\"", -1},
      {"printf RIFF > \"$OUT\"", 4},             // exit 0, but no Standard MIDI file
      {"printf MThd-new > \"$OUT\"; exit 3", 8},  // wrote something, then failed
      {"exit 0", 4},                             // nothing written
  };
  for (const Case& c : cases) {
    Knife(c.body);
    // The source lies in the output folder: it steps aside under "$~" and comes back
    // when the knife fails.
    const std::string source = out + "SONG.MID";
    test::WriteFileBytes(source, original);
    box.beeps.clear();
    const ConversionResult r = Convert(Item("SONG.MID", "GS"), source);
    ASSERT_TRUE(r.knifeResult) << c.body;
    EXPECT_EQ(*r.knifeResult, c.result) << c.body;
    EXPECT_EQ(r.file, source) << c.body;
    EXPECT_EQ(test::ReadFileBytes(source), c.result < 0 ? "MThd-new" : original) << c.body;
    EXPECT_EQ(box.beeps.size(), c.result < 0 ? 0u : 1u) << c.body;
    for (const auto& entry : std::filesystem::directory_iterator(out))
      EXPECT_EQ(entry.path().filename(), "SONG.MID") << c.body;  // nothing left behind
  }

  settings.smfk.ExePath = dir.path() + "bin/none";
  EXPECT_EQ(*Convert(Item("SONG.MID", "GS"), out + "SONG.MID").knifeResult, 9);
  EXPECT_EQ(KnifeResultText(9), "SMFナイフのEXEが存在しません.");
}

TEST_F(Conversion, HangingKnifeIsKilledAtTheLimitOrOnStop) {
  Knife("exec sleep 30");
  const std::string source = out + "SONG.MID";
  test::WriteFileBytes(source, "MThd-original");
  settings.knifeLimit = std::chrono::milliseconds(300);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(*Convert(Item("SONG.MID", "GS"), source).knifeResult, 8);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(test::ReadFileBytes(source), "MThd-original");

  settings.knifeLimit = std::chrono::seconds(30);
  start = std::chrono::steady_clock::now();
  ConvertForPlayHooks hooks;
  hooks.stopRequested = [start] { return std::chrono::steady_clock::now() - start > std::chrono::milliseconds(200); };
  EXPECT_EQ(*Convert(Item("SONG.MID", "GS"), source, hooks).knifeResult, 7);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(test::ReadFileBytes(source), "MThd-original");
}

TEST_F(Conversion, SetAsideNameInUseIsNeverReplaced) {
  Knife("printf MThd-new > \"$OUT\"");
  const std::string source = out + "SONG.MID";
  test::WriteFileBytes(source, "MThd-original");
  test::WriteFileBytes(out + "$~SONG.MID", "someone else's");
  const ConversionResult r = Convert(Item("SONG.MID", "GS"), source);
  EXPECT_EQ(*r.knifeResult, 2);
  EXPECT_EQ(test::ReadFileBytes(source), "MThd-original");
  EXPECT_EQ(test::ReadFileBytes(out + "$~SONG.MID"), "someone else's");
}

TEST_F(Conversion, WindowsKnifeRunsThroughWineAndTheLibraryIsUnavailable) {
  const std::string exe = dir.Write("W95SMFK.EXE", "MZ");
  settings.smfk.ExePath = exe;
  settings.wine = "/usr/bin/wine";
  std::vector<std::string> argv;
  ConvertForPlayHooks hooks;
  hooks.runKnife = [&](const std::vector<std::string>& a, auto, auto&) {
    argv = a;
    return KnifeProcessResult{true, 0, true, 0, false, false};
  };
  const std::string source = dir.Write("SONG.MID", "MThd");
  Convert(Item("SONG.MID", "GS"), source, hooks);
  ASSERT_EQ(argv.size(), 6u);
  EXPECT_EQ(argv[0], "/usr/bin/wine");
  EXPECT_EQ(argv[1], exe);
  EXPECT_EQ(argv[2], "/auto");
  EXPECT_EQ(argv[3], WindowsPathOf(source));
  EXPECT_EQ(argv[5].substr(0, 4), "/fZ:");
  EXPECT_EQ(argv[5].find(' '), std::string::npos);

  settings.smfk.Use = 1;
  const ConversionResult r = Convert(Item("SONG.MID", "GS"), source, hooks);
  EXPECT_EQ(*r.knifeResult, 0);
  EXPECT_EQ(r.file, source);
  ASSERT_FALSE(box.shown.empty());
  EXPECT_EQ(box.shown.back().text, "SmfkConvert: SMFK32.DLL の読み込みに失敗しました.");
}

}  // namespace
}  // namespace kadrel
