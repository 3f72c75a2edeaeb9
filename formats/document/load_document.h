#pragma once
// Loading the first lines of a text document.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

// Longest line kept; the rest of a longer line is dropped (cut at a character boundary).
inline constexpr size_t kDocumentMaxLineBytes = 64 * 1024;
// Bytes read at most from one document; what follows is treated as the end of the text.
inline constexpr size_t kDocumentMaxReadBytes = 8 * 1024 * 1024;

// The first lines of a document as views into the bytes read, which the object keeps
// (and reuses for the next document). Line breaks are CR LF, LF or CR; a 0x1A byte
// ends the text; a last line without a break counts.
class DocumentText {
 public:
  // False (the text empty) when `path` is not a readable regular file. Otherwise holds
  // the first `maxLines` lines of the file as it was when opened (its size then bounds
  // the reads). A small file is read with one pread; a larger one in growing pieces
  // until the lines are complete.
  // With `listedRegular` the caller's folder listing already found a regular file (or
  // a link to one) under this name, and the type is not checked again: a name that
  // became a folder or a pipe since fails the read instead.
  bool Load(const std::string& path, int maxLines, bool listedRegular = false);
  // The same for `name` in the folder open as `folderFd` (no walk along the path).
  bool LoadAt(int folderFd, const std::string& name, int maxLines, bool listedRegular);
  // The same for a document already in memory (a member read from its archive).
  void LoadBytes(std::string_view bytes, int maxLines);
  void Clear();

  const std::vector<std::string_view>& Lines() const { return lines_; }

 private:
  // Splits the bytes from the start; false when more bytes could still add lines.
  bool Split(size_t maxLines, bool atEnd);
  // Room for `size` bytes, keeping the first size_ of them; not cleared (a read fills it).
  char* Room(size_t size);

  // The bytes read: a buffer that only grows, so reading documents one after another
  // neither allocates nor clears memory for each.
  std::unique_ptr<char[]> buffer_;
  size_t capacity_ = 0;
  size_t size_ = 0;
  std::vector<std::string_view> lines_;
};

// False (lines untouched) when `path` is not a readable regular file. Otherwise
// replaces `lines` with the first `maxLines` lines of the file and returns true.
bool LoadDocument(std::vector<std::string>& lines, const std::string& path, int maxLines);

// The same for a document already in memory.
void LoadDocumentFromBytes(std::vector<std::string>& lines, std::string_view bytes, int maxLines);

}  // namespace kadrel
