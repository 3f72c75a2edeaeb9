// REGEDIT4 import of arbitrary text into a store in memory, then a dump of the result.

#include <cstdint>
#include <string>

#include "settings/reg_file.h"
#include "settings/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto store = kadrel::SettingsStore::OpenInMemory();
  std::string text(reinterpret_cast<const char*>(data), size);
  // Half of the inputs get a valid header and key so that the value parser is reached.
  if (size > 0 && (data[0] & 1))
    text = "REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Ostrin\\Kadrel\\SMFK\\x]\n" + text;
  kadrel::ImportResult r = kadrel::ImportSettings(*store, text);
  if (r.ok && (size & 7) == 0) {
    std::string dump = kadrel::DumpSettings(*store);
    if (dump.rfind("REGEDIT4\n", 0) != 0) __builtin_trap();
  }
  return 0;
}
