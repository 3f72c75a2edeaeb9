#include "ui/window_settings.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/text_helpers.h"

namespace kadrel {
namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return (value != nullptr && value[0] == '/') ? std::string(value) : fallback;
}

void MakeFolder(const std::string& folder, bool privateFolder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (privateFolder) ::chmod(folder.c_str(), 0700);
}

}  // namespace

WorkingFolders PrepareUserFolders() {
  const std::string home = EnvOr("HOME", "/tmp");
  WorkingFolders folders;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/')
    folders.temp = WithTrailingSlash(std::string(runtime) + "/kadrel");
  else
    folders.temp = "/tmp/kadrel-" + std::to_string(::getuid()) + "/";
  folders.index = WithTrailingSlash(EnvOr("XDG_CACHE_HOME", home + "/.cache") + "/kadrel/index");
  MakeFolder(folders.temp, true);
  MakeFolder(folders.temp + "ListPlay", true);
  MakeFolder(folders.temp + "OLE", true);
  MakeFolder(folders.index, false);
  return folders;
}

WindowSettings DefaultWindowSettings() {
  WindowSettings s;
  WorkingFolders folders = PrepareUserFolders();
  s.scan.main.TempFolder = folders.temp;
  s.scan.main.IndexFolder = folders.index;
  s.scan.workFolder = folders.temp;
  return s;
}

}  // namespace kadrel
