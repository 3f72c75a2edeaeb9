#include "index/index_format.h"
#include "base/byte_cursor.h"

namespace kadrel {

namespace {
constexpr char kHeader[kIndexHeaderSize + 1] = "\xFF\x01KadrelFileListFormat\xFF\x02\x01\x00";

bool IsMarker(std::string_view image, size_t p, unsigned char second) {
  return p + 1 < image.size() && static_cast<unsigned char>(image[p]) == kMarkerByte &&
         static_cast<unsigned char>(image[p + 1]) == second;
}
}  // namespace

std::string_view IndexHeader() { return std::string_view(kHeader, kIndexHeaderSize); }

bool HasIndexHeader(std::string_view image) {
  return image.size() >= kIndexHeaderSize && image.substr(0, kIndexHeaderSize) == IndexHeader();
}

std::vector<FolderBlock> ListBlocks(std::string_view image) {
  std::vector<FolderBlock> blocks;
  size_t p = FindMarker(image, kIndexHeaderSize, kBlockMarker);
  while (p != std::string_view::npos) {
    auto b = BlockAt(image, p);
    if (!b) break;
    blocks.push_back(*b);
    p = b->sound ? FindMarker(image, p + b->length, kBlockMarker) : FindMarker(image, p + 2, kBlockMarker);
  }
  return blocks;
}

std::optional<FolderBlock> BlockAt(std::string_view image, size_t offset) {
  if (offset > image.size() || image.size() - offset < 7 || !IsMarker(image, offset, kBlockMarker))
    return std::nullopt;
  FolderBlock b;
  b.offset = offset;
  b.length = Le32At(image, offset + 2).value_or(0);
  const size_t n = static_cast<unsigned char>(image[offset + 6]);
  if (image.size() - offset - 7 < n) return std::nullopt;
  b.folder.assign(image.substr(offset + 7, n));
  b.recordsOffset = offset + 7 + n;
  b.sound = b.length >= 7 + n + 2 && b.length <= image.size() - offset &&
            IsMarker(image, offset + b.length - 2, kBlockEndMarker);
  return b;
}

std::optional<FolderBlock> FindFolderBlock(std::string_view image, std::string_view folder,
                                           size_t minimumImageSize) {
  if (image.size() <= minimumImageSize || image.size() < 10) return std::nullopt;
  const size_t last = image.size() - 10;
  size_t p = kIndexHeaderSize;
  while (p <= last) {
    if (IsMarker(image, p, kBlockMarker)) {
      auto b = BlockAt(image, p);
      if (!b) return std::nullopt;
      if (b->folder == folder) return b;
      // Jump over the block; a length that would not move forward steps one byte on.
      const size_t jump = b->length >= 2 ? b->length - 1 : 1;
      if (jump > image.size() - p) return std::nullopt;
      p += jump;
    } else if (static_cast<unsigned char>(image[p]) == kMarkerByte) {
      p += 2;
    } else {
      ++p;
    }
  }
  return std::nullopt;
}

size_t FindMarker(std::string_view image, size_t from, unsigned char second) {
  for (size_t p = from; p + 1 < image.size(); ++p) {
    if (static_cast<unsigned char>(image[p]) == kMarkerByte &&
        static_cast<unsigned char>(image[p + 1]) == second)
      return p;
  }
  return std::string_view::npos;
}

}  // namespace kadrel
