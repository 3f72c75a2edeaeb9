#pragma once
// The texts of the about box: the program version and one credit line and one status
// line per support piece (LZH reader, Recomposer converter, SMF knife program).

#include <array>
#include <string>

#include "catalog/smfk_info.h"
#include "settings/startup_settings.h"

namespace kadrel {

struct AboutLibraryLine {
  std::string credit;
  std::string status;
};

// What the about box reports: the support pieces found at start and the SMF knife
// settings (the knife counts as found when its program is registered and runnable).
struct AboutFacts {
  SupportLibraries libraries = DetectSupportLibraries();
  TSmfkInfo knife;
};

// "Version 0.68" for 68.
std::string ProgramVersionText(int version);
// "Version" + versionText + " を使用しています." when found, else "は存在しません.".
std::string LibraryStatusText(bool found, const std::string& versionText);
// True when the knife program is chosen ("Use" 2) and its file can be run.
bool KnifeProgramRegistered(const TSmfkInfo& knife);
std::array<AboutLibraryLine, 3> AboutLibraryLines(const AboutFacts& facts);

}  // namespace kadrel
