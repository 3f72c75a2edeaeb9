// Normal play through the engine, with stand-in players and scripted message boxes.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "archive/lzh_writer.h"
#include "play_fixture.h"
#include "playback/player_engine.h"
#include "playback/temp_purge.h"
#include "support/recording_box.h"

namespace kadrel::test {
namespace {

using namespace std::chrono_literals;

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() {
    temp = dir.MakeFolder("tmp") + "/";
    ::chmod(temp.c_str(), 0700);
    music = dir.MakeFolder("music") + "/";
    settings.tempFolder = temp;
    settings.playerSlots[0] = Slot(programs.Path("timidity"), {kRowMID, kRowRCP});
    settings.playerSlots[1] = Slot(programs.Path("mpg123"), {kRowMP3});
    MakeEngine();
  }
  ~EngineTest() override {
    engine->ClosePlayer();
    for (int i = 0; i < 300 && engine->PendingProcesses() > 0; ++i) std::this_thread::sleep_for(10ms);
    engine.reset();
  }

  static TPlayer_data Slot(const std::string& exe, std::initializer_list<int> rows) {
    TPlayer_data p;
    p.ExePath = exe;
    p.InUse = true;
    p.DisplayName = exe.substr(exe.rfind('/') + 1);
    for (int row : rows) p.Formats[static_cast<size_t>(row)] = true;
    return p;
  }
  void MakeEngine() {
    engine = std::make_unique<PlayerEngine>(settings, box, clock, windows);
    engine->hooks.controls = [this](const PlayerControls& c) { controls = c; };
  }
  TMusicFileInfo Loose(const std::string& name, const std::string& ext, bool write = true) {
    if (write) dir.Write("music/" + name + ext, "MThd");
    TMusicFileInfo r;
    r.ItemKind = kLooseFile;
    r.FileName = name;
    r.FileExt = ext;
    r.FileType = FormatRowForFileName(name + ext);
    return r;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& m : box.shown) out.push_back(m.text);
    return out;
  }

  TempDir dir;
  FakeProgramsOnPath programs{{"wine", "xdg-open", "timidity", "mpg123"}};
  std::string log = dir.path() + "log";
  ScopedEnv logEnv{"FAKE_PLAYER_LOG", log};
  ScopedEnv playTime{"FAKE_PLAYER_MS", "20000"};
  std::string temp, music;
  PlayerEngineSettings settings;
  RecordingMessageBox box;
  FakePlayClock clock;
  NullWindowWatcher windows;
  PlayerControls controls;
  std::unique_ptr<PlayerEngine> engine;
};

TEST_F(EngineTest, ALooseFileIsPlayedByTheSlotForItsFormat) {
  const PlayOutcome out = engine->PlayItem(Loose("song", ".mid"), music, -1);
  ASSERT_TRUE(out.launched) << (box.shown.empty() ? "" : box.shown[0].text);
  EXPECT_EQ(out.slot, 1);
  auto starts = WaitForFakeStarts(log, 1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].args.back(), music + "song.mid");
  EXPECT_EQ(starts[0].args, out.command.argv);

  const TPlayInfo info = engine->PlayInfo();
  EXPECT_EQ(info.PlayFile, music + "song.mid");
  EXPECT_EQ(info.PlayerExe, settings.playerSlots[0].ExePath);
  EXPECT_EQ(info.PlayerSlotNo, 1);
  EXPECT_EQ(info.PlayerProcessId, starts[0].pid);
  EXPECT_EQ(controls, (PlayerControls{true, true, true}));
  EXPECT_EQ(clock.waits, std::vector<int>{250}) << "the designed wait before a new player";
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(EngineTest, FailuresBeforeTheStartKeepTheLastPlay) {
  ASSERT_TRUE(engine->PlayItem(Loose("song", ".mid"), music, -1).launched);
  const pid_t pid = engine->PlayInfo().PlayerProcessId;

  EXPECT_FALSE(engine->PlayItem(Loose("gone", ".MID", false), music, -1).launched);
  EXPECT_FALSE(engine->PlayItem(Loose("tune", ".VQF"), music, -1).launched);
  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "gone.MID が見つかりません.",
                         ".VQF 形式のファイルを再生出来るPlayerが見つかりません.\n"
                         "もしも再生可能なPlayerがある場合は、[player設定]-[詳細設定]を\n変更してください."}));
  EXPECT_EQ(engine->PlayInfo().PlayFile, music + "song.mid");
  EXPECT_EQ(engine->PlayInfo().PlayerProcessId, pid);
  EXPECT_FALSE(engine->PlayInfo().PlayerProcess->Ended());
}

