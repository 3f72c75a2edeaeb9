// Arbitrary lines behind the old text play-list signature.

#include <cstddef>
#include <cstdint>
#include <string>

#include "playlist/playlist_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kadrel;
  std::string image = "[Kadrel PlayListFile Ver0.01]\r\n";
  image.append(reinterpret_cast<const char*>(data), size);
  PlayListContent content;
  if (ReadPlayListImage(image, "", content) != PlayListReadStatus::Ok) __builtin_trap();
  for (const TPLMusicInfo& item : content.Items) {
    if (item.Music.Size < 0) __builtin_trap();
    if (!item.Folder.empty() && item.Folder.back() != '/') __builtin_trap();
  }
  return 0;
}
