#include "base/encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <vector>

namespace kadrel {
namespace {

// One conversion descriptor per thread and direction; iconv_t is not thread-safe.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as possible. Returns the number of input bytes consumed; stops at
  // the first byte sequence that does not convert.
  size_t Convert(std::string_view in, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char buffer[1024];
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      if (r == static_cast<size_t>(-1) && errno != E2BIG) break;
    }
    return in.size() - inLeft;
  }

 private:
  iconv_t cd_;
};

Converter& FromCp932() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}

Converter& ToCp932() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

constexpr char kReplacement[] = "\xEF\xBF\xBD";

// The single code point of a short UTF-8 text, or -1 when it holds anything else.
int32_t OnlyCodePoint(std::string_view utf8) {
  if (utf8.empty()) return -1;
  const auto c = static_cast<unsigned char>(utf8[0]);
  size_t len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
  if (len == 0 || len != utf8.size()) return -1;
  int32_t cp = len == 1 ? c : c & (0x7F >> len);
  for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[k]) & 0x3F);
  return cp;
}

// CP932 -> UTF-16 by table, read off the converter DisplayText uses one character at a
// time, so that both decode every byte alike. Sorting decodes every title once per
// sort; a converter call per title cost more than the collation key.
class Cp932Table {
 public:
  static constexpr char16_t kNone = 0xFFFF;  // U+FFFF is no CP932 character

  Cp932Table() {
    Converter conv("UTF-8", "CP932");
    if (!conv.ok()) return;
    std::string out;
    // The character `in` decodes to as a whole; kNone when it does not decode.
    auto decode = [&](std::string_view in) -> char16_t {
      out.clear();
      if (conv.Convert(in, out) != in.size()) return kNone;
      const int32_t cp = OnlyCodePoint(out);
      // Anything a UTF-16 unit cannot hold alone leaves the table unused.
      if (cp < 0 || cp >= 0xFFFF || (cp >= 0xD800 && cp <= 0xDFFF)) complete_ = false;
      return static_cast<char16_t>(cp);
    };
    pairs_.assign(256, kNone);  // row 0: no byte follows a lead byte to a character
    for (int b = 0; b < 256; ++b) {
      const char lead = static_cast<char>(b);
      single_[b] = decode(std::string_view(&lead, 1));
      if (single_[b] != kNone) continue;
      std::vector<char16_t> row(256, kNone);
      bool any = false;
      for (int t = 0; t < 256; ++t) {
        const char pair[2] = {lead, static_cast<char>(t)};
        row[t] = decode(std::string_view(pair, 2));
        any = any || row[t] != kNone;
      }
      if (!any) continue;
      rowOf_[b] = static_cast<uint8_t>(pairs_.size() / 256);
      pairs_.insert(pairs_.end(), row.begin(), row.end());
    }
    ok_ = complete_ && pairs_.size() / 256 <= 256;
  }

  bool ok() const { return ok_; }
  char16_t Single(unsigned char b) const { return single_[b]; }
  char16_t Pair(unsigned char lead, unsigned char trail) const { return pairs_[rowOf_[lead] * 256u + trail]; }

 private:
  char16_t single_[256] = {};
  uint8_t rowOf_[256] = {};
  std::vector<char16_t> pairs_;
  bool complete_ = true;
  bool ok_ = false;
};

const Cp932Table& Cp932Decoder() {
  static const Cp932Table table;
  return table;
}

// Valid UTF-8 -> UTF-16; `out` has room for one unit per byte.
size_t Utf8ToUtf16(std::string_view s, char16_t* out) {
  size_t n = 0;
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const size_t len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : 4;
    uint32_t cp = len == 1 ? c : c & (0x7Fu >> len);
    for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += len;
    if (cp >= 0x10000) {
      out[n++] = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out[n++] = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out[n++] = static_cast<char16_t>(cp);
    }
  }
  return n;
}

}  // namespace

bool IsAscii(std::string_view bytes) {
  for (unsigned char c : bytes)
    if (c >= 0x80) return false;
  return true;
}

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t len;
    uint32_t cp;
    if ((c & 0xE0) == 0xC0) {
      len = 2;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + len > n) return false;
    for (size_t k = 1; k < len; ++k) {
      unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    // Reject overlong forms, surrogates and values beyond Unicode.
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
        (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
      return false;
    i += len;
  }
  return true;
}