TEST_F(EngineTest, ASlotThatRefusesTheFormatAsksCancelOrIgnore) {
  box.answers = {MessageAnswer::Cancel, MessageAnswer::Ignore};
  const TMusicFileInfo song = Loose("song", ".mid");
  EXPECT_FALSE(engine->PlayItem(song, music, 2).launched);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text,
            "Player No.2では、.mid 形式のファイルを\n演奏出来ないように設定されています.\n"
            "(設定は[player設定]-[詳細設定]で変更できます.)");
  EXPECT_EQ(box.shown[0].buttons, MessageButtons::CancelIgnore);
  EXPECT_EQ(box.beeps.size(), 1u);
  EXPECT_TRUE(ReadFakeStarts(log).empty());

  const PlayOutcome out = engine->PlayItem(song, music, 2);
  ASSERT_TRUE(out.launched);
  EXPECT_EQ(out.program, settings.playerSlots[1].ExePath);
}

TEST_F(EngineTest, TheLastSlotIsPreferredAndAllSlotsOffFindsNoPlayer) {
  settings.playerSlots[2] = Slot(programs.Path("mpg123"), {kRowMID});
  MakeEngine();
  ASSERT_TRUE(engine->PlayItem(Loose("a", ".mid"), music, 3).launched);
  EXPECT_EQ(engine->PlayItem(Loose("b", ".mid"), music, -1).slot, 3);

  for (auto& slot : settings.playerSlots) slot.InUse = false;
  engine->SetSettings(settings);
  EXPECT_FALSE(engine->PlayItem(Loose("c", ".MID"), music, -1).launched);
  EXPECT_EQ(box.shown.back().text.rfind(".MID 形式のファイルを再生出来るPlayerが見つかりません.", 0), 0u);
}

TEST_F(EngineTest, AnArchiveMemberIsUnpackedIntoTheTemporaryFolder) {
  ASSERT_TRUE(WriteStoredArchive(music + "SONGS.LZH", {{"SONGS/SONG.MID", "MThd-member"}, {"SONGS/READ.TXT", "doc"}}, 2, nullptr));
  dir.Write("tmp/left-over.mid", "old");
  TMusicFileInfo member = Loose("SONG", ".MID", false);
  member.ItemKind = kArchiveMember;
  member.Archiver = "SONGS.LZH";
  const PlayOutcome out = engine->PlayItem(member, music, -1);
  ASSERT_TRUE(out.launched) << (box.shown.empty() ? "" : box.shown[0].text);
  EXPECT_EQ(out.playFile, temp + "SONG.MID");
  EXPECT_EQ(ReadFileBytes(temp + "SONG.MID"), "MThd-member");
  EXPECT_TRUE(std::filesystem::exists(temp + "READ.TXT")) << "documents come along";
  EXPECT_FALSE(std::filesystem::exists(temp + "left-over.mid")) << "the folder was emptied first";

  member.Archiver = "MISSING.LZH";
  EXPECT_FALSE(engine->PlayItem(member, music, -1).launched);
  EXPECT_EQ(box.shown.back().text, "MISSING.LZH が見つかりません.");
}

TEST_F(EngineTest, ASingleInstancePlayerKeepsItsProcessAndOthersAreReplaced) {
  const std::string winamp = dir.Write("w/WINAMP.EXE", "MZ");
  settings.playerSlots[2] = Slot(winamp, {kRowMP3});
  MakeEngine();
  ASSERT_TRUE(engine->PlayItem(Loose("a", ".mp3"), music, 3).launched);
  const pid_t first = engine->PlayInfo().PlayerProcessId;
  ScopedEnv shortForwarder("FAKE_PLAYER_MS", "300");
  const PlayOutcome second = engine->PlayItem(Loose("b", ".mp3"), music, 3);
  ASSERT_TRUE(second.launched);
  EXPECT_FALSE(second.newProcess) << "the running copy takes the file";
  EXPECT_EQ(engine->PlayInfo().PlayerProcessId, first);
  auto starts = WaitForFakeStarts(log, 2);
  ASSERT_EQ(starts.size(), 2u);
  // The two starts may be logged in either order on a busy machine.
  std::string windowsPath = "Z:" + music + "b.mp3";
  for (char& c : windowsPath) if (c == '/') c = '\\';
  const std::vector<std::string> forwarded{programs.Path("wine"), winamp, windowsPath};
  EXPECT_TRUE(starts[0].args == forwarded || starts[1].args == forwarded) << "the second file reaches the player";

  // timidity plays one file per process: the one still playing is closed first.
  ASSERT_TRUE(engine->PlayItem(Loose("c", ".mid"), music, 1).launched);
  const auto timidity = engine->PlayInfo().PlayerProcess;
  ASSERT_TRUE(engine->PlayItem(Loose("d", ".mid"), music, 1).launched);
  EXPECT_NE(engine->PlayInfo().PlayerProcess, timidity);
  EXPECT_TRUE(timidity->WaitForExit(3s));
}

