// Drive-letter folders and udev label names from arbitrary bytes (both can be edited or
// made by anyone): unescaping never grows a name, every letter found is one whose folder
// is a prefix of the path, and filling the table never changes a letter already set.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "index/drive_letters.h"
#include "index/volume_label.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kadrel;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  if (UnescapeUdevName(bytes).size() > bytes.size()) __builtin_trap();

  // Lines: the first is the path, the rest are letter folders and volume mount points.
  DriveLetterTable table;
  std::vector<VolumeInfo> volumes;
  std::string path;
  size_t start = 0, line = 0;
  while (start <= bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string text = bytes.substr(start, end - start);
    if (line == 0) path = text;
    else if (line <= kDriveLetters) table[line - 1] = text;
    else volumes.push_back({text, "ext4", "8:1", VolumeKind::Fixed});
    ++line;
    start = end + 1;
  }
  const int letter = DriveLetterOf(table, path);
  if (letter >= 0) {
    std::string folder = table[static_cast<size_t>(letter)];
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder.empty() || path.compare(0, folder.size(), folder) != 0) __builtin_trap();
  }
  const DriveLetterTable before = table;
  AssignDriveLetters(table, volumes, path, [](const std::string&) { return true; });
  bool wasEmpty = true;
  for (const std::string& f : before) wasEmpty = wasEmpty && f.empty();
  for (size_t i = 0; i < before.size(); ++i)
    if (!wasEmpty && !before[i].empty() && table[i] != before[i]) __builtin_trap();
  return 0;
}
