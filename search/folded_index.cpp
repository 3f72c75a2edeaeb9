#include "search/folded_index.h"

#include <unordered_set>

#include "catalog/index_record.h"
#include "index/index_format.h"
#include "search/search_fields.h"
#include "search/search_text.h"

namespace kadrel {
namespace {

bool IsPair(std::string_view bytes, size_t p, unsigned char second) {
  return p + 1 < bytes.size() && static_cast<unsigned char>(bytes[p]) == kMarkerByte &&
         static_cast<unsigned char>(bytes[p + 1]) == second;
}

}  // namespace

std::shared_ptr<const FoldedIndexFile> FoldedIndexFile::Build(std::string image) {
  auto file = std::make_shared<FoldedIndexFile>();
  file->image_ = std::move(image);
  const std::string_view all = file->image_;
  if (!HasIndexHeader(all)) return file;

  std::unordered_set<std::string> seen;
  for (const FolderBlock& b : ListBlocks(all)) {
    if (!seen.insert(b.folder).second) continue;
    Block block{b.folder, static_cast<uint32_t>(file->records_.size()), 0};
    const uint32_t blockNumber = static_cast<uint32_t>(file->blocks_.size());
    // The same walk as reading a block: a block that lost its end marker ends at the
    // next block marker, never taking the records of the block after it.
    const std::string_view bytes = all.substr(0, b.sound ? b.offset + b.length : all.size());
    size_t p = b.recordsOffset;
    while (p + 1 < bytes.size()) {
      if (IsPair(bytes, p, kBlockEndMarker) || IsPair(bytes, p, kBlockMarker)) break;
      size_t next = 0;
      auto r = IsPair(bytes, p, kRecordMarker) ? DecodeIndexRecord(bytes, p, &next) : std::nullopt;
      if (!r) {
        ++p;
        continue;
      }
      if (r->FileName.empty()) {
        p += 2;
        continue;
      }
      file->records_.push_back({static_cast<uint32_t>(p), blockNumber, r->FileType, file->text_.size()});
      for (int f = 0; f < kSearchFieldCount; ++f) {
        file->text_ += FoldRecordText(SearchFieldText(*r, static_cast<SearchField>(f)));
        file->text_ += kFieldEnd;
      }
      file->text_ += kRecordEnd;
      p = next;
    }
    block.endRecord = static_cast<uint32_t>(file->records_.size());
    file->blocks_.push_back(std::move(block));
  }
  file->text_.shrink_to_fit();
  file->records_.shrink_to_fit();
  return file;
}

std::string_view FoldedIndexFile::RecordText(size_t r) const {
  const uint64_t start = records_[r].textStart;
  const uint64_t end = r + 1 < records_.size() ? records_[r + 1].textStart : text_.size();
  return std::string_view(text_).substr(start, end - start);
}

TMusicFileInfo FoldedIndexFile::Decode(size_t r) const {
  size_t next = 0;
  return DecodeIndexRecord(image_, records_[r].marker, &next).value_or(TMusicFileInfo{});
}

size_t FoldedIndexFile::MemoryBytes() const {
  size_t bytes = sizeof(*this) + image_.capacity() + text_.capacity() + records_.capacity() * sizeof(Record) +
                 blocks_.capacity() * sizeof(Block);
  for (const Block& b : blocks_) bytes += b.folder.capacity();
  return bytes;
}

}  // namespace kadrel