TEST_F(EngineTest, APlayCommandWhileAPlayWaitsIsRefusedWithABeep) {
  PlayOutcome nested;
  clock.onWait = [&] {
    clock.onWait = nullptr;
    nested = engine->PlayItem(Loose("b", ".mid"), music, -1);
  };
  ASSERT_TRUE(engine->PlayItem(Loose("a", ".mid"), music, -1).launched);
  EXPECT_FALSE(nested.launched);
  EXPECT_EQ(box.beeps, std::vector<BeepKind>{BeepKind::Warning});
  EXPECT_EQ(WaitForFakeStarts(log, 1).size(), 1u);
}

TEST_F(EngineTest, ReplayPlaysTheLastFileAgainOrSaysWhyItCannot) {
  engine->Replay();
  ASSERT_TRUE(engine->PlayItem(Loose("a", ".mid"), music, -1).launched);
  ASSERT_EQ(WaitForFakeStarts(log, 1).size(), 1u);
  engine->Replay();
  EXPECT_EQ(WaitForFakeStarts(log, 2).size(), 2u);
  std::filesystem::remove(music + "a.mid");
  engine->Replay();
  engine->PlayerExit();
  EXPECT_EQ(controls, PlayerControls{});
  engine->Replay();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"リプレイを実行出来ませんでした.", "a.mid が見つかりません.",
                                               "リプレイを実行出来ませんでした."}));
  EXPECT_EQ(ReadFakeStarts(log).size(), 2u);
}

TEST_F(EngineTest, PauseFollowsThePlayersRealState) {
  ASSERT_TRUE(engine->PlayItem(Loose("a", ".mid"), music, -1).launched);
  const auto player = engine->PlayInfo().PlayerProcess;
  ASSERT_EQ(WaitForFakeStarts(log, 1).size(), 1u);
  auto waitStopped = [&](bool stopped) {
    for (int i = 0; i < 200 && player->Stopped() != stopped; ++i) std::this_thread::sleep_for(5ms);
    return player->Stopped() == stopped;
  };
  engine->TogglePause();
  EXPECT_TRUE(waitStopped(true));
  // Resumed behind our back: the next request pauses again instead of inverting.
  ::kill(player->Pid(), SIGCONT);
  ASSERT_TRUE(waitStopped(false));
  engine->TogglePause();
  EXPECT_TRUE(waitStopped(true));
  engine->TogglePause();
  EXPECT_TRUE(waitStopped(false));
}

TEST_F(EngineTest, DdePlayersGetTheConnectionWarningAtOnce) {
  const std::string dpw = dir.Write("w/DPW.EXE", "MZ");
  settings.playerSlots[2] = Slot(dpw, {kRowMID});
  MakeEngine();
  box.answers = {MessageAnswer::Retry, MessageAnswer::Cancel};
  ASSERT_TRUE(engine->PlayItem(Loose("a", ".mid"), music, 3).launched);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0].caption, "警告 [DDE演奏処理]");
  EXPECT_EQ(box.shown[0].text,
            "Failed(12) : DdeConnect\nDDE接続でエラーが発生しました. [ｷｬﾝｾﾙ] で演奏処理を中断します.\n");
  EXPECT_EQ(box.shown[0].buttons, MessageButtons::RetryCancel);
  auto starts = WaitForFakeStarts(log, 1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].args, (std::vector<std::string>{programs.Path("wine"), dpw})) << "started bare";
}

TEST_F(EngineTest, LaunchFailuresShowTheErrorNumber) {
  const std::string winamp = dir.Write("w/WINAMP.EXE", "MZ");
  settings.playerSlots[2] = Slot(winamp, {kRowMP3});
  settings.playerSlots[3] = Slot(dir.Write("not-executable", "#!/bin/sh\n"), {kRowMID});
  settings.playerSlots[4] = Slot(dir.path() + "no-such-player", {kRowMID});
  MakeEngine();
  {
    ScopedEnv noWine("PATH", dir.path() + "empty");
    EXPECT_FALSE(engine->PlayItem(Loose("a", ".mp3"), music, 3).launched);
  }
  EXPECT_FALSE(engine->PlayItem(Loose("b", ".mid"), music, 4).launched);
  EXPECT_FALSE(engine->PlayItem(Loose("c", ".mid"), music, 5).launched);
  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "音楽ファイルの再生実行時に失敗しました.\nエラーコード : 2",
                         "音楽ファイルの再生実行時に失敗しました.\nエラーコード : 13",
                         "Player No.5 に登録されている実行ファイルが\n存在しません. 直ちに設定を変更して下さい."}));
}

