#pragma once
// Files handed to Windows players that want an 8.3 path: a short ASCII name in our
// temporary folder that stands for the file (a hard link, or a copy when the file
// lies on another file system).

#include <string>

namespace kadrel {

// The staged path ("<folder>KP000001.MID"), or `file` itself when nothing could be
// made. With `dryRun` only the name is worked out.
std::string StageShortName(const std::string& file, const std::string& folder, bool dryRun);

}  // namespace kadrel
