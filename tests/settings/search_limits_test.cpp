// "SMFByte" and "LZHByte" stay within the ranges the settings dialog offers, whether
// they come from the store or are given for one run.

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "settings/option_overrides.h"
#include "settings/settings_test_support.h"
#include "settings/startup_settings.h"

namespace kadrel {
namespace {
using namespace kadrel::test;

TEST(SearchLimits, StoredAndGivenValuesAreClampedToTheirRanges) {
  struct Case {
    const char* name;
    int32_t value;
    int32_t loaded;
  } cases[] = {
      {"SMFByte", 0, 100},     {"SMFByte", -300, 100},     {"SMFByte", 99, 100},        {"SMFByte", 100, 100},
      {"SMFByte", 450, 450},   {"SMFByte", 1000, 1000},    {"SMFByte", 1001, 1000},     {"SMFByte", INT32_MAX, 1000},
      {"LZHByte", 0, 25},      {"LZHByte", -1, 25},        {"LZHByte", 24, 25},         {"LZHByte", 25, 25},
      {"LZHByte", 700, 700},   {"LZHByte", 5000, 5000},    {"LZHByte", 5001, 5000},     {"LZHByte", INT32_MIN, 25},
  };
  StoreFixture f;
  for (const Case& c : cases) {
    const std::string what = std::string(c.name) + "=" + std::to_string(c.value);
    const bool smf = std::string(c.name) == "SMFByte";

    f.reg.RegWriteInt(c.name, c.value, "\\Option");
    MainSettings stored;
    LoadMainSettings(f.reg, {}, stored);
    EXPECT_EQ(smf ? stored.Main.SMFByte : stored.Main.LZHByte, c.loaded) << "stored " << what;

    TMainOption given;
    TListViewOption view;
    TWindowOption window;
    EXPECT_EQ(ApplyOptionOverride(what, {given, view, window}), "") << what;
    EXPECT_EQ(smf ? given.SMFByte : given.LZHByte, c.loaded) << "given " << what;
  }
}

}  // namespace
}  // namespace kadrel
