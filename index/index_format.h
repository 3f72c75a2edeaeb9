#pragma once
// The index file's byte layout: a 26-byte header followed by folder blocks.
//
//   header  FF 01 "KadrelFileListFormat" FF 02 01 00
//   block   FF 20, length L (LE32, whole block), N, folder path (N bytes, ends in "/"),
//           item records (FF 21 ...), end marker FF 29
//
// All functions work on the image in memory and never read past its end.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

inline constexpr size_t kIndexHeaderSize = 26;
inline constexpr unsigned char kMarkerByte = 0xFF;
inline constexpr unsigned char kBlockMarker = 0x20;
inline constexpr unsigned char kRecordMarker = 0x21;  // '!'
inline constexpr unsigned char kBlockEndMarker = 0x29;  // ')'
inline constexpr size_t kMaxFolderPathBytes = 255;
// The largest index file we read or write. A larger file is not ours: it is never
// loaded (it counts as a foreign file), and a block that would take an image past it
// is not written.
inline constexpr size_t kMaxIndexFileBytes = 256u << 20;

// The 26 header bytes.
std::string_view IndexHeader();
bool HasIndexHeader(std::string_view image);

// A folder block as found in the image. `length` is the stored length field; the block
// is sound when it stays inside the image and ends in the end marker.
struct FolderBlock {
  size_t offset = 0;
  uint32_t length = 0;
  std::string folder;       // the stored path bytes
  size_t recordsOffset = 0; // first byte after the path
  bool sound = false;
};

// Reads the block whose marker is at `offset`; nullopt when no block marker stands
// there or its fixed part or path runs past the image.
std::optional<FolderBlock> BlockAt(std::string_view image, size_t offset);

// The block search: walks from the header, jumping over whole blocks by their length,
// and returns the block whose path equals `folder` byte for byte. Only images larger
// than `minimumImageSize` are searched. Bad lengths (zero, too small, past the end)
// never make the walk go backwards or loop.
std::optional<FolderBlock> FindFolderBlock(std::string_view image, std::string_view folder,
                                           size_t minimumImageSize = 28);

// Position of the next byte pair FF `second` at or after `from`; npos when none.
size_t FindMarker(std::string_view image, size_t from, unsigned char second);

// Every block marker reachable by the block walk, in file order. A damaged block ends
// the walk at the next block marker after it.
std::vector<FolderBlock> ListBlocks(std::string_view image);

}  // namespace kadrel
