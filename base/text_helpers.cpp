#include "base/text_helpers.h"

#include "base/encoding.h"

namespace kadrel {

std::string TrimBlanks(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
  return std::string(text.substr(b, e - b));
}

std::string TextCleanup(std::string_view text) {
  if (text.size() <= 1) return TrimBlanks(text);
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      out += "  ";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "  ";
    } else {
      out += c;
    }
  }
  return TrimBlanks(out);
}

std::string CsvField(std::string_view list, int n) {
  if (n < 1) return {};
  std::string trimmed = TrimBlanks(list);
  std::string_view s = trimmed;
  size_t pos = 0;
  for (int field = 1; pos <= s.size(); ++field) {
    std::string value;
    if (pos < s.size() && s[pos] == '"') {
      ++pos;
      while (pos < s.size()) {
        if (s[pos] == '"') {
          if (pos + 1 < s.size() && s[pos + 1] == '"') {
            value += '"';
            pos += 2;
            continue;
          }
          ++pos;
          break;
        }
        value += s[pos++];
      }
      // Anything after the closing quote up to the comma belongs to no field.
      while (pos < s.size() && s[pos] != ',') ++pos;
    } else {
      size_t comma = s.find(',', pos);
      if (comma == std::string_view::npos) comma = s.size();
      value = std::string(s.substr(pos, comma - pos));
      pos = comma;
    }
    if (field == n) return value;
    if (pos >= s.size()) break;
    ++pos;  // past the comma
  }
  return {};
}

std::vector<std::string> CsvFields(std::string_view list) {
  std::vector<std::string> out;
  for (int n = 1;; ++n) {
    std::string field = CsvField(list, n);
    if (field.empty()) break;
    out.push_back(std::move(field));
  }
  return out;
}

namespace {
size_t LastDot(std::string_view name) { return name.rfind('.'); }
}  // namespace

std::string NameWithoutExtension(std::string_view name) {
  size_t dot = LastDot(name);
  return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string ExtensionWithDot(std::string_view name) {
  size_t dot = LastDot(name);
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string ExtensionWithoutDot(std::string_view name) {
  size_t dot = LastDot(name);
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

std::string MemberBaseName(std::string_view memberPath) {
  size_t slash = memberPath.rfind('/');
  return std::string(slash == std::string_view::npos ? memberPath : memberPath.substr(slash + 1));
}

namespace {

template <typename Map>
std::string MapAsciiLetters(std::string_view text, Map map) {
  std::string out(text);
  const bool skipDoubleBytes = !IsValidUtf8(text);
  for (size_t i = 0; i < out.size(); ++i) {
    auto c = static_cast<unsigned char>(out[i]);
    if (skipDoubleBytes && IsSjisLeadByte(c) && i + 1 < out.size()) {
      ++i;
      continue;
    }
    out[i] = static_cast<char>(map(c));
  }
  return out;
}

unsigned char Upper(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }
unsigned char Lower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

}  // namespace

std::string ToUpperAscii(std::string_view text) { return MapAsciiLetters(text, Upper); }
std::string ToLowerAscii(std::string_view text) { return MapAsciiLetters(text, Lower); }

int CompareIgnoreCase(std::string_view a, std::string_view b) {
  // Byte-wise with ASCII letters folded; a trail byte equal to a letter folds too, which
  // is harmless for equality of names that differ only in letter case.
  const bool sjis = !IsValidUtf8(a) || !IsValidUtf8(b);
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    auto ca = static_cast<unsigned char>(a[i]);
    auto cb = static_cast<unsigned char>(b[i]);
    if (sjis && IsSjisLeadByte(ca) && ca == cb && i + 1 < n) {
      // Compare the trail bytes exactly.
      auto ta = static_cast<unsigned char>(a[i + 1]);
      auto tb = static_cast<unsigned char>(b[i + 1]);
      if (ta != tb) return ta < tb ? -1 : 1;
      ++i;
      continue;
    }
    ca = Upper(ca);
    cb = Upper(cb);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareIgnoreCase(a, b) == 0;
}

}  // namespace kadrel
