#pragma once
// The command that starts a player for one file: the designed command-line text of
// the slot's program, and the argument vector that is really executed. Windows
// programs (a name ending in ".exe") run through wine with Windows paths; every
// path is one argument, its bytes unchanged.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalog/music_file_info.h"

namespace kadrel {

enum PlayerCommandFlag : int {
  kDdeControlled = 1,  // started bare; the file goes over the control channel
  kLoopRequested = 2,
};

struct PlayerCommand {
  std::vector<std::string> argv;  // argv[0] is the program executed (the player, or wine)
  std::string commandLine;        // the designed text: program path, one space, fileArg
  std::string fileArg;
  int flags = 0;
  std::string extra;
  bool throughWine = false;
};

struct PlayerCommandContext {
  int32_t playerDetailInfo = 15;
  std::string wine = "wine";  // the wine program for ".exe" players
  // The 8.3 form of a file for the players that want one: a short ASCII name that
  // stands for the file. Empty function: the file itself.
  std::function<std::string(const std::string& file)> shortPath;
};

// True for a program name ending in ".exe" (any letter case).
bool IsWindowsProgram(const std::string& programPath);
// The path as wine's Windows programs see it: "Z:" and backslashes.
std::string WindowsPathOf(const std::string& path);

// `file` is the full path of the file to play.
PlayerCommand BuildPlayerArguments(const std::string& programPath, const TMusicFileInfo& item,
                                   const std::string& file, const PlayerCommandContext& context);

}  // namespace kadrel
