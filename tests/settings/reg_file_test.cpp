#include <gtest/gtest.h>

#include "base/encoding.h"
#include "settings/platform_folders.h"
#include "settings/reg_file.h"
#include "settings_test_support.h"
#include "support/process.h"

namespace kadrel {
namespace {

using test::StoreFixture;

TEST(Dump, FreshStoreShowsTheWholeTreeWithDefaults) {
  StoreFixture f;
  std::string dump = DumpSettings(*f.store, {false, "/home/u/.config/kadrel/"});
  EXPECT_EQ(dump.rfind("REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Ostrin\\Kadrel]\n", 0), 0u);
  for (const char* expected : {
           "[HKEY_CURRENT_USER\\SOFTWARE\\Ostrin\\Kadrel\\Option]\n\"LzhStyle\"=dword:00000002\n",
           "\"KeyCust\"=\"/home/u/.config/kadrel/Default.Key\"\n",
           "\"FL_Color\"=dword:80000008\n",
           "[HKEY_CURRENT_USER\\SOFTWARE\\Ostrin\\Kadrel\\startup]\n\n"
           "[HKEY_CURRENT_USER\\SOFTWARE\\Ostrin\\Kadrel\\startup\\show]\n\"save\"=dword:0000000f\n",
           "\"ErrTitle4\"=\" // タイトルが存在しません //\"\n",
           "[HKEY_CURRENT_USER\\SOFTWARE\\Ostrin\\Kadrel\\SMFK\\SC88]\n\"Cfg\"=\"\"\n\"FindStr\"=\"SC88,ＳＣ88,SC-88,ＳＣ－８８\"\n",
       })
    EXPECT_NE(dump.find(expected), std::string::npos) << expected;
  EXPECT_EQ(dump.find("\"version\""), std::string::npos) << "no default";
  EXPECT_EQ(dump.find("JF1"), std::string::npos);
  EXPECT_EQ(f.store->Snapshot().size(), 1u) << "dumping writes nothing";
}

TEST(Dump, ImportRoundTripKeepsBytes) {
  StoreFixture f;
  f.reg.RegWriteStr("ErrTitle1", Cp932("未検索 \"引用\" C:\\表"), "\\ListView");
  f.reg.RegWriteStr("JF1", "/home/u/音楽", "\\Folder");  // a UTF-8 file name stays UTF-8
  f.reg.RegWriteInt("tasktray", -1, "\\Option");
  f.reg.RegWriteInt("Priority", 5, "\\SMFK\\" + Cp932("音源"));
  f.reg.RegWriteStr("Extra", "kept", "\\Unknown\\Deep");
  std::string dump = DumpSettings(*f.store);

  StoreFixture g;
  ImportResult r = ImportSettings(*g.store, dump);
  ASSERT_TRUE(r.ok) << (r.errors.empty() ? "" : r.errors[0]);
  EXPECT_EQ(g.reg.RegReadStr("ErrTitle1", "\\ListView"), Cp932("未検索 \"引用\" C:\\表"));
  EXPECT_EQ(g.reg.RegReadStr("JF1", "\\Folder"), "/home/u/音楽");
  EXPECT_EQ(g.reg.RegReadInt("tasktray", "\\Option"), -1);
  EXPECT_EQ(g.reg.RegReadInt("Priority", "\\SMFK\\" + Cp932("音源")), 5);
  EXPECT_EQ(g.reg.RegReadStr("Extra", "\\Unknown\\Deep"), "kept");
  EXPECT_EQ(DumpSettings(*g.store), dump);
}

TEST(Import, MalformedLinesAreReportedAndNothingChanges) {
  StoreFixture f;
  f.reg.RegWriteInt("LzhStyle", 3, "\\Option");
  const std::string text =
      "REGEDIT4\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\Ostrin\\Kadrel\\Option]\r\n"
      "\"LzhStyle\"=dword:00000001\r\n"
      "\"Bad\"=dword:123456789\r\n"
      "\"Hex\"=hex:01,02\r\n"
      "\"Open=\"x\"\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n"
      "\"x\"=\"y\"\r\n"
      "@=\"default\"\r\n";
  ImportResult r = ImportSettings(*f.store, text);
  EXPECT_FALSE(r.ok);
  ASSERT_EQ(r.errors.size(), 6u);
  // Lines 5 to 10 are bad (line 9 being a value under a rejected key).
  for (size_t i = 0; i < r.errors.size(); ++i)
    EXPECT_EQ(r.errors[i].rfind("line " + std::to_string(i + 5) + ": ", 0), 0u) << r.errors[i];
  EXPECT_EQ(f.reg.RegReadInt("LzhStyle", "\\Option"), 3);

  EXPECT_FALSE(ImportSettings(*f.store, "").ok);
  EXPECT_FALSE(ImportSettings(*f.store, "[HKEY_CURRENT_USER\\SOFTWARE\\Ostrin\\Kadrel]\n").ok);
}

TEST(Import, DeletionsAndWindowsExports) {
  StoreFixture f;
  f.reg.RegWriteInt("Priority", 1, "\\SMFK\\GS\\x");
  f.reg.RegWriteInt("LzhStyle", 3, "\\Option");
  // A CP932 export from the original platform, with its own key spelling.
  const std::string text = "REGEDIT4\n[-HKEY_CURRENT_USER\\SOFTWARE\\Ostrin\\Kadrel\\SMFK\\GS]\n"
                           "[hkey_current_user\\software\\ostrin\\kadrel\\option]\n\"lzhstyle\"=-\n"
                           "\"ErrTitle9\"=\"" + Cp932("タイトル") + "\"\n";
  ImportResult r = ImportSettings(*f.store, text);
  ASSERT_TRUE(r.ok);
  EXPECT_FALSE(f.store->KeyExists("\\SMFK\\GS"));
  EXPECT_FALSE(f.store->Get("\\Option", "LzhStyle"));
  EXPECT_EQ(f.reg.RegReadStr("ErrTitle9", "\\Option"), Cp932("タイトル"));
}

// ---- The command-line tool ----------------------------------------------------------

test::ProcessResult Settings(const std::string& config, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {"settings", "--config-dir", config});
  return test::RunCli(arguments);
}

TEST(SettingsCommand, DumpSetGetImport) {
  test::TempDir dir;
  const std::string config = dir.path() + "config";
  const auto dump = Settings(config, {"dump"});
  EXPECT_EQ(dump.exitCode, 0);
  EXPECT_NE(dump.out.find("\"SMFByte\"=dword:0000012c"), std::string::npos);
  EXPECT_FALSE(IsFolder(config)) << "looking creates nothing";

  EXPECT_EQ(Settings(config, {"set", "\\Option", "smfbyte", "0x200"}).exitCode, 0);
  EXPECT_EQ(Settings(config, {"set", "Player", "TextViewType", "ﾎｿｸ,TXT"}).exitCode, 0);
  EXPECT_EQ(Settings(config, {"get", "option", "SMFByte"}).out, "512\n");
  EXPECT_EQ(Settings(config, {"get", "\\Option", "LzhStyle"}).out, "2\n");
  EXPECT_EQ(Settings(config, {"get", "Option", "NoSuchValue"}).exitCode, 1);
  EXPECT_EQ(Settings(config, {"set", "Option", "SMFByte", "many"}).exitCode, 2);

  auto store = SettingsStore::Open(config + "/settings.db", nullptr, {.readOnly = true});
  ASSERT_TRUE(store);
  EXPECT_EQ(store->Get("\\Player", "TextViewType")->text, "\xCE\xBF\xB8,TXT") << "texts are stored as CP932";
  store.reset();

  const std::string reg = dir.Write("in.reg", "REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Ostrin\\Kadrel\\Option]\n\"LzhStyle\"=dword:3\n");
  EXPECT_EQ(Settings(config, {"import", reg}).exitCode, 0);
  EXPECT_EQ(Settings(config, {"get", "Option", "LzhStyle"}).out, "3\n");
  EXPECT_EQ(Settings(config, {"import", dir.Write("bad.reg", "REGEDIT4\n\"x\"=dword:1\n")}).exitCode, 1);
}

}  // namespace
}  // namespace kadrel
