#pragma once
// Play-list files (extension MPL): the current binary version, written and read, and the
// old text version, read only. Readers work on the whole file image and never throw.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/pl_music_info.h"

namespace kadrel {

enum class PlayListVersion { None, Text001, Binary100 };

// From the first bytes of a file (64 are enough).
PlayListVersion DetectPlayListVersion(std::string_view head);

struct PlayListContent {
  std::string BaseFolder;  // ends in "/", or empty
  std::string Title;
  std::vector<TPLMusicInfo> Items;
};

enum class PlayListReadStatus { Ok, NotPlayList, Broken };

// The longest file a reader accepts; a longer one counts as broken.
inline constexpr size_t kMaxPlayListBytes = 64u << 20;

// Reads either version. `listFolder` is the folder of the list file (ending in "/"): a
// binary list stored without a base folder has its items relative to it.
PlayListReadStatus ReadPlayListImage(std::string_view image, std::string_view listFolder, PlayListContent& out);
PlayListReadStatus ReadPlayListFile(const std::string& path, PlayListContent& out);

// The two versions on their own (the image must carry the version's signature).
PlayListReadStatus ReadBinaryPlayList(std::string_view image, std::string_view listFolder, PlayListContent& out);
PlayListReadStatus ReadTextPlayList(std::string_view image, PlayListContent& out);

// The binary image of a list. Nullopt when an item cannot be stored (a name or a
// relative folder longer than its one-byte length allows).
std::optional<std::string> EncodePlayList(const TPLInfo& list);

// The base folder the file will carry: the list's base when every item lies under it
// (else their common folder), shortened to whole folders until it fits in 255 bytes.
std::string StoredBaseFolder(const TPLInfo& list);

}  // namespace kadrel