std::string DisplayText(std::string_view bytes) {
  if (IsAscii(bytes) || IsValidUtf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  Converter& conv = FromCp932();
  if (!conv.ok()) {
    for (unsigned char c : bytes) {
      if (c < 0x80) out += static_cast<char>(c);
      else out += kReplacement;
    }
    return out;
  }
  while (!bytes.empty()) {
    size_t used = conv.Convert(bytes, out);
    bytes.remove_prefix(used);
    if (bytes.empty()) break;
    // Skip one undecodable character: a lead byte takes its trail byte with it.
    size_t skip = (IsSjisLeadByte(static_cast<unsigned char>(bytes[0])) && bytes.size() > 1) ? 2 : 1;
    if (skip == 2 && static_cast<unsigned char>(bytes[1]) < 0x40) skip = 1;
    out += kReplacement;
    bytes.remove_prefix(skip);
  }
  return out;
}

void DisplayTextUtf16(std::string_view bytes, std::u16string& out) {
  // Every byte gives at most one unit (a 4-byte UTF-8 character gives two).
  out.resize(bytes.size());
  char16_t* units = out.data();
  size_t n = 0;
  if (IsAscii(bytes)) {
    for (unsigned char c : bytes) units[n++] = c;
  } else if (IsValidUtf8(bytes)) {
    n = Utf8ToUtf16(bytes, units);
  } else if (const Cp932Table& table = Cp932Decoder(); table.ok()) {
    // DisplayText's walk: a character that does not decode becomes U+FFFD, and a lead
    // byte takes its trail byte with it.
    const size_t size = bytes.size();
    for (size_t i = 0; i < size;) {
      const auto c = static_cast<unsigned char>(bytes[i]);
      char16_t u = table.Single(c);
      if (u != Cp932Table::kNone) {
        units[n++] = u;
        ++i;
        continue;
      }
      const auto trail = i + 1 < size ? static_cast<unsigned char>(bytes[i + 1]) : 0;
      if (i + 1 < size && (u = table.Pair(c, trail)) != Cp932Table::kNone) {
        units[n++] = u;
        i += 2;
        continue;
      }
      units[n++] = 0xFFFD;
      i += (IsSjisLeadByte(c) && i + 1 < size && trail >= 0x40) ? 2 : 1;
    }
  } else {
    const std::string text = DisplayText(bytes);
    out.resize(text.size());
    units = out.data();
    n = Utf8ToUtf16(text, units);
  }
  out.resize(n);
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  Converter& conv = ToCp932();
  if (!conv.ok()) return std::nullopt;
  std::string out;
  if (conv.Convert(utf8, out) != utf8.size()) return std::nullopt;
  return out;
}

std::string Cp932(std::string_view utf8Literal) {
  if (auto r = Utf8ToCp932(utf8Literal)) return *r;
  std::string out;
  Converter& conv = ToCp932();
  while (!utf8Literal.empty()) {
    size_t used = conv.ok() ? conv.Convert(utf8Literal, out) : 0;
    utf8Literal.remove_prefix(used);
    if (utf8Literal.empty()) break;
    out += '?';
    // Skip one UTF-8 character.
    size_t k = 1;
    while (k < utf8Literal.size() && (static_cast<unsigned char>(utf8Literal[k]) & 0xC0) == 0x80) ++k;
    utf8Literal.remove_prefix(k);
  }
  return out;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  auto unit = [&](size_t i) -> uint32_t {
    auto b0 = static_cast<unsigned char>(bytes[i]);
    auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0);
  };
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
      uint32_t lo = unit(i + 2);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
        i += 2;
        continue;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) {
      out += kReplacement;
      continue;
    }
    AppendUtf8(out, u);
  }
  return out;
}

std::string PreferCp932(std::string_view utf8) {
  if (auto r = Utf8ToCp932(utf8)) return *r;
  return std::string(utf8);
}

bool AppendCp932AsUtf8(std::string_view cp932, std::string& out) {
  Converter& conv = FromCp932();
  if (!conv.ok()) return false;
  std::string converted;
  if (conv.Convert(cp932, converted) != cp932.size()) return false;
  out += converted;
  return true;
}

}  // namespace kadrel
