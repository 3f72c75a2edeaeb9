#pragma once
// Normal play from the main window: the choice of a slot, unpacking and conversion,
// starting the player, pausing, replaying and stopping it, and opening files that are
// not music. Runs on the window's thread; the waits go through the play clock.

#include <sys/types.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "catalog/music_file_info.h"
#include "catalog/smfk_info.h"
#include "playback/play_clock.h"
#include "playback/play_conversion.h"
#include "playback/player_channel.h"
#include "playback/player_command.h"
#include "playback/player_process.h"
#include "playback/window_watch_thread.h"
#include "playback/window_watcher.h"
#include "settings/player_data.h"

namespace kadrel {

struct PlayerEngineSettings {
  PlayerSlots playerSlots;
  int32_t playerDetailInfo = 15;
  int32_t pwControl1 = 9;
  int32_t pwControl2 = 9;
  int32_t pwCheckTime = 5000;
  std::string tempFolder;  // ends in "/"
  int32_t lzhMeltStyle = 0;
  std::string textViewer = "Notepad.exe";
  int32_t textOpenType = 0;
  TSmfkInfo smfk;  // the SMF knife settings ("Use" 0: never)
};

// What the last launched player plays.
struct TPlayInfo {
  std::string PlayFile;
  std::string PlayerExe;
  int PlayerSlotNo = -1;
  std::shared_ptr<SpawnedPlayer> PlayerProcess;
  pid_t PlayerProcessId = 0;
  int32_t PWcontrol1 = 9;
  int32_t PWcontrol2 = 9;
};

// The player controls of the main window (Replay_B, PlayExit_B, Pause_B).
struct PlayerControls {
  bool replay = false;
  bool playExit = false;
  bool pause = false;
  bool operator==(const PlayerControls&) const = default;
};

// Where the engine reaches the rest of the program; every hook may be empty.
struct PlayerEngineHooks {
  std::function<void(int field, const std::string& text)> status;
  std::function<void(bool on)> statusTimer;
  std::function<void(const PlayerControls&)> controls;
  std::function<bool()> listPlayRunning;
  std::function<void()> stopListPlay;  // raise the stop request and end the ListPlay thread
  std::function<void()> quitListPlay;  // "演奏を終了する" during ListPlay
  std::function<void(const std::string& path)> loadPlayList;
  std::function<void(TMusicFileInfo& item)> findDocument;
  std::function<void()> service;  // services the window while waiting for an unpack
};

struct PlayOptions {
  bool dryRun = false;  // work everything out, start and prepare nothing
};

// What a play did (or would do, for a dry run).
struct PlayOutcome {
  bool launched = false;  // a player was started or handed the file (or would be)
  int slot = -1;
  std::string program;
  PlayerCommand command;
  std::string playFile;
  PlayConversion conversion = PlayConversion::None;
  std::shared_ptr<SpawnedPlayer> process;  // the process this play started, if any
  bool newProcess = false;                 // it became the player process
};

class PlayerEngine {
 public:
  PlayerEngine(PlayerEngineSettings settings, IMessageBox& messages, IPlayClock& clock, IWindowWatcher& windows,
               IPlayerChannelFactory* channels = nullptr);
  ~PlayerEngine();
  PlayerEngine(const PlayerEngine&) = delete;
  PlayerEngine& operator=(const PlayerEngine&) = delete;

  void SetSettings(PlayerEngineSettings settings);
  const PlayerEngineSettings& Settings() const { return settings_; }
  // Null: the conversion of lp_convert_for_play.h over these settings.
  void SetConverter(IPlayConverter* converter) { converter_ = converter; }
  PlayerEngineHooks hooks;

  // Plays `item` of the listing of `folder` (ends in "/"). slot -1: the best slot;
  // 0: the last file with the last player again; 1..6: that slot.
  PlayOutcome PlayItem(const TMusicFileInfo& item, const std::string& folder, int slot, PlayOptions options = {});
  // Stops the last launched player and forgets it.
  void ClosePlayer();

  // The commands of the window.
  void PlayBest(const TMusicFileInfo& item, const std::string& folder);          // "最適な方法で開く"
  void PlayInSlot(const TMusicFileInfo& item, const std::string& folder, int n);  // "PlayerNで再生"
  void Replay();                                                                  // "リプレイをする"
  void TogglePause();                                                             // "一時停止をする"
  void PlayerExit();                                                              // "演奏を終了する"
  // Explicit requests (media keys): never a toggle.
  void PausePlayer();
  void ResumePlayer();

  // Opens a document or other file; `archive` empty for a loose file. mode 0: by the
  // desktop's association, 1: with the text viewer.
  bool OpenNonMusic(const std::string& archive, const std::string& file, const std::string& folder, int mode);

  TPlayInfo PlayInfo() const;
  PlayerControls Controls() const;
  bool Playing() const { return busy_; }
  // Processes started and not yet ended (players being closed, forwarders, openers).
  size_t PendingProcesses();

 private:
  PlayOutcome Play(const TMusicFileInfo& item, const std::string& folder, int slot, const PlayOptions& options);
  bool SwitchFromListPlay();
  bool UnpackMember(const TMusicFileInfo& item, const std::string& folder);
  void SetControls(PlayerControls controls);
  void StartWindowWatch(pid_t pid, bool hasLyrics);
  void ShowDdeConnectFailure();
  void Keep(std::shared_ptr<SpawnedPlayer> process);
  void Status(int field, const std::string& text);
  PlayerCommandContext CommandContext(bool dryRun) const;
  bool Closing() const { return clock_.Closing(); }

  PlayerEngineSettings settings_;
  IMessageBox& messages_;
  IPlayClock& clock_;
  IWindowWatcher& windows_;
  IPlayerChannelFactory* channels_;
  IPlayConverter* converter_ = nullptr;

  mutable std::mutex infoMutex_;  // TPlayInfo is read from other threads (ListPlay, media keys)
  TPlayInfo info_;
  PlayerControls controls_;
  TMusicFileInfo lastItem_;
  std::string lastFolder_;

  std::unique_ptr<IPlayerChannel> channel_;
  std::unique_ptr<WindowWatchThread> windowWatch_;
  std::mutex keptMutex_;
  std::vector<std::shared_ptr<SpawnedPlayer>> kept_;  // until they end
  bool busy_ = false;
};

}  // namespace kadrel
