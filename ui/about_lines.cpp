#include "ui/about_lines.h"

#include <unistd.h>

#include <fmt/format.h>

#include "formats/rcpcv/rcpcv.h"

#ifndef KADREL_VERSION
#define KADREL_VERSION ""
#endif
#ifndef KADREL_LHASA_VERSION
#define KADREL_LHASA_VERSION ""
#endif

namespace kadrel {
namespace {

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string ProgramVersionText(int version) {
  return fmt::format("Version {}.{:02}", version / 100, version % 100);
}

std::string LibraryStatusText(bool found, const std::string& versionText) {
  if (!found) return "は存在しません.";
  return "Version" + versionText + " を使用しています.";
}

bool KnifeProgramRegistered(const TSmfkInfo& knife) {
  return knife.Use == 2 && !knife.ExePath.empty() && ::access(knife.ExePath.c_str(), X_OK) == 0;
}

std::array<AboutLibraryLine, 3> AboutLibraryLines(const AboutFacts& facts) {
  const SupportLibraries& libs = facts.libraries;
  // Our reader's version, with the liblhasa release whose decoders it uses.
  const std::string lhasa = KADREL_LHASA_VERSION;
  const std::string lzhVersion = fmt::format(" {} (liblhasa{}{})", KADREL_VERSION, lhasa.empty() ? "" : " ", lhasa);
  const std::string rcpVersion = fmt::format(" {}.{}", rcpcvGetVersionMajor(), rcpcvGetVersionMinor());
  const bool knife = KnifeProgramRegistered(facts.knife);
  return {{
      {"LZH書庫 : Kadrel の LZH リーダー (復号は liblhasa)", LibraryStatusText(libs.lzh, lzhVersion)},
      {"Recomposer → SMF 変換 : Kadrel の RCP コンバーター", LibraryStatusText(libs.rcpcv, rcpVersion)},
      {"SMF knife : 基本設定で登録したプログラム",
       LibraryStatusText(knife, knife ? " " + BaseName(facts.knife.ExePath) : std::string())},
  }};
}

}  // namespace kadrel
