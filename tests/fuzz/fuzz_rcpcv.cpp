// Arbitrary bytes through the Recomposer converter, as they are and under each signature. A
// successful conversion must be a well-formed format 1 file.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/rcpcv/control_file.h"
#include "formats/rcpcv/recomposer_converter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kadrel;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  RcpConvertOptions options;
  options.readControlFile = [&](const std::string&) -> std::optional<std::string> {
    return std::string(input.substr(0, 64));
  };
  const std::string prefixes[] = {"", std::string("RCM-PC98V2.0(C)COME ON MUSIC\r\n\0\0", 32),
                                  std::string("COME ON MUSIC RECOMPOSER RCP3.0\0", 32)};
  for (const std::string& prefix : prefixes) {
    // The signature takes the place of the input's first bytes.
    const std::string bytes = prefix + std::string(input.substr(std::min(prefix.size(), input.size())));
    RcpConvertResult r = ConvertRecomposer(bytes, options);
    if (r.error == RcpConvertError::kNone && (r.smf.size() < 14 || r.smf.compare(0, 4, "MThd") != 0))
      __builtin_trap();
  }
  // The same bytes as a control file of each kind.
  for (ControlFileKind kind : {ControlFileKind::kCm6, ControlFileKind::kGsd}) {
    std::vector<SetupMessage> messages;
    std::string problem;
    ControlFileMessages(kind, input, messages, problem);
    for (const SetupMessage& m : messages)
      if (m.bytes.size() < 2 || static_cast<unsigned char>(m.bytes.front()) != 0xF0 ||
          static_cast<unsigned char>(m.bytes.back()) != 0xF7)
        __builtin_trap();
  }
  return 0;
}
