#pragma once
// One index file as the search sees it: the file's bytes as they were read, and the
// searchable texts of its records folded once (search_text.h) into one block of text.
// Immutable once built, so any number of searches may share it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/music_file_info.h"

namespace kadrel {

class FoldedIndexFile {
 public:
  // Field separator and record end inside the folded text; folding turns every control
  // character into a blank, so neither occurs in a field.
  static constexpr char kFieldEnd = '\x1F';
  static constexpr char kRecordEnd = '\x1E';

  struct Block {
    std::string folder;        // the stored path bytes, ending in "/"
    uint32_t firstRecord = 0;  // records [firstRecord, endRecord)
    uint32_t endRecord = 0;
  };
  struct Record {
    uint32_t marker = 0;      // offset of the record marker in the image
    uint32_t block = 0;
    int32_t formatRow = 0;
    uint64_t textStart = 0;   // offset of its first field in the folded text
  };

  // Folds every record of every block of `image`. An image without the index header
  // gives a file without blocks. A folder stored in more than one block keeps the first,
  // as a folder being opened does; records with an empty name are left out, as the
  // file list leaves them out.
  static std::shared_ptr<const FoldedIndexFile> Build(std::string image);

  const std::string& Image() const { return image_; }
  const std::string& Text() const { return text_; }
  const std::vector<Block>& Blocks() const { return blocks_; }
  const std::vector<Record>& Records() const { return records_; }
  // The folded text of record `r`: its fields, each ended by kFieldEnd.
  std::string_view RecordText(size_t r) const;
  // The record as stored.
  TMusicFileInfo Decode(size_t r) const;
  // Bytes held (image, folded text, tables).
  size_t MemoryBytes() const;

 private:
  std::string image_;
  std::string text_;
  std::vector<Block> blocks_;
  std::vector<Record> records_;
};

}  // namespace kadrel
