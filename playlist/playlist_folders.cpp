#include "playlist/playlist_folders.h"

#include "base/encoding.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"

namespace kadrel {

std::string CommonFolder(std::string_view a, std::string_view b) {
  if (a.empty() || b.empty()) return {};
  const std::string x = WithTrailingSlash(a);
  const std::string y = WithTrailingSlash(b);
  size_t n = 0;
  while (n < x.size() && n < y.size() && x[n] == y[n]) ++n;
  const size_t slash = x.rfind('/', n == 0 ? 0 : n - 1);
  if (n == 0 || slash == std::string::npos) return {};
  return x.substr(0, slash + 1);
}

std::string CommonFolderOfItems(const TPLInfo& list) {
  std::string base;
  bool first = true;
  for (const auto& item : list.Items) {
    base = first ? WithTrailingSlash(item->Folder) : CommonFolder(base, item->Folder);
    first = false;
  }
  return base;
}

std::string SlashesFromBackslashes(std::string_view text) {
  std::string out(text);
  const bool sjis = !IsValidUtf8(text);
  for (size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (sjis && IsSjisLeadByte(c)) {
      ++i;  // the second byte of a double-byte character
    } else if (c == '\\') {
      out[i] = '/';
    }
  }
  return out;
}

bool IsFullPath(std::string_view path) {
  if (!path.empty() && path[0] == '/') return true;
  return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

}  // namespace kadrel
