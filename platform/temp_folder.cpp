#include "platform/temp_folder.h"

#include <filesystem>
#include <system_error>

namespace kadrel {

int DeleteRegularFiles(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (folder.empty() || !fs::is_directory(fs::symlink_status(folder, ec))) return 0;
  int deleted = 0;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code statError;
    if (!fs::is_regular_file(it->symlink_status(statError))) continue;
    if (fs::remove(it->path(), statError)) ++deleted;
  }
  return deleted;
}

}  // namespace kadrel
