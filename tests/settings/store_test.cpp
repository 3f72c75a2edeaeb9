#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "settings/key_path.h"
#include "settings_test_support.h"

namespace kadrel {
namespace {

using test::StoreFixture;

TEST(RegTreat, DefaultOnReadAndMissingValues) {
  StoreFixture f;
  EXPECT_EQ(f.reg.RegReadInt("LzhStyle", "\\Option"), -1);
  EXPECT_FALSE(f.store->Get("\\Option", "LzhStyle"));
  EXPECT_TRUE(f.store->KeyExists("\\Option")) << "a read creates its key";

  EXPECT_EQ(f.reg.RegReadIntDef("LzhStyle", 2, "\\Option"), 2);
  EXPECT_EQ(f.reg.RegReadIntDef("LzhStyle", 3, "\\Option"), 2) << "the written default stays";
  EXPECT_EQ(f.reg.RegReadStrDef("TextViewer", "xdg-open", "\\Player"), "xdg-open");
  EXPECT_EQ(f.store->Get("\\Player", "TextViewer")->text, "xdg-open");

  EXPECT_EQ(f.reg.RegReadStr("Start", "\\Folder"), "");
  EXPECT_FALSE(f.store->Get("\\Folder", "Start")) << "RegReadStr writes nothing";
  f.reg.RegWriteStr("Start", "", "\\Folder");
  EXPECT_EQ(f.reg.RegReadStr("Start", "\\Folder"), "");
  EXPECT_FALSE(f.store->Get("\\Folder", "Start")) << "an empty string is deleted when read";

  EXPECT_TRUE(f.reg.RegDeleteValue("LzhStyle", "\\Option"));
  EXPECT_FALSE(f.reg.RegDeleteValue("LzhStyle", "\\Option"));
}

TEST(RegTreat, NamesMatchWithoutLetterCase) {
  StoreFixture f;
  f.reg.RegWriteInt("Save", 5, "\\startup\\show");
  EXPECT_EQ(f.reg.RegReadInt("save", "\\STARTUP\\Show"), 5);
  f.reg.RegWriteInt("SMFByte", 500, "\\option");
  EXPECT_EQ(f.reg.RegReadIntDef("smfbyte", 300, "\\Option"), 500);
  f.reg.RegWriteInt("P1FtypeInfo", 3, "\\Player");
  EXPECT_EQ(f.reg.RegReadInt("P1FTypeInfo", "\\Player"), 3);
  // One value, kept under the spelling it was first written with.
  auto keys = f.store->Snapshot();
  int options = 0;
  for (const auto& k : keys)
    if (FoldKeyPath(k.path) == "\\OPTION") {
      ++options;
      ASSERT_EQ(k.values.size(), 1u);
      EXPECT_EQ(k.path, "\\option");
      EXPECT_EQ(k.values[0].name, "SMFByte");
    }
  EXPECT_EQ(options, 1);
}

TEST(RegTreat, ShiftJisNamesStayWhole) {
  StoreFixture f;
  // "表" ends in 0x5C, the key separator; "ア" (83 41) and "ヂ" (83 61) differ only in a
  // trail byte that looks like a letter of another case.
  const std::string hyou = "\x95\x5C";
  const std::string a = "\x83\x41", dji = "\x83\x61";
  f.reg.RegWriteInt("Priority", 1, "\\SMFK\\" + hyou);
  f.reg.RegWriteInt("Priority", 2, "\\SMFK\\" + a);
  f.reg.RegWriteInt("Priority", 3, "\\SMFK\\" + dji);
  EXPECT_EQ(f.reg.RegSubKeys("\\SMFK"), (std::vector<std::string>{a, dji, hyou}));
  EXPECT_EQ(f.reg.RegReadInt("Priority", "\\SMFK\\" + a), 2);
  EXPECT_EQ(f.reg.RegReadInt("Priority", "\\SMFK\\" + dji), 3);
  EXPECT_EQ(f.reg.RegReadInt("Priority", "\\SMFK\\" + hyou), 1);
}

TEST(RegTreat, DeleteKeyTakesEverythingBelow) {
  StoreFixture f;
  f.reg.RegWriteInt("Priority", 5, "\\SMFK\\detail\\deeper");
  f.reg.RegWriteStr("Cfg", "x", "\\SMFK\\detail");
  f.reg.RegWriteStr("Cfg", "y", "\\SMFK\\details");  // a sibling sharing the prefix
  EXPECT_TRUE(f.reg.RegDeleteKey("DETAIL", "\\SMFK"));
  EXPECT_FALSE(f.store->KeyExists("\\SMFK\\detail\\deeper"));
  EXPECT_FALSE(f.store->Get("\\SMFK\\detail\\deeper", "Priority"));
  EXPECT_EQ(f.reg.RegReadStr("Cfg", "\\SMFK\\details"), "y");
  EXPECT_FALSE(f.reg.RegDeleteKey("detail", "\\SMFK"));
  EXPECT_FALSE(f.reg.RegDeleteKey("", "\\SMFK")) << "never the key itself";
  EXPECT_TRUE(f.store->KeyExists("\\SMFK"));
}

TEST(RegTreat, ValueOfTheOtherKindReadsAsMissingAndIsKept) {
  StoreFixture f;
  f.reg.RegWriteStr("LzhStyle", "two", "\\Option");
  EXPECT_EQ(f.reg.RegReadIntDef("LzhStyle", 2, "\\Option"), 2);
  EXPECT_EQ(f.reg.RegReadInt("LzhStyle", "\\Option"), -1);
  EXPECT_EQ(f.store->Get("\\Option", "LzhStyle")->text, "two");
}

TEST(SettingsStore, PersistsAcrossOpens) {
  test::TempDir dir;
  const std::string path = dir.path() + "settings.db";
  {
    auto store = SettingsStore::Open(path, nullptr);
    RegTreat reg(*store);
    reg.RegWriteStr("ErrTitle1", Cp932("タイトル"), "\\ListView");
    reg.RegWriteInt("version", 68, "");
  }
  StoreOpenReport report;
  auto store = SettingsStore::Open(path, &report, {.readOnly = true});
  ASSERT_TRUE(store);
  EXPECT_FALSE(report.created);
  RegTreat reg(*store);
  EXPECT_EQ(reg.RegReadStr("ErrTitle1", "\\ListView"), Cp932("タイトル"));
  EXPECT_EQ(reg.RegReadInt("version", ""), 68);
  EXPECT_EQ(reg.RegReadIntDef("LzhStyle", 2, "\\Option"), 2);
  EXPECT_FALSE(store->Get("\\Option", "LzhStyle")) << "a read-only store is never written";
}

struct UnusableFile {
  const char* what;
  std::string bytes;
};

class DamagedStore : public testing::TestWithParam<UnusableFile> {};

TEST_P(DamagedStore, IsMovedAsideAndReplaced) {
  test::TempDir dir;
  const std::string path = dir.path() + "settings.db";
  test::WriteFileBytes(path, GetParam().bytes);
  StoreOpenReport report;
  auto store = SettingsStore::Open(path, &report);
  ASSERT_TRUE(store) << report.error;
  ASSERT_FALSE(report.movedAsideTo.empty());
  EXPECT_EQ(report.movedAsideTo.rfind(path + ".damaged-", 0), 0u);
  EXPECT_EQ(test::ReadFileBytes(report.movedAsideTo), GetParam().bytes) << "the old file is kept as it was";
  RegTreat reg(*store);
  EXPECT_EQ(reg.RegReadIntDef("LzhStyle", 2, "\\Option"), 2);

  store.reset();
  StoreOpenReport again;
  ASSERT_TRUE(SettingsStore::Open(path, &again));
  EXPECT_TRUE(again.movedAsideTo.empty()) << "the new store is used from then on";
}

std::string ForeignDatabase() {
  test::TempDir dir;
  const std::string path = dir.path() + "other.db";
  {
    auto store = SettingsStore::Open(path, nullptr);  // ours, then made foreign below
  }
  std::string bytes = test::ReadFileBytes(path);
  bytes[68] = bytes[69] = bytes[70] = bytes[71] = 0x11;  // the application id in the header
  return bytes;
}

std::string TruncatedDatabase() {
  test::TempDir dir;
  const std::string path = dir.path() + "t.db";
  {
    auto store = SettingsStore::Open(path, nullptr);
    RegTreat reg(*store);
    for (int i = 0; i < 200; ++i) reg.RegWriteStr("v" + std::to_string(i), std::string(100, 'x'), "\\Option");
  }
  std::string bytes = test::ReadFileBytes(path);
  for (size_t i = 4096; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedStore,
                         testing::Values(UnusableFile{"text", "this is not a database\n"},
                                         UnusableFile{"foreign", ForeignDatabase()},
                                         UnusableFile{"damaged", TruncatedDatabase()}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(SettingsStore, TwoProcessesWritingAtOnce) {
  test::TempDir dir;
  const std::string path = dir.path() + "settings.db";
  { SettingsStore::Open(path, nullptr); }
  constexpr int kRounds = 150;
  auto writer = [&](const std::string& who) {
    auto store = SettingsStore::Open(path, nullptr);
    if (!store) return 1;
    RegTreat reg(*store);
    for (int i = 0; i < kRounds; ++i) {
      reg.RegWriteInt(who + std::to_string(i), i, "\\Race\\" + who);
      reg.RegWriteInt("counter", i, "\\Race");
      reg.RegReadIntDef("shared" + std::to_string(i % 10), i, "\\Race\\shared");
    }
    return store->errorCount();
  };
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(writer("child") == 0 ? 0 : 1);
  EXPECT_EQ(writer("parent"), 0);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  StoreOpenReport report;
  auto store = SettingsStore::Open(path, &report);
  ASSERT_TRUE(store);
  EXPECT_TRUE(report.movedAsideTo.empty());
  RegTreat reg(*store);
  for (const char* who : {"parent", "child"})
    for (int i = 0; i < kRounds; ++i) ASSERT_EQ(reg.RegReadInt(who + std::to_string(i), std::string("\\Race\\") + who), i);
  EXPECT_EQ(reg.RegReadInt("counter", "\\Race"), kRounds - 1);
}

}  // namespace
}  // namespace kadrel