TEST_F(EngineTest, NonMusicFilesAskBeforeTheyArePlayed) {
  TMusicFileInfo doc = Loose("readme", ".txt");
  doc.FileType = -2;
  box.answers = {MessageAnswer::No, MessageAnswer::Yes, MessageAnswer::Ignore, MessageAnswer::Ignore};
  ScopedEnv shortOpener("FAKE_PLAYER_MS", "300");
  engine->PlayInSlot(doc, music, 1);  // No: nothing
  engine->PlayInSlot(doc, music, 1);  // Yes: by association
  engine->PlayInSlot(doc, music, 1);  // Ignore, then Ignore the slot's refusal: played
  EXPECT_EQ(box.shown[0].text, "このファイルは音楽ファイルではありません.\nWindowsの関連付けで実行しますか？");
  EXPECT_EQ(box.shown[0].buttons, MessageButtons::YesNoIgnore);
  auto starts = WaitForFakeStarts(log, 2);
  ASSERT_EQ(starts.size(), 2u);
  // The opener and the player run side by side; their log lines may come in either order.
  if (starts[0].args.front() != "xdg-open") std::swap(starts[0], starts[1]);
  EXPECT_EQ(starts[0].args, (std::vector<std::string>{"xdg-open", music + "readme.txt"}));
  EXPECT_EQ(starts[1].args.back(), music + "readme.txt");
}

TEST_F(EngineTest, OpeningNonMusicReportsEachFailure) {
  settings.textViewer = dir.path() + "no-viewer";
  MakeEngine();
  ScopedEnv shortOpener("FAKE_PLAYER_MS", "300");
  dir.Write("music/readme.txt", "doc");
  EXPECT_FALSE(engine->OpenNonMusic("", "readme.txt", music, 1));
  {
    ScopedEnv noOpener("PATH", dir.path() + "empty");
    EXPECT_FALSE(engine->OpenNonMusic("", "readme.txt", music, 0));
  }
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0].text, "テキストビュアー起動 でエラーが発生しました.\n[ Error : 2 ]");
  EXPECT_EQ(box.shown[1].text, "関連付けで実行 でエラーが発生しました.\n[ Error : 2 ]");
  EXPECT_EQ(box.shown[1].kind, MessageKind::Error);

  settings.textViewer = "C:\\WINDOWS\\NOTEPAD.EXE";  // the designed default: the desktop's editor
  MakeEngine();
  EXPECT_TRUE(engine->OpenNonMusic("", "readme.txt", music, 1));
  EXPECT_EQ(WaitForFakeStarts(log, 1)[0].args, (std::vector<std::string>{"xdg-open", music + "readme.txt"}));
}

TEST(TemporaryFolder, OnlyOurOwnPrivateFolderIsEverEmptied) {
  TempDir dir;
  const std::string own = dir.MakeFolder("own") + "/";
  ::chmod(own.c_str(), 0700);
  const std::string open = dir.MakeFolder("open") + "/";
  ::chmod(open.c_str(), 0755);
  ::symlink(own.c_str(), (dir.path() + "link").c_str());
  dir.Write("own/a.mid", "x");
  dir.Write("own/sub/keep.mid", "x");
  ::symlink((dir.path() + "open/target.mid").c_str(), (own + "pointer").c_str());
  dir.Write("open/target.mid", "x");

  for (const std::string& bad : {std::string(), std::string("/"), std::string("relative/"), open, dir.path() + "link/"})
    EXPECT_FALSE(IsOwnPrivateFolder(bad)) << bad;
  EXPECT_EQ(PurgeTemporaryFolder(dir.path() + "link/"), 0);
  EXPECT_EQ(PurgeTemporaryFolder(own), 2);
  EXPECT_TRUE(std::filesystem::exists(own + "sub/keep.mid"));
  EXPECT_TRUE(std::filesystem::exists(open + "target.mid")) << "a link is removed, never its target";
}

}  // namespace
}  // namespace kadrel::test
