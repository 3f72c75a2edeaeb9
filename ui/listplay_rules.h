#pragma once
// The window's rules for continuous play, without Qt: which play controls are enabled,
// what the mode menu does to the mode and the play list's marks, the "Now : " / "Next: "
// texts of the status bar, the pause captions and the start dialog's settings.

#include <optional>
#include <string>

#include "catalog/pl_music_info.h"
#include "commands/command_target.h"
#include "playback/listplay_order.h"

namespace kadrel {

// What the window knows of continuous play.
struct ListPlayFlags {
  bool running = false;
  bool endReserved = false;
  bool preparingNext = false;  // the next item is being unpacked or converted
  bool paused = false;
};

// What normal play enables (the player engine's controls).
struct NormalPlayFlags {
  bool replay = false;
  bool pause = false;
  bool playExit = false;
};

// The play controls for the window: while ListPlay runs its controls are on and the
// start is off; otherwise the start is on and replay, pause and exit follow normal play.
PlayControls ComputePlayControls(const ListPlayFlags& listPlay, const NormalPlayFlags& normal);

// The mode menu.
enum class ModeItem { Random, Shuffle, EndWhenAllPlayed };

struct ModeChecks {
  bool random = false;
  bool shuffle = false;
  bool endWhenAllPlayed = false;
};
ModeChecks ChecksForMode(int mode);

struct ModeChange {
  int mode = 0;
  bool refused = false;  // the end option while the end is reserved
  bool marksChanged = false;
};

// Switches a mode item on or off. While ListPlay runs (`running`) the list's played
// values and marks follow: leaving the modes that remember what was played forgets it,
// entering them counts only the current item as played.
ModeChange ApplyModeItem(TPLInfo& list, int mode, ModeItem item, bool on, bool endReserved, bool running);

// "すでに終了予約がされています. …": the end option refused while the end is reserved.
inline constexpr const char* kEndOptionRefused =
    "すでに終了予約がされています.\n次に再生する曲を設定の後に作業を行ってください.";

// The name of an item as the status bar shows it: name stem and extension.
std::string ListPlayItemName(const TPLMusicInfo& item);

struct NowNextNames {
  std::string current;  // display text (UTF-8); empty when none
  std::string next;     // empty when none or when the end is reserved
};
NowNextNames NamesForStatus(const TPLInfo& list, const ListPlayPositions& positions, bool endReserved);

// One status-timer tick while ListPlay runs: panel 1 alternates between "Now : " and
// "Next: ". Nothing is written (both empty) when there is no current name.
struct StatusTickTexts {
  std::optional<std::string> panel1;
  std::optional<std::string> tip;
};
StatusTickTexts ListPlayStatusTick(const std::string& panel1, const NowNextNames& names);
// The tick outside ListPlay: the file normal play plays, or a blank.
StatusTickTexts NormalPlayStatusTick(const std::string& playFileName);

// The captions of the pause controls.
struct PauseCaptions {
  const char* menu;    // the control menu's item
  const char* button;  // the control bar's hint
  const char* tray;    // the tray menu's item
};
PauseCaptions PauseCaptionsFor(bool paused);

// The start dialog: what it shows and what OK makes of the choice.
struct StartDialogSetup {
  int mode = 0;
  int focusedIndex = -1;  // the play list's focused item, -1 none
  int lzhMeltStyle = 0;
};
struct StartDialogChoice {
  bool fromSelected = false;
  int baseMode = 0;  // 0 normal, 1 random, 2 shuffle
  bool endWhenAllPlayed = false;
  bool lyricsOff = false;
};
struct StartDialogResult {
  int startIndex = 0;
  int mode = 0;
  int lzhMeltStyle = 0;
};
StartDialogChoice InitialStartChoice(const StartDialogSetup& setup);
StartDialogResult ResultOfStartChoice(const StartDialogSetup& setup, const StartDialogChoice& choice);

}  // namespace kadrel
