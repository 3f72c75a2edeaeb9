#pragma once
// Recomposer sequence (RCP, R36, G18, G36) -> Standard MIDI file, format 1.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/rcpcv/track_expander.h"

namespace kadrel {

enum class RcpConvertError {
  kNone,
  kCannotRead,     // the file could not be opened or read
  kTooLarge,       // larger than any sequence file can be
  kNotRecomposer,  // no Recomposer signature
  kTruncated,      // the header is incomplete
  kUnsupported,    // a Recomposer 1.0 (MCP) file
};

struct RcpConvertOptions {
  ExpandLimits limits;
  // Bytes of a control file named in the header (CM6, GSD), nullopt when missing.
  std::function<std::optional<std::string>(const std::string& name)> readControlFile;
  // Called with steps 0..99 while the tracks are converted.
  std::function<void(int step)> progress;
};

struct RcpConvertResult {
  RcpConvertError error = RcpConvertError::kNone;
  std::string message;  // what failed, for the user
  std::string smf;
  std::vector<std::string> warnings;
};

inline constexpr size_t kMaxRecomposerFileSize = 16u << 20;

RcpConvertResult ConvertRecomposer(std::string_view bytes, const RcpConvertOptions& options = {});

// Reads path; control files are looked up in its folder (names compared without regard
// to letter case) unless options bring their own reader.
RcpConvertResult ConvertRecomposerFile(const std::string& path, RcpConvertOptions options = {});

}  // namespace kadrel
