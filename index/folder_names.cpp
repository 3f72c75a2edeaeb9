#include "index/folder_names.h"

#include <dirent.h>

#include "base/text_helpers.h"

namespace kadrel {

bool FolderNames::Contains(std::string_view name) {
  if (!listed_) {
    listed_ = true;
    if (DIR* dir = ::opendir(folder_.c_str())) {
      while (const dirent* e = ::readdir(dir)) names_.insert(ToUpperAscii(e->d_name));
      ::closedir(dir);
    }
  }
  return names_.count(ToUpperAscii(name)) != 0;
}

}  // namespace kadrel
