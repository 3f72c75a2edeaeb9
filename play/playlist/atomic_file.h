#pragma once
// Replacing a file so that a failure never leaves it half written.

#include <string>
#include <string_view>

namespace kadrel {

// Writes the bytes to a new file beside `path`, flushes it to disk and renames it over
// `path`. On failure the temporary file is removed, the old file is left as it was, and
// `*error` (if given) receives the reason.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error = nullptr);

}  // namespace kadrel
