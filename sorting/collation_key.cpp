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

void AppendCollationKey(std::string_view bytes, std::string& out) {
  const icu::Collator* collator = JapaneseCollator();
  // Without collation data the order falls back to the UTF-8 bytes, which is still a
  // consistent order.
  if (!collator) {
    out += DisplayText(bytes);
    return;
  }

  thread_local std::vector<UChar> utf16;
  int32_t length = 0;
  if (IsAscii(bytes)) {
    utf16.resize(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) utf16[i] = static_cast<unsigned char>(bytes[i]);
    length = static_cast<int32_t>(bytes.size());
  } else {
    thread_local std::string decoded;
    std::string_view text = bytes;
    if (!IsValidUtf8(bytes)) {
      decoded = DisplayText(bytes);
      text = decoded;
    }
    utf16.resize(text.size() + 1);
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(utf16.data(), static_cast<int32_t>(utf16.size()), &length, text.data(),
                         static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) {
      out += text;
      return;
    }
  }

  // Written straight into `out`; the terminating 0 is left out.
  const size_t start = out.size();
  size_t room = static_cast<size_t>(length) * 4 + 16;
  for (;;) {
    out.resize(start + room);
    const int32_t needed = collator->getSortKey(utf16.data(), length, reinterpret_cast<uint8_t*>(out.data() + start),
                                                static_cast<int32_t>(room));
    if (needed <= 0) {
      out.resize(start);
      out += DisplayText(bytes);
      return;
    }
    if (static_cast<size_t>(needed) <= room) {
      out.resize(start + static_cast<size_t>(needed) - 1);
      return;
    }
    room = static_cast<size_t>(needed);
  }
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
