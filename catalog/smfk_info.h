#pragma once
// Sound-module entries of the SMF conversion tool's settings.

#include <cstdint>
#include <string>
#include <vector>

namespace kadrel {

struct TSmfkItem {
  std::string Name;      // CP932
  std::string Cfg;       // configuration file
  std::string FindStr;   // comma-separated keywords (CP932)
  std::string FindStr2;  // comma-separated strong keywords (CP932)
  int32_t Priority = 10;
};

struct TSmfkInfo {
  std::vector<TSmfkItem> Items;
  int32_t Use = 0;        // 0 off, 1 library, 2 program
  std::string ExePath;    // "W95SMFK.EXE"
  std::string CfgDir;
  int32_t FindStyle = 7;  // bit 0 title, bit 1 document, bit 3 file name
};

// The ten modules written on a first start.
std::vector<TSmfkItem> DefaultSoundModules();

}  // namespace kadrel
