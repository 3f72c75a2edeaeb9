#include "search/search_text.h"

#include <memory>

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>

#include "base/encoding.h"

namespace kadrel {
namespace {

const icu::Normalizer2* NfkcCasefold() {
  static const icu::Normalizer2* normalizer = [] {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* n = icu::Normalizer2::getNFKCCasefoldInstance(status);
    return U_SUCCESS(status) ? n : nullptr;
  }();
  return normalizer;
}

// A transliterator keeps state while it runs, so each thread gets its own.
icu::Transliterator* KatakanaToHiragana() {
  thread_local const std::unique_ptr<icu::Transliterator> transliterator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> t(
        icu::Transliterator::createInstance("Katakana-Hiragana", UTRANS_FORWARD, status));
    return U_SUCCESS(status) ? std::move(t) : nullptr;
  }();
  return transliterator.get();
}

bool HasKatakana(const icu::UnicodeString& text) {
  for (int32_t i = 0; i < text.length(); ++i) {
    const char16_t c = text[i];
    if (c >= 0x30A1 && c <= 0x30FA) return true;
  }
  return false;
}

// Control characters become blanks: they separate the fields of the folded text.
void BlankControls(std::string& text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
}

bool IsAsciiText(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::string FoldForSearch(std::string_view utf8) {
  std::string out;
  if (IsAsciiText(utf8)) {
    // Most file names and many titles: NFKC with case folding is lower case here.
    out.assign(utf8);
    for (char& c : out)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    BlankControls(out);
    return out;
  }
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  if (const icu::Normalizer2* n = NfkcCasefold()) {
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString folded = n->normalize(text, status);
    if (U_SUCCESS(status)) text = std::move(folded);
  }
  if (HasKatakana(text))
    if (icu::Transliterator* t = KatakanaToHiragana()) t->transliterate(text);
  text.toUTF8String(out);
  BlankControls(out);
  return out;
}

std::string FoldRecordText(std::string_view bytes) {
  if (IsAsciiText(bytes)) return FoldForSearch(bytes);
  return FoldForSearch(DisplayText(bytes));
}

std::vector<std::string> QueryWords(std::string_view utf8Query) {
  static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  std::string folded = FoldForSearch(utf8Query);
  for (size_t p = folded.find(kReplacement); p != std::string::npos; p = folded.find(kReplacement, p))
    folded.replace(p, kReplacement.size(), " ");
  std::vector<std::string> words;
  size_t start = 0;
  while (start < folded.size()) {
    size_t end = folded.find(' ', start);
    if (end == std::string::npos) end = folded.size();
    if (end > start) words.emplace_back(folded.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

}  // namespace kadrel
