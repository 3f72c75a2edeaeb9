// Arbitrary bytes through the LZH header walker, the decoders (first bytes and whole
// members), extraction into a scratch folder and the in-memory rename.

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <dirent.h>
#include <string>

#include "archive/lzh_archive.h"
#include "archive/lzh_writer.h"

namespace {

void EmptyFolder(const std::string& folder) {
  DIR* d = ::opendir(folder.c_str());
  if (!d) return;
  while (dirent* e = ::readdir(d)) {
    std::string n = e->d_name;
    if (n == "." || n == "..") continue;
    // Only plain files may ever appear here.
    struct stat st {};
    if (::lstat((folder + n).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) __builtin_trap();
    ::unlink((folder + n).c_str());
  }
  ::closedir(d);
}

// A folder of its own for the run, removed at exit.
struct Scratch {
  std::string folder;
  bool made = false;
  Scratch() {
    char templ[] = "/tmp/kadrel-fuzz-lzh-XXXXXX";
    made = ::mkdtemp(templ) != nullptr;
    folder = std::string(made ? templ : "/tmp") + "/";
  }
  ~Scratch() {
    if (!made) return;
    EmptyFolder(folder);
    ::rmdir(folder.c_str());
  }
};

const std::string& ScratchFolder() {
  static const Scratch scratch;
  return scratch.folder;
}

void EmptyScratch() { EmptyFolder(ScratchFolder()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kadrel;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  MemoryByteSource src(bytes);
  LzhListing listing = ListLzhArchive(src);
  int extracted = 0;
  for (const auto& m : listing.members) {
    if (m.dataOffset > size || m.headerSize == 0) __builtin_trap();
    std::string out;
    DecodeLzhMember(src, m, out, 512);
    if (out.size() > 512) __builtin_trap();
    if (m.originalSize <= (1u << 20)) {
      DecodeLzhMember(src, m, out);
      if (extracted++ < 2) ExtractLzhMember(src, m, ScratchFolder());
    }
  }
  EmptyScratch();
  std::string renamed;
  if (!listing.members.empty()) RenameLzhMembersInMemory(bytes, listing.members[0].name, "NEW.TXT", renamed);
  return 0;
}
