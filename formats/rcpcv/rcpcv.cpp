#include "formats/rcpcv/rcpcv.h"

#include <new>
#include <string>

#include "formats/rcpcv/recomposer_converter.h"

struct RcpcvObject {
  std::string smf;
};

extern "C" {

RcpcvObject* rcpcvConvertFile(const char* path, int32_t, RcpcvProgressCallback progress, void*, void*) {
  if (path == nullptr) return nullptr;
  kadrel::RcpConvertOptions options;
  if (progress != nullptr) {
    options.progress = [progress](int step) {
      RcpcvProgress record{static_cast<int32_t>(sizeof(RcpcvProgress)), 0, step};
      progress(&record);
    };
  }
  kadrel::RcpConvertResult result = kadrel::ConvertRecomposerFile(path, std::move(options));
  if (result.error != kadrel::RcpConvertError::kNone) return nullptr;
  return new (std::nothrow) RcpcvObject{std::move(result.smf)};
}

uint32_t rcpcvGetSMFLength(const RcpcvObject* object) {
  return object == nullptr ? 0 : static_cast<uint32_t>(object->smf.size());
}

const uint8_t* rcpcvGetSMF(const RcpcvObject* object) {
  return object == nullptr ? nullptr : reinterpret_cast<const uint8_t*>(object->smf.data());
}

void rcpcvDeleteObject(RcpcvObject* object) { delete object; }

int32_t rcpcvGetVersionMajor(void) { return 1; }
int32_t rcpcvGetVersionMinor(void) { return 0; }

}  // extern "C"
