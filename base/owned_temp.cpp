#include "base/owned_temp.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <mutex>
#include <cstdint>
#include <optional>

namespace kadrel {
namespace {

std::optional<uint64_t> Number(std::string_view text) {
  uint64_t v = 0;
  if (text.empty() || text.size() > 20) return std::nullopt;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

// "<pid>-<start>-<n>" -> pid and start.
std::optional<std::pair<uint64_t, uint64_t>> ParseMark(std::string_view mark) {
  const size_t a = mark.find('-');
  const size_t b = a == std::string_view::npos ? a : mark.find('-', a + 1);
  if (b == std::string_view::npos) return std::nullopt;
  auto pid = Number(mark.substr(0, a));
  auto start = Number(mark.substr(a + 1, b - a - 1));
  if (!pid || !start || !Number(mark.substr(b + 1))) return std::nullopt;
  return std::make_pair(*pid, *start);
}

}  // namespace

uint64_t ProcessStartTime(long pid) {
  if (pid <= 0) return 0;
  const std::string path = "/proc/" + std::to_string(pid) + "/stat";
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  char buffer[1024];
  const ssize_t n = ::read(fd, buffer, sizeof buffer - 1);
  ::close(fd);
  if (n <= 0) return 0;
  // The command name in parentheses may hold blanks and ')': fields count from the last ')'.
  std::string_view stat(buffer, static_cast<size_t>(n));
  const size_t close = stat.rfind(')');
  if (close == std::string_view::npos) return 0;
  std::string_view rest = stat.substr(close + 1);
  // Field 3 (state) is the first after ')'; the start time is field 22.
  for (int field = 3; field < 22; ++field) {
    const size_t blank = rest.find(' ', 1);
    if (blank == std::string_view::npos) return 0;
    rest = rest.substr(blank);
  }
  rest.remove_prefix(1);
  const size_t end = rest.find(' ');
  return Number(rest.substr(0, end)).value_or(0);
}

std::string OwnedTempName(std::string_view prefix, std::string_view suffix) {
  // "<pid>-<start>-", made again in a child that fork() gave a copy of the parent's.
  static std::mutex mutex;
  static long markPid = 0;
  static std::string mark;
  static uint64_t counter = 0;
  std::lock_guard lock(mutex);
  const long pid = static_cast<long>(::getpid());
  if (pid != markPid) {
    markPid = pid;
    mark = std::to_string(pid) + "-" + std::to_string(ProcessStartTime(pid)) + "-";
  }
  return std::string(prefix) + mark + std::to_string(counter++) + std::string(suffix);
}

bool MadeByGoneProcess(std::string_view name, std::string_view prefix, std::string_view suffix) {
  if (name.size() < suffix.size() || name.substr(name.size() - suffix.size()) != suffix) return false;
  name.remove_suffix(suffix.size());
  std::string_view mark;
  if (prefix.empty()) {
    const size_t at = name.rfind(kTempMarker);
    if (at == std::string_view::npos || at == 0) return false;
    mark = name.substr(at + kTempMarker.size());
  } else {
    if (name.substr(0, prefix.size()) != prefix) return false;
    mark = name.substr(prefix.size());
  }
  auto owner = ParseMark(mark);
  if (!owner) return false;
  if (owner->first == 0 || owner->first > static_cast<uint64_t>(INT32_MAX)) return true;
  const uint64_t start = ProcessStartTime(static_cast<long>(owner->first));
  if (start == 0) {
    // No such process, unless /proc could not tell (then keep the file).
    const std::string proc = "/proc/" + std::to_string(owner->first);
    struct stat st {};
    return ::stat(proc.c_str(), &st) != 0 && errno == ENOENT;
  }
  return start != owner->second;
}

int RemoveOrphanedTemporaries(const std::string& folder, std::string_view prefix, std::string_view suffix) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return 0;
  const int dfd = ::dirfd(dir);
  int removed = 0;
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view name = e->d_name;
    if (!MadeByGoneProcess(name, prefix, suffix)) continue;
    struct stat st {};
    if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (::unlinkat(dfd, e->d_name, 0) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

}  // namespace kadrel
