#include "sorting/collation_key.h"

#include <unicode/coll.h>
#include <unicode/locid.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/encoding.h"

namespace kadrel {
namespace {

// One collator for the program's life; its const operations may run concurrently.
const icu::Collator* JapaneseCollator() {
  static const std::unique_ptr<icu::Collator> collator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(icu::Locale("ja"), status));
    if (U_FAILURE(status)) c.reset();
    return c;
  }();
  return collator.get();
}

}  // namespace

void AppendCollationKey(std::string_view bytes, std::string& out) {
  const icu::Collator* collator = JapaneseCollator();
  // Without collation data the order falls back to the UTF-8 bytes, which is still a
  // consistent order.
  if (!collator) {
    out += DisplayText(bytes);
    return;
  }

  thread_local std::u16string utf16;
  DisplayTextUtf16(bytes, utf16);
  const auto length = static_cast<int32_t>(utf16.size());

  // The key is made in a scratch buffer that keeps its size, and appended without its
  // terminating 0: growing `out` by a guessed room would clear that room on every call.
  thread_local std::vector<uint8_t> key(256);
  int32_t needed = collator->getSortKey(utf16.data(), length, key.data(), static_cast<int32_t>(key.size()));
  if (needed > static_cast<int32_t>(key.size())) {
    key.resize(static_cast<size_t>(needed));
    needed = collator->getSortKey(utf16.data(), length, key.data(), static_cast<int32_t>(key.size()));
  }
  if (needed <= 0 || needed > static_cast<int32_t>(key.size())) {
    out += DisplayText(bytes);
    return;
  }
  out.append(reinterpret_cast<const char*>(key.data()), static_cast<size_t>(needed) - 1);
}

std::string CollationKey(std::string_view bytes) {
  std::string key;
  AppendCollationKey(bytes, key);
  return key;
}

int CollateTexts(std::string_view a, std::string_view b) {
  int c = CollationKey(a).compare(CollationKey(b));
  return (c > 0) - (c < 0);
}

}  // namespace kadrel
