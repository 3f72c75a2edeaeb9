// The limits of imported settings: files, key depth and names, value names and texts.
// Past any of them the import says which line and why, and the store is unchanged.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "settings/key_path.h"
#include "settings/reg_file.h"
#include "settings/settings_test_support.h"

namespace kadrel {
namespace {

const std::string kRoot = "[HKEY_CURRENT_USER\\SOFTWARE\\Ostrin\\Kadrel";

std::string Reg(const std::string& body) { return "REGEDIT4\n\n" + body; }

std::string Key(const std::string& below) { return kRoot + below + "]\n"; }

// "\k\k\k..." with `depth` components of `width` bytes each.
std::string DeepKey(size_t depth, size_t width = 1) {
  std::string path;
  for (size_t i = 0; i < depth; ++i) path += "\\" + std::string(width, 'k');
  return path;
}

struct LimitCase {
  const char* what;
  std::string file;
  const char* error;  // nullptr: imported
};

TEST(RegLimits, ImportsUpToEachLimitAndRefusesPastIt) {
  const std::string value = "\"Name\"=\"v\"\n";
  const LimitCase cases[] = {
      {"64 levels", Reg(Key(DeepKey(64)) + value), nullptr},
      {"65 levels", Reg(Key(DeepKey(65)) + value), "line 3: key deeper than 64 levels"},
      {"8000 levels in 16 KB", Reg(Key(DeepKey(8000))), "line 3: key deeper than 64 levels"},
      {"8000 levels to delete", Reg("[-" + Key(DeepKey(8000)).substr(1)), "line 3: key deeper than 64 levels"},
      {"255-byte key name", Reg(Key(DeepKey(1, 255)) + value), nullptr},
      {"256-byte key name", Reg(Key(DeepKey(1, 256)) + value), "line 3: key name longer than 255 bytes"},
      {"255-byte value name", Reg(Key("\\K") + "\"" + std::string(255, 'n') + "\"=dword:1\n"), nullptr},
      {"256-byte value name", Reg(Key("\\K") + "\"" + std::string(256, 'n') + "\"=dword:1\n"),
       "line 4: value name longer than 255 bytes"},
      {"256-byte name deleted", Reg(Key("\\K") + "\"" + std::string(256, 'n') + "\"=-\n"),
       "line 4: value name longer than 255 bytes"},
      {"64 KiB text", Reg(Key("\\K") + "\"T\"=\"" + std::string(kMaxValueTextBytes, 't') + "\"\n"), nullptr},
      {"64 KiB + 1 text", Reg(Key("\\K") + "\"T\"=\"" + std::string(kMaxValueTextBytes + 1, 't') + "\"\n"),
       "line 4: value longer than 65536 bytes"},
      {"16 MiB + 1 file", Reg(std::string(kMaxRegFileBytes, ';')), "the file is larger than 16 MiB"},
      {"a thousand bad lines", [] {
         std::string body;
         for (int i = 0; i < 1000; ++i) body += "x\n";
         return Reg(body);
       }(),
       "line 103: too many errors"},
  };
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.what);
    test::StoreFixture f;
    const auto before = f.store->Snapshot();
    const ImportResult r = ImportSettings(*f.store, c.file);
    if (!c.error) {
      EXPECT_TRUE(r.ok) << (r.errors.empty() ? "" : r.errors[0]);
      continue;
    }
    EXPECT_FALSE(r.ok);
    ASSERT_FALSE(r.errors.empty());
    bool found = false;
    for (const std::string& e : r.errors) found = found || e.find(c.error) != std::string::npos;
    EXPECT_TRUE(found) << r.errors[0];
    EXPECT_LE(r.errors.size(), 101u);
    EXPECT_EQ(f.store->Snapshot().size(), before.size());
  }
}

// The 8,000-level key made a database of hundreds of megabytes; refused, the file
// keeps its size.
TEST(RegLimits, ADeepKeyLeavesTheDatabaseItsSize) {
  test::StoreFixture f;
  const std::string path = f.dir.path() + "settings.db";
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  const off_t before = st.st_size;
  EXPECT_FALSE(ImportSettings(*f.store, Reg(Key(DeepKey(8000)) + "\"Name\"=\"v\"\n")).ok);
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_size, before);
}

// The store keeps the same limits for every writer, not only for imports.
TEST(RegLimits, TheStoreRefusesKeysAndValuesPastTheLimits) {
  test::StoreFixture f;
  struct StoreCase {
    std::string key, name, text;
    bool stored;
  };
  const StoreCase cases[] = {
      {DeepKey(64), "N", "t", true},
      {DeepKey(65), "N", "t", false},
      {DeepKey(2, 256), "N", "t", false},
      {"\\Other", std::string(256, 'n'), "t", false},
      {"\\Other", "N", std::string(kMaxValueTextBytes + 1, 't'), false},
  };
  for (const StoreCase& c : cases) {
    f.store->ResetErrors();
    EXPECT_EQ(f.store->Put(c.key, c.name, StoredValue::Str(c.text)), c.stored) << c.key.size() << " " << c.name;
    EXPECT_EQ(f.store->errorCount() == 0, c.stored) << f.store->lastError();
    EXPECT_EQ(f.store->KeyExists(c.key), c.stored) << c.key.size() << " " << c.name.size();
  }
}

}  // namespace
}  // namespace kadrel
