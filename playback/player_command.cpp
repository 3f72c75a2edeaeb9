#include "playback/player_command.h"

#include "base/text_helpers.h"
#include "settings/linux_players.h"
#include "settings/player_data.h"

namespace kadrel {

namespace {

std::string UpperFileName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return ToUpperAscii(slash == std::string::npos ? path : path.substr(slash + 1));
}

bool OneOf(const std::string& name, std::initializer_list<const char*> names) {
  for (const char* n : names)
    if (name == n) return true;
  return false;
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// The switches of a designed row and the path, as the text shows them and as tokens.
struct Row {
  std::vector<std::string> before;  // switches before the path
  std::string path;                 // the path token (unquoted)
  bool quoted = false;              // the text shows the path in double quotes
  std::vector<std::string> after;   // switches after the path
};

std::string RowText(const Row& row) {
  std::string text;
  for (const std::string& s : row.before) text += s + " ";
  text += row.quoted ? Quoted(row.path) : row.path;
  for (const std::string& s : row.after) text += " " + s;
  return text;
}

}  // namespace

bool IsWindowsProgram(const std::string& programPath) {
  return programPath.size() >= 4 && ToUpperAscii(programPath.substr(programPath.size() - 4)) == ".EXE";
}

std::string WindowsPathOf(const std::string& path) {
  std::string out = "Z:";
  for (char c : path) out += c == '/' ? '\\' : c;
  return out;
}

PlayerCommand BuildPlayerArguments(const std::string& programPath, const TMusicFileInfo& item,
                                   const std::string& file, const PlayerCommandContext& context) {
  PlayerCommand cmd;
  const std::string name = UpperFileName(programPath);
  const int32_t options = context.playerDetailInfo;
  const bool windows = IsWindowsProgram(programPath);
  auto shortPath = [&] { return context.shortPath ? context.shortPath(file) : file; };
  // Windows programs see every path in its Windows form.
  auto pathFor = [&](const std::string& p) { return windows ? WindowsPathOf(p) : p; };

  Row row;
  if (OneOf(name, {"SCMPX.EXE", "WINAMP.EXE", "MOEWINAMP.EXE", "J_WINAMP.EXE"})) {
    row = {{}, pathFor(file), true, {}};
    cmd.extra = "Message";
  } else if (OneOf(name, {"MPLAYER.EXE", "MPLAYER2.EXE", "MPLAY32.EXE"})) {
    row = {{"/play"}, pathFor(file), true, {}};
  } else if (name == "LEMON95.EXE") {
    row = {{"/P", "/M"}, pathFor(shortPath()), false, {}};
  } else if (name == "CMPLAY95.EXE" || name == "SVQPLYER.EXE") {
    row = {{}, pathFor(shortPath()), false, {}};
  } else if (name == "MIYAP95.EXE") {
    row = {{}, pathFor(shortPath()), false, {}};
    if (options & kMiyapLoop) row.after.push_back("/L");
  } else if (OneOf(name, {"MPVG.EXE", "WFP.EXE", "DPW.EXE", "TMIDI.EXE"})) {
    row = {{}, pathFor(file), true, {}};
    cmd.flags = kDdeControlled;
    if (name == "WFP.EXE") {
      const bool loop = options & kWfpLoop;
      if (loop) cmd.flags |= kLoopRequested;
      cmd.extra = loop ? " /OR" : " /EQ /ONR";
      if (options & kWfpWrdWindowControl) {
        if (item.Info & kCompanionSry) cmd.extra += " /ES";
        else if (item.Info & (kCompanionWrd | kCompanionDv)) cmd.extra += " /EW /DS";
        else cmd.extra += " /DW /DS";
      }
    } else if (name == "DPW.EXE") {
      const bool loop = options & kDpwLoop;
      if (loop) cmd.flags |= kLoopRequested;
      cmd.extra = loop ? " -R" : " ^R";
    } else if (name == "TMIDI.EXE" && (options & kTmidiLoop)) {
      cmd.flags |= kLoopRequested;
    }
  } else if (const LinuxPlayer* player = windows ? nullptr : FindLinuxPlayer(programPath)) {
    row = {LinuxPlayerSwitches(*player), file, true, {}};
  } else {
    row = {{}, pathFor(file), true, {}};
  }

  cmd.fileArg = RowText(row);
  cmd.commandLine = programPath + " " + cmd.fileArg;
  cmd.throughWine = windows;
  if (windows) cmd.argv = {context.wine, programPath};
  else cmd.argv = {programPath};
  // A player driven over its control channel is started bare.
  if (!(cmd.flags & kDdeControlled)) {
    cmd.argv.insert(cmd.argv.end(), row.before.begin(), row.before.end());
    cmd.argv.push_back(row.path);
    cmd.argv.insert(cmd.argv.end(), row.after.begin(), row.after.end());
  }
  return cmd;
}

}  // namespace kadrel
