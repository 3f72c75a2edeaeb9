// Arbitrary bytes after a valid header through refresh levels 1 and 2: damaged blocks,
// lengths past the end or backwards and records without terminator must end in a
// finished walk and an image no larger than before.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "index/folder_index.h"
#include "base/atomic_file.h"
#include "index/index_format.h"
#include "index/index_refresh.h"

namespace {

std::string IndexFilePath() {
  static const std::string path = [] {
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(base) + "/kadrel-fuzz-refresh-" + std::to_string(::getpid()) + ".dat";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kadrel;
  static SilentMessageBox messages(MessageAnswer::No);
  std::string image(IndexHeader());
  image.append(reinterpret_cast<const char*>(data), size);
  for (int level = 1; level <= 2; ++level) {
    TMainOption options;
    TFolderIndex index(options, messages, {}, [](const std::string&) { return VolumeInfo{}; });
    if (!ReplaceFileAtomically(IndexFilePath(), image) || !index.LoadIndexFile(IndexFilePath())) return 0;
    int steps = 0;
    RefreshView view;
    view.serviceEvents = [&] {
      if (++steps > 1000000) __builtin_trap();  // a walk that does not advance
    };
    IndexRefresher refresher(
        index, [](const std::string&, const std::string& name, const std::string& arc) {
          return static_cast<int>((name.size() + arc.size()) % 3);
        }, view);
    if (refresher.RefreshIndex(level) != RefreshResult::Done) __builtin_trap();
    if (index.Image().size() > image.size() || !HasIndexHeader(index.Image())) __builtin_trap();
  }
  ::unlink(IndexFilePath().c_str());
  return 0;
}
