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

// Makes a temporary file in `folder` the way a save does (named by OwnedTempName), in a
// child process that is then killed with SIGKILL. Returns the file's name.
std::string LeftByKilledProcess(const std::string& folder, const std::string& prefix, const std::string& suffix = {});

}  // namespace kadrel::test
