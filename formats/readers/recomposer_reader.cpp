#include "formats/readers/header_readers.h"
#include "base/text_helpers.h"

namespace kadrel {
namespace {
constexpr std::string_view kRcm2Signature = "RCM-PC98V2.0(C)COME ON MUSIC";
constexpr std::string_view kRcm3Signature = "COME ON MUSIC RECOMPOSER RCP3.0";
}  // namespace

void ReadRecomposer2Header(const ReaderInput& in, TMusicFileInfo& r) {
  if (in.Size() <= 512) return;  // small files keep state 0 with nothing set
  std::string sig = in.source.Read(in.base, 28);
  if (sig == kRcm2Signature) {
    if (in.source.Read(in.base + 433, 15) == std::string(15, '@')) {
      r.Title = TextCleanup(in.source.Read(in.base + 32, 64));
      r.Detail = "RCM2";
    }
    if (r.Title.empty()) r.InfoState = kInfoNoTitle;
  } else if (sig.compare(0, 2, "M1") == 0) {
    r.Title = TextCleanup(in.source.Read(in.base + 2, 62));
    r.Detail = "RCM1";
    if (r.Title.empty()) r.InfoState = kInfoNoTitle;
  } else {
    r.InfoState = kInfoFormatMismatch;
  }
}

void ReadRecomposer3Header(const ReaderInput& in, TMusicFileInfo& r) {
  if (in.Size() < 513) {
    r.InfoState = kInfoFormatMismatch;
    return;
  }
  if (in.source.Read(in.base, 31) == kRcm3Signature) {
    r.Title = TextCleanup(in.source.Read(in.base + 32, 64));
    r.Detail = "RCM3";
  }
  if (r.Title.empty()) r.InfoState = kInfoNoTitle;
}

}  // namespace kadrel
