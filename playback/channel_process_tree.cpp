#include "playback/channel_process_tree.h"

#include <fstream>
#include <sstream>
#include <string>

namespace kadrel {

namespace {

struct StatFields {
  pid_t parent = 0;
  pid_t session = 0;
};

bool ReadStat(pid_t pid, StatFields& out) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(in, line)) return false;
  // The command name may hold blanks and parentheses: the fields follow the last ')'.
  const auto close = line.rfind(')');
  if (close == std::string::npos) return false;
  std::istringstream fields(line.substr(close + 1));
  char state = 0;
  long parent = 0, group = 0, session = 0;
  if (!(fields >> state >> parent >> group >> session)) return false;
  out.parent = static_cast<pid_t>(parent);
  out.session = static_cast<pid_t>(session);
  return true;
}

}  // namespace

bool ProcessBelongsTo(pid_t candidate, pid_t player) {
  if (candidate <= 0 || player <= 0) return false;
  if (candidate == player) return true;
  StatFields stat;
  if (!ReadStat(candidate, stat)) return false;
  if (stat.session == player) return true;
  // Bounded: a parent chain never loops, but a racing exit can make it odd.
  for (int depth = 0; depth < 64 && stat.parent > 1; ++depth) {
    if (stat.parent == player) return true;
    if (!ReadStat(stat.parent, stat)) return false;
  }
  return false;
}

}  // namespace kadrel
