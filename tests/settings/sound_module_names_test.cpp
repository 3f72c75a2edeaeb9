// Sound-module names as keys: the check the settings dialog runs before saving agrees
// with what the store can hold, so a list that passes comes back whole.

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "settings/settings_test_support.h"
#include "settings/sound_module_names.h"
#include "settings/startup_settings.h"

namespace kadrel {
namespace {
using namespace kadrel::test;

std::vector<TSmfkItem> Modules(std::initializer_list<std::string> names) {
  std::vector<TSmfkItem> items;
  for (const std::string& n : names) items.push_back({n, "", "", "", 10});
  return items;
}

TEST(SoundModuleNames, OffendersAreNamedOnceEach) {
  const SoundModuleNameCheck check =
      CheckSoundModuleNames(Modules({"Default", "", "GS", "a\\b", "gs", "", "Gs", "XG", "\\", "xg"}));
  EXPECT_EQ(check.emptyNames, 2);
  EXPECT_EQ(check.unusable, (std::vector<std::string>{"a\\b", "\\"}));
  ASSERT_EQ(check.sameKey.size(), 2u);
  EXPECT_EQ(check.sameKey[0], (std::vector<std::string>{"GS", "gs", "Gs"}));
  EXPECT_EQ(check.sameKey[1], (std::vector<std::string>{"XG", "xg"}));
  EXPECT_FALSE(check.ok());
}

TEST(SoundModuleNames, DoubleByteNamesAreKeysOfTheirOwn) {
  // "表" ends in the byte of "\", and full-width letters do not fold: all distinct keys.
  const std::vector<TSmfkItem> items =
      Modules({"Default", Cp932("表"), Cp932("ＧＳ"), Cp932("ｇｓ"), Cp932("ア"), Cp932("ヂ"), std::string(255, 'x')});
  EXPECT_TRUE(CheckSoundModuleNames(items).ok());
  EXPECT_EQ(CheckSoundModuleNames(Modules({std::string(256, 'x')})).unusable.size(), 1u);
}

TEST(SoundModuleNames, AListThatPassesIsStoredWhole) {
  StoreFixture f;
  TSmfkInfo info;
  info.Items = Modules({"Default", Cp932("表"), Cp932("ＧＳ"), "GS", Cp932("新規ｱｲﾃﾑ10")});
  info.Items[3].Priority = 300;
  ASSERT_TRUE(CheckSoundModuleNames(info.Items).ok());
  SaveSmfkInfo(f.reg, info);
  const TSmfkInfo back = LoadSmfkInfo(f.reg, SupportLibraries{});
  ASSERT_EQ(back.Items.size(), info.Items.size());
  for (const TSmfkItem& item : info.Items) {
    auto it = std::find_if(back.Items.begin(), back.Items.end(), [&](const TSmfkItem& b) { return b.Name == item.Name; });
    ASSERT_NE(it, back.Items.end()) << DisplayText(item.Name);
    EXPECT_EQ(it->Priority, item.Priority);
  }
}

}  // namespace
}  // namespace kadrel
