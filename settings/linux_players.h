#pragma once
// The Linux player programs the program knows by name: which formats each plays, how
// it is told to play one file and exit without a video window, how the end of a piece
// is seen and how it is paused. A slot whose program is one of them takes part in
// ListPlay, like the recognised Windows players.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

enum class PlayerEnd { ProcessExit, Mpris };          // how the end of a piece is seen
enum class PlayerPause { ProcessGroupSignals, Mpris };  // SIGSTOP/SIGCONT, or the D-Bus interface

struct LinuxPlayer {
  std::string_view name;                     // the program's file name, matched exactly
  uint32_t formats;                          // format rows it plays (bit n = row n)
  std::vector<std::string_view> switches;    // before the file; "{sf2}" / "{timidity-cfg}" are filled in
  PlayerEnd end = PlayerEnd::ProcessExit;
  PlayerPause pause = PlayerPause::ProcessGroupSignals;
  bool singleInstance = false;  // a second start hands the file to a running copy and exits
  bool speaksMpris = false;
};

// The row of `programPath`'s file name, or nullptr.
const LinuxPlayer* FindLinuxPlayer(std::string_view programPath);
const std::vector<LinuxPlayer>& LinuxPlayers();

// The switches of `player` with the placeholders filled in: a placeholder whose file
// is not installed drops out together with the switch that precedes it ("-c").
std::vector<std::string> LinuxPlayerSwitches(const LinuxPlayer& player);

// The first existing General MIDI soundfont, and the TiMidity++ configuration that
// loads one (empty when none is installed).
std::string DefaultSoundFont();
std::string TimidityConfig();

// The slots a first start registers: players found on `pathList`, in preference
// order, each with the formats no earlier one took; at most six.
struct FreshPlayerSlot {
  std::string name;
  std::string path;
  uint32_t formats = 0;
};
std::vector<FreshPlayerSlot> FreshInstallPlayerSlots(std::string_view pathList);

}  // namespace kadrel
