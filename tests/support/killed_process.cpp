// Kept apart from temp_dir.cpp, which the benchmarks link without the test framework.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "base/owned_temp.h"
#include "support/temp_dir.h"

namespace kadrel::test {

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
