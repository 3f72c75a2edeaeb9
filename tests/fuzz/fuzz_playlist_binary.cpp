// Arbitrary bytes behind the current play-list signature, with the size field made to
// agree half of the time so that the body is read.

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/readers/header_readers.h"
#include "playlist/playlist_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kadrel;
  std::string image(PlayListSignatureV1());
  image.append(reinterpret_cast<const char*>(data), size);
  if (size > 0 && (data[0] & 1) && image.size() >= 32) {
    for (int i = 0; i < 4; ++i) image[28 + i] = static_cast<char>(image.size() >> (8 * i));
  }
  PlayListContent content;
  if (ReadPlayListImage(image, "/list/", content) == PlayListReadStatus::Ok) {
    for (const TPLMusicInfo& item : content.Items) {
      if (item.Music.FileName.empty()) __builtin_trap();
      if (item.Slot != kAutomaticSlot && (item.Slot < 1 || item.Slot > 6)) __builtin_trap();
    }
    TPLInfo list;
    for (TPLMusicInfo& item : content.Items) list.Items.push_back(std::make_unique<TPLMusicInfo>(std::move(item)));
    list.BaseFolder = content.BaseFolder;
    (void)EncodePlayList(list);
  }
  return 0;
}
