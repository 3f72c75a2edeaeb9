#include "base/path_helpers.h"

#include "base/encoding.h"

namespace kadrel {

std::string FolderOfPath(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string ParentFolder(std::string_view folder) {
  std::string f = WithTrailingSlash(folder);
  if (f.size() <= 1) return f;
  f.pop_back();
  const size_t cut = f.rfind('/');
  return cut == std::string::npos ? std::string("/") : f.substr(0, cut + 1);
}

std::string ShortenPath(std::string_view path, int maximum) {
  std::string s(path);
  if (maximum < 8 || static_cast<int>(s.size()) <= maximum) return s;
  // Root prefix: "X:\" on a Windows-form path, "/" otherwise.
  size_t prefix;
  char sep;
  if (s.size() >= 3 && s[1] == ':' && (s[2] == '\\' || s[2] == '/')) {
    prefix = 3;
    sep = s[2];
  } else if (!s.empty() && (s[0] == '/' || s[0] == '\\')) {
    prefix = 1;
    sep = s[0];
  } else {
    return s;
  }
  // After a cut the text reads prefix + ".." + sep + ...; the search starts past that separator.
  const size_t searchFrom = prefix + 3;  // 0-based: character position prefix + 4
  const bool sjis = !IsValidUtf8(s);
  while (static_cast<int>(s.size()) > maximum) {
    size_t found = std::string::npos;
    for (size_t i = 0; i + 1 < s.size(); ++i) {  // the last character is never taken
      auto c = static_cast<unsigned char>(s[i]);
      if (sjis && IsSjisLeadByte(c)) {
        ++i;
        continue;
      }
      if (i >= searchFrom && s[i] == sep) {
        found = i;
        break;
      }
    }
    if (found == std::string::npos) break;
    s = s.substr(0, prefix) + ".." + s.substr(found);
  }
  return s;
}

std::string WithTrailingSlash(std::string_view folder) {
  std::string s(folder);
  if (!s.empty() && s.back() != '/') s += '/';
  return s;
}

}  // namespace kadrel
