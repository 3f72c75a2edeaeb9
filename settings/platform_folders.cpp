#include "settings/platform_folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/atomic_file.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"

namespace kadrel {

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string HomeFolder() {
  std::string home = Env("HOME");
  return home.empty() ? std::string("/") : home;
}

// An XDG variable is used only when it holds an absolute path.
std::string XdgFolder(const char* variable, const char* fallbackBelowHome) {
  std::string v = Env(variable);
  if (!v.empty() && v[0] == '/') return v;
  return HomeFolder() + "/" + fallbackBelowHome;
}

// A private folder directly under /tmp must be ours: a real folder (not a link), owned
// by us, mode 0700. Anything else there is left alone and a fresh name is made.
std::string PrivateTempFolder() {
  std::string base = "/tmp/kadrel-" + std::to_string(::getuid());
  struct stat sb;
  if (::mkdir(base.c_str(), 0700) == 0 ||
      (::lstat(base.c_str(), &sb) == 0 && S_ISDIR(sb.st_mode) && sb.st_uid == ::getuid())) {
    ::chmod(base.c_str(), 0700);
    return base + "/";
  }
  std::string pattern = base + "-XXXXXX";
  if (::mkdtemp(pattern.data())) return pattern + "/";
  return base + "/";
}

}  // namespace

PlatformFolders DefaultPlatformFolders(std::string_view configOverride) {
  PlatformFolders f;
  std::string config(configOverride);
  if (config.empty()) config = Env("KADREL_CONFIG_DIR");
  if (config.empty()) config = XdgFolder("XDG_CONFIG_HOME", ".config") + "/kadrel";
  f.config = WithTrailingSlash(config);
  f.index = WithTrailingSlash(XdgFolder("XDG_CACHE_HOME", ".cache") + "/kadrel/index");
  std::string runtime = Env("XDG_RUNTIME_DIR");
  f.temp = (!runtime.empty() && runtime[0] == '/' && IsFolder(runtime)) ? WithTrailingSlash(runtime + "/kadrel")
                                                                            : PrivateTempFolder();
  f.home = WithTrailingSlash(HomeFolder());
  return f;
}

std::string SettingsDatabasePath(const std::string& configFolder) {
  return WithTrailingSlash(configFolder) + "settings.db";
}

bool IsFolder(const std::string& path) {
  struct stat sb;
  return !path.empty() && ::stat(path.c_str(), &sb) == 0 && S_ISDIR(sb.st_mode);
}

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  std::string partial;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t next = path.find('/', pos);
    if (next == std::string::npos) next = path.size();
    partial = path.substr(0, next);
    if (!partial.empty() && ::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
    pos = next + 1;
  }
  return IsFolder(path);
}

std::string FindProgramOnPath(std::string_view pathList, std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) {
    size_t pos = 0;
    while (pos <= pathList.size()) {
      size_t end = pathList.find(':', pos);
      if (end == std::string_view::npos) end = pathList.size();
      std::string_view dir = pathList.substr(pos, end - pos);
      pos = end + 1;
      if (dir.empty() || dir[0] != '/') continue;  // relative entries depend on the working folder
      std::string candidate = WithTrailingSlash(dir) + std::string(name);
      struct stat sb;
      if (::stat(candidate.c_str(), &sb) == 0 && S_ISREG(sb.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
        return candidate;
    }
  }
  return {};
}

std::string ApplicationsFolder() { return WithTrailingSlash(XdgFolder("XDG_DATA_HOME", ".local/share") + "/applications"); }

std::string DesktopFolder() {
  std::string v = Env("XDG_DESKTOP_DIR");
  if (!v.empty() && v[0] == '/') return WithTrailingSlash(v);
  std::string home = HomeFolder();
  std::ifstream in(XdgFolder("XDG_CONFIG_HOME", ".config") + "/user-dirs.dirs");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("XDG_DESKTOP_DIR=", 0) != 0) continue;
    std::string value = line.substr(16);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    if (!value.empty() && value[0] == '/') return WithTrailingSlash(value);
  }
  return WithTrailingSlash(home + "/Desktop");
}

namespace {

// One argument of an Exec line: quoted, with the characters the desktop entry format
// reserves escaped, then escaped again as a string value; "%" doubled.
std::string ExecArgument(const std::string& arg) {
  std::string quoted = "\"";
  for (char c : arg) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string out;
  for (char c : quoted) {
    if (c == '\\') out += "\\\\";
    else if (c == '%') out += "%%";
    else out += c;
  }
  return out;
}

// A string value of a desktop entry: no line breaks; backslashes escaped.
std::string EntryString(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

}  // namespace

bool WriteDesktopLauncher(const std::string& folder, const DesktopLauncher& launcher) {
  std::ostringstream text;
  text << "[Desktop Entry]\n"
       << "Type=Application\n"
       << "Version=1.0\n"
       << "Name=" << EntryString(launcher.name) << "\n"
       << "Exec=" << ExecArgument(launcher.program) << " %F\n"
       << "Path=" << EntryString(launcher.workingFolder) << "\n";
  if (!launcher.icon.empty()) text << "Icon=" << EntryString(launcher.icon) << "\n";
  text << "Terminal=false\n"
       << "Categories=AudioVideo;Audio;Player;\n";
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return ReplaceFileAtomically(WithTrailingSlash(folder) + launcher.fileStem + ".desktop", text.str(), nullptr, 0755);
}

}  // namespace kadrel
