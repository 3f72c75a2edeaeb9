#include "formats/readers/header_readers.h"
#include "base/text_helpers.h"

namespace kadrel {

void ReadModHeader(const ReaderInput& in, TMusicFileInfo& r) {
  if (in.Size() < 21) {
    r.InfoState = kInfoFormatMismatch;
    return;
  }
  r.Title = TextCleanup(in.source.Read(in.base, 20));
  r.Detail = "MOD";
  if (r.Title.empty()) r.InfoState = kInfoNoTitle;
}

}  // namespace kadrel
