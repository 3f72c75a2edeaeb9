#pragma once
// What the folder scan needs of the archive layer. The production implementation
// sits on the LZH library facade; tests use fakes.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kadrel {

struct ArchiveMemberEntry {
  std::string path;    // member path with "/" separators, CP932 bytes
  uint32_t size = 0;   // unpacked size
  uint16_t dosDate = 0;
  uint16_t dosTime = 0;
};

class IArchivePort {
 public:
  virtual ~IArchivePort() = default;
  virtual bool Available() = 0;
  // The library's turn for `slot`; false when `giveUp` became true while waiting.
  virtual bool AcquireTurn(int slot, const std::function<bool()>& giveUp) = 0;
  virtual void ReleaseTurn(int slot) = 0;
  // Members matching the wildcard text (patterns separated by blanks). Caller holds the turn.
  virtual std::vector<ArchiveMemberEntry> ListMembers(const std::string& archivePath, const std::string& patterns) = 0;
  // The whole member decoded and CRC-checked, or nullopt when it cannot be produced.
  virtual std::optional<std::string> ReadMember(const std::string& archivePath, const std::string& memberPath) = 0;
  // Runs an archive-library command line (extract "e ..."). Caller holds the turn.
  virtual void RunCommand(const std::string& commandLine) = 0;
  // 0 present, 1 missing, 2 archive missing (takes its own turn).
  virtual int CheckItemPresence(const std::string& folder, const std::string& name, const std::string& archive) = 0;
  // Name on disk of an extracted member with this CP932 base name.
  virtual std::string ExtractedFileName(const std::string& baseName) = 0;
};

}  // namespace kadrel
