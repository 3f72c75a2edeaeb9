#include "formats/readers/header_readers.h"
#include "base/text_helpers.h"

namespace kadrel {
namespace {

constexpr size_t kMaxScriptBytes = 1 << 20;  // scripts are small text files

bool StartsWithIgnoreCase(std::string_view data, size_t pos, std::string_view keyword) {
  return pos + keyword.size() <= data.size() && EqualsIgnoreCase(data.substr(pos, keyword.size()), keyword);
}

// The value that starts `skip` bytes after the line start, up to the line's end.
std::string LineValue(std::string_view data, size_t pos) {
  size_t end = pos;
  while (end < data.size() && data[end] != '\r' && data[end] != '\n') ++end;
  return std::string(data.substr(pos, end - pos));
}

}  // namespace

void ReadMgsScript(const ByteSource& source, TMusicFileInfo& r) {
  r.Title.clear();
  r.LinkFile.clear();
  const std::string data = source.ReadAvailable(0, kMaxScriptBytes);
  const size_t n = data.size();
  if (n <= 1) return;

  for (size_t pos = 0; pos < n; ++pos) {
    if (pos != 0 && data[pos - 1] != '\n') continue;
    const size_t following = n - pos - 1;
    if (data[pos] == '@' && following >= 11 && r.LinkFile.empty() && StartsWithIgnoreCase(data, pos, "@MIDIPLAY")) {
      // Skip the keyword and the two characters after it (a blank or an opening quote).
      std::string link = LineValue(data, pos + 11);
      while (!link.empty() && (link.back() == '"' || link.back() == ' ' || link.back() == '\t')) link.pop_back();
      r.LinkFile = link;
    } else if (data[pos] == '#' && following >= 8 && r.Title.empty() && StartsWithIgnoreCase(data, pos, "#TITLE")) {
      r.Title = TextCleanup(LineValue(data, pos + 8));
    }
  }
  if (!r.LinkFile.empty()) r.Detail = "MGS";
  else r.Title.clear();
}

}  // namespace kadrel
