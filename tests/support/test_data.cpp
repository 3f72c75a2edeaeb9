#include "support/test_data.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace kadrel::test {
namespace {

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

bool InCi() {
  const char* ci = std::getenv("CI");
  return ci && std::string_view(ci) == "true";
}

}  // namespace

const std::string& TestDataDir() {
  static const std::string dir = WithSlash(KADREL_TEST_DATA_DIR);
  return dir;
}

const std::string& CorpusDir() {
  static const std::string dir = WithSlash(KADREL_CORPUS_DIR);
  return dir;
}

bool CorpusPresent() {
  std::error_code ec;
  return std::filesystem::is_directory(CorpusDir(), ec);
}

bool RequireCorpus() {
  if (CorpusPresent()) return true;
  const std::string notice = "the shared corpus is not at " + CorpusDir() +
                             " (configure with -DKADREL_CORPUS_DIR=FOLDER to point elsewhere)";
  if (InCi()) {
    ADD_FAILURE() << notice << "; CI=true requires it";
  } else {
    // GTEST_SKIP returns from the lambda only; the caller returns on false.
    [&] { GTEST_SKIP() << notice << "; skipped"; }();
  }
  return false;
}

std::string DataFile(std::string_view relative) {
  std::error_code ec;
  const std::string own = TestDataDir() + std::string(relative);
  if (std::filesystem::exists(own, ec)) return own;
  if (!RequireCorpus()) return {};
  const std::string shared = CorpusDir() + std::string(relative);
  if (std::filesystem::exists(shared, ec)) return shared;
  ADD_FAILURE() << relative << " is neither in " << TestDataDir() << " nor in " << CorpusDir();
  return {};
}

}  // namespace kadrel::test
