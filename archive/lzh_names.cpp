#include "archive/lzh_names.h"


#include <cerrno>

#include "base/encoding.h"

namespace kadrel {
namespace {

unsigned char U(char c) { return static_cast<unsigned char>(c); }

// Length of the character starting at i (2 for a complete double-byte character).
size_t CharLength(std::string_view s, size_t i) {
  return (IsSjisLeadByte(U(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool CharEqual(std::string_view a, size_t ia, size_t la, std::string_view b, size_t ib, size_t lb) {
  if (la != lb) return false;
  if (la == 1) return FoldAscii(a[ia]) == FoldAscii(b[ib]);
  return a[ia] == b[ib] && a[ia + 1] == b[ib + 1];
}

bool MatchFrom(std::string_view p, size_t pi, std::string_view n, size_t ni) {
  // Iterative glob with one backtracking point for the last "*".
  size_t starP = std::string_view::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == '*') {
      starP = ++pi;
      starN = ni;
      continue;
    }
    if (pi < p.size()) {
      size_t lp = CharLength(p, pi), ln = CharLength(n, ni);
      if ((p[pi] == '?' && lp == 1) || CharEqual(p, pi, lp, n, ni, ln)) {
        pi += lp;
        ni += ln;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    pi = starP;
    starN += CharLength(n, starN);
    ni = starN;
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

bool HasFolderPart(std::string_view pattern) { return LastMemberSeparator(pattern, true) != std::string_view::npos; }

void AppendEscaped(std::string& out, unsigned char c) {
  static const char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[c >> 4];
  out += kHex[c & 15];
}

}  // namespace

size_t LastMemberSeparator(std::string_view path, bool alsoBackslash) {
  size_t last = std::string_view::npos;
  for (size_t i = 0; i < path.size();) {
    size_t len = CharLength(path, i);
    if (len == 1 && (path[i] == '/' || (alsoBackslash && path[i] == '\\'))) last = i;
    i += len;
  }
  return last;
}

std::string NormalizeMemberSeparators(std::string_view path) {
  std::string out(path);
  for (size_t i = 0; i < out.size();) {
    size_t len = CharLength(out, i);
    if (len == 1 && out[i] == '\\') out[i] = '/';
    i += len;
  }
  return out;
}

std::string LzhBaseName(std::string_view memberPath) {
  size_t sep = LastMemberSeparator(memberPath);
  return std::string(sep == std::string_view::npos ? memberPath : memberPath.substr(sep + 1));
}

bool MemberNamesEqual(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    size_t la = CharLength(a, i), lb = CharLength(b, j);
    if (!CharEqual(a, i, la, b, j, lb)) return false;
    i += la;
    j += lb;
  }
  return i == a.size() && j == b.size();
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*" || pattern == "*") return true;
  return MatchFrom(pattern, 0, name, 0);
}

std::vector<std::string> SplitWildcardText(std::string_view text) {
  std::vector<std::string> out;
  std::string current;
  bool inQuotes = false, any = false;
  for (size_t i = 0; i < text.size();) {
    size_t len = CharLength(text, i);
    char c = text[i];
    if (len == 1 && c == '"') {
      inQuotes = !inQuotes;
      any = true;
    } else if (len == 1 && !inQuotes && (c == ' ' || c == '\t')) {
      if (any) out.push_back(current);
      current.clear();
      any = false;
    } else {
      current.append(text.substr(i, len));
      any = true;
    }
    i += len;
  }
  if (any) out.push_back(current);
  return out;
}

bool MemberMatchesPattern(std::string_view pattern, std::string_view memberPath) {
  if (HasFolderPart(pattern)) {
    std::string p = NormalizeMemberSeparators(pattern);
    std::string_view pv = p;
    while (!pv.empty() && pv[0] == '/') pv.remove_prefix(1);
    return WildcardMatch(pv, memberPath);
  }
  return WildcardMatch(pattern, LzhBaseName(memberPath));
}

bool MemberMatchesAny(const std::vector<std::string>& patterns, std::string_view memberPath) {
  for (const auto& p : patterns)
    if (MemberMatchesPattern(p, memberPath)) return true;
  return false;
}

std::string ExtractedFileName(std::string_view base) {
  if (base.empty() || base == "." || base == "..") return {};
  std::string out;
  for (size_t i = 0; i < base.size();) {
    unsigned char c = U(base[i]);
    if (c == '/' ) return {};
    if (c < 0x20 || c == 0x7F) {
      AppendEscaped(out, c);
      ++i;
      continue;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    size_t len = CharLength(base, i);
    if (!AppendCp932AsUtf8(base.substr(i, len), out)) {
      AppendEscaped(out, c);  // the next byte is looked at on its own
      ++i;
      continue;
    }
    i += len;
  }
  if (out.size() > 255) return {};
  return out;
}

}  // namespace kadrel
