#include "sorting/collation_key.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/ustring.h>

#include <memory>
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

std::string CollationKey(std::string_view bytes) {
  std::string text = DisplayText(bytes);
  const icu::Collator* collator = JapaneseCollator();
  // Without collation data the order falls back to the UTF-8 bytes, which is still a
  // consistent order.
  if (!collator) return text;

  thread_local std::vector<UChar> utf16;
  utf16.resize(text.size() + 1);
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(utf16.data(), static_cast<int32_t>(utf16.size()), &length, text.data(),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
  if (U_FAILURE(status)) return text;

  // Built in a reused buffer, so each key takes only its own length.
  thread_local std::vector<uint8_t> buffer(256);
  for (;;) {
    int32_t needed = collator->getSortKey(utf16.data(), length, buffer.data(), static_cast<int32_t>(buffer.size()));
    if (needed <= 0) return text;
    if (static_cast<size_t>(needed) <= buffer.size())  // the terminating 0 is left out
      return std::string(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(needed) - 1);
    buffer.resize(static_cast<size_t>(needed));
  }
}

int CollateTexts(std::string_view a, std::string_view b) {
  int c = CollationKey(a).compare(CollationKey(b));
  return (c > 0) - (c < 0);
}

}  // namespace kadrel
