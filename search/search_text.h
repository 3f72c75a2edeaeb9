#pragma once
// Text as the search compares it. Both the query and the record texts are folded the
// same way, so that the forms a Japanese user considers the same word compare equal:
// letter case, full-width and half-width forms (ＡＢＣ = ABC, ｶﾞ = ガ), hiragana and
// katakana, and compatibility forms (NFKC).

#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

// UTF-8 -> the folded UTF-8 form: NFKC with case folding, katakana as hiragana, and
// control characters as blanks. Malformed UTF-8 turns into U+FFFD.
std::string FoldForSearch(std::string_view utf8);

// A record's text as the file list shows it (valid UTF-8 as it is, anything else
// decoded as CP932), then folded.
std::string FoldRecordText(std::string_view bytes);

// The query's words: the folded text split at blanks. Replacement characters are
// dropped (a query word never matches the bytes a record could not decode), and so
// are words left empty.
std::vector<std::string> QueryWords(std::string_view utf8Query);

}  // namespace kadrel
