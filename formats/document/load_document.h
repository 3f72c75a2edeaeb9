#pragma once
// Loading the first lines of a text document.

#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

// Longest line kept; the rest of a longer line is dropped (cut at a character boundary).
inline constexpr size_t kDocumentMaxLineBytes = 64 * 1024;
// Bytes read at most from one document; what follows is treated as the end of the text.
inline constexpr size_t kDocumentMaxReadBytes = 8 * 1024 * 1024;

// False (lines untouched) when `path` is not a readable regular file. Otherwise
// replaces `lines` with the first `maxLines` lines of the file and returns true.
// Line breaks are CR LF, LF or CR; a 0x1A byte ends the text.
bool LoadDocument(std::vector<std::string>& lines, const std::string& path, int maxLines);

// The same for a document already in memory (a member read from its archive).
void LoadDocumentFromBytes(std::vector<std::string>& lines, std::string_view bytes, int maxLines);

}  // namespace kadrel
