#include "index/volume_label.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <charconv>
#include <memory>

namespace kadrel {

namespace {

struct DirClose {
  void operator()(DIR* d) const { ::closedir(d); }
};

bool ParseDevice(const std::string& device, unsigned& major, unsigned& minor) {
  const size_t colon = device.find(':');
  if (colon == std::string::npos) return false;
  const char* end = device.data() + device.size();
  auto a = std::from_chars(device.data(), device.data() + colon, major);
  auto b = std::from_chars(device.data() + colon + 1, end, minor);
  return a.ec == std::errc() && a.ptr == device.data() + colon && b.ec == std::errc() && b.ptr == end;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string UnescapeUdevName(const std::string& name) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
      const int hi = HexDigit(name[i + 2]), lo = HexDigit(name[i + 3]);
      if (hi >= 0 && lo >= 0) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 3;
        continue;
      }
    }
    out.push_back(name[i]);
  }
  return out;
}

std::string VolumeLabel(const VolumeInfo& volume, const std::string& byLabel) {
  unsigned major = 0, minor = 0;
  if (!ParseDevice(volume.device, major, minor) || major == 0) return {};  // no block device
  std::unique_ptr<DIR, DirClose> dir(::opendir(byLabel.c_str()));
  if (!dir) return {};
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    if (::stat((byLabel + "/" + name).c_str(), &st) != 0) continue;
    if (!S_ISBLK(st.st_mode) && !S_ISCHR(st.st_mode)) continue;
    if (::major(st.st_rdev) == major && ::minor(st.st_rdev) == minor) return UnescapeUdevName(name);
  }
  return {};
}

}  // namespace kadrel
