#pragma once
// A folder under the system's temporary folder that is removed with everything in it.

#include <string>
#include <string_view>

namespace kadrel::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // Ends in "/".
  const std::string& path() const { return path_; }
  // Writes a file (relative name, parent folders created) and returns its full path.
  std::string Write(std::string_view name, std::string_view bytes) const;
  std::string MakeFolder(std::string_view name) const;

 private:
  std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::string_view bytes);

}  // namespace kadrel::test
