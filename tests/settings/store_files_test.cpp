// The files beside the settings database: a read-only opening makes none, whatever
// journal mode the store was left in, and still sees what a writer has committed.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <set>
#include <string>

#include "settings/settings_store.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> out;
  for (const auto& e : fs::directory_iterator(folder)) out.insert(e.path().filename().string());
  return out;
}

std::unique_ptr<SettingsStore> Writer(const std::string& path) {
  StoreOpenReport report;
  auto store = SettingsStore::Open(path, &report);
  EXPECT_TRUE(store) << report.error;
  return store;
}

std::unique_ptr<SettingsStore> Reader(const std::string& path) {
  StoreOpenReport report;
  auto store = SettingsStore::Open(path, &report, {.readOnly = true});
  EXPECT_TRUE(store) << report.error;
  return store;
}

// Puts the database in write-ahead-log mode and closes it, as a writer of an earlier
// build left it: the log is gone, the header still says WAL.
void LeaveInWalMode(const std::string& path) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

std::optional<int32_t> ReadNumber(SettingsStore& store) {
  auto v = store.Get("Software\\Kadrel", "Number");
  if (!v) return std::nullopt;
  return v->number;
}

// Folder names that a URI would take for its own syntax.
class ReadOnlyOpening : public ::testing::TestWithParam<const char*> {};

TEST_P(ReadOnlyOpening, MakesNoFilesBesideTheStore) {
  test::TempDir tmp;
  const std::string folder = tmp.MakeFolder(GetParam());
  const std::string path = (fs::path(folder) / "settings.db").string();
  {
    auto w = Writer(path);
    ASSERT_TRUE(w->Put("Software\\Kadrel", "Number", StoredValue::Int(7)));
  }
  EXPECT_EQ(Names(folder), std::set<std::string>{"settings.db"}) << "the writer leaves no log behind";

  for (bool walHeader : {false, true}) {
    SCOPED_TRACE(walHeader ? "left in WAL mode" : "left in rollback mode");
    if (walHeader) LeaveInWalMode(path);
    {
      auto r = Reader(path);
      ASSERT_TRUE(r);
      EXPECT_EQ(ReadNumber(*r), 7);
      EXPECT_EQ(Names(folder), std::set<std::string>{"settings.db"});
    }
    EXPECT_EQ(Names(folder), std::set<std::string>{"settings.db"});
  }
}

INSTANTIATE_TEST_SUITE_P(Folders, ReadOnlyOpening, ::testing::Values("plain", "odd?name#with%25signs"));

TEST(ReadOnlyOpening, SeesWhatAnOpenWriterCommitted) {
  test::TempDir tmp;
  const std::string path = tmp.path() + "settings.db";
  auto w = Writer(path);
  ASSERT_TRUE(w->Put("Software\\Kadrel", "Number", StoredValue::Int(1)));
  ASSERT_TRUE(w->Put("Software\\Kadrel", "Number", StoredValue::Int(2)));  // in the writer's log
  {
    auto r = Reader(path);
    ASSERT_TRUE(r);
    EXPECT_EQ(ReadNumber(*r), 2);
  }
  ASSERT_TRUE(w->Put("Software\\Kadrel", "Number", StoredValue::Int(3)));
  w.reset();
  EXPECT_EQ(Names(tmp.path()), std::set<std::string>{"settings.db"});
  auto r = Reader(path);
  EXPECT_EQ(ReadNumber(*r), 3);
}

}  // namespace
}  // namespace kadrel
