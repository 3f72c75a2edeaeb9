// Arbitrary bytes after a valid header through the block walk, the block search and
// the record walk of each block: bad lengths must never read outside the image or loop.

#include <cstddef>
#include <cstdint>
#include <string>

#include "index/folder_index.h"
#include "index/index_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kadrel;
  std::string image(IndexHeader());
  image.append(reinterpret_cast<const char*>(data), size);
  for (const FolderBlock& b : ListBlocks(image)) {
    if (b.offset < kIndexHeaderSize || b.recordsOffset > image.size()) __builtin_trap();
    auto found = FindFolderBlock(image, b.folder);
    if (found && found->folder != b.folder) __builtin_trap();
    for (const TMusicFileInfo& r : TFolderIndex::BlockRecords(image, b.offset))
      if (r.FileType < 0 || r.FileType > 255) __builtin_trap();
  }
  FindFolderBlock(image, "/music/", 27);
  FindFolderBlock(image, "");
  return 0;
}
