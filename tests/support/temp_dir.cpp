#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "base/owned_temp.h"

namespace kadrel::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kadrel-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(std::string_view name, std::string_view bytes) const {
  std::string full = path_ + std::string(name);
  std::filesystem::create_directories(std::filesystem::path(full).parent_path());
  WriteFileBytes(full, bytes);
  return full;
}

std::string TempDir::MakeFolder(std::string_view name) const {
  std::string full = path_ + std::string(name);
  std::filesystem::create_directories(full);
  return full + "/";
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string LeftByKilledProcess(const std::string& folder, const std::string& prefix, const std::string& suffix) {
  int ready[2];
  EXPECT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(ready[0]);
    const std::string name = OwnedTempName(prefix, suffix);
    WriteFileBytes(folder + name, "half a save");
    const ssize_t sent = ::write(ready[1], name.data(), name.size());
    ::close(ready[1]);
    for (int i = 0; i < 600 && sent > 0; ++i) ::sleep(1);  // until killed
    ::_exit(1);
  }
  ::close(ready[1]);
  std::string name(256, '\0');
  const ssize_t got = ::read(ready[0], name.data(), name.size());
  ::close(ready[0]);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  name.resize(got > 0 ? static_cast<size_t>(got) : 0);
  EXPECT_FALSE(name.empty());
  EXPECT_TRUE(std::filesystem::exists(folder + name)) << name;
  return name;
}

}  // namespace kadrel::test
