#pragma once
// The folder scan's archive access on top of the LZH layer. The listing of the archive
// being scanned is kept, so reading its members does not walk the headers again.

#include <memory>
#include <mutex>

#include "scan/archive_port.h"

namespace kadrel {

class LzhArchivePort final : public IArchivePort {
 public:
  LzhArchivePort();
  ~LzhArchivePort() override;
  bool Available() override;
  bool AcquireTurn(int slot, const std::function<bool()>& giveUp) override;
  void ReleaseTurn(int slot) override;
  std::vector<ArchiveMemberEntry> ListMembers(const std::string& archivePath, const std::string& patterns) override;
  std::optional<std::string> ReadMember(const std::string& archivePath, const std::string& memberPath) override;
  void RunCommand(const std::string& commandLine) override;
  int CheckItemPresence(const std::string& folder, const std::string& name, const std::string& archive) override;
  std::string ExtractedFileName(const std::string& baseName) override;

 private:
  struct Cache;
  void Load(const std::string& archivePath);
  std::mutex mutex_;
  std::unique_ptr<Cache> cache_;
};

}  // namespace kadrel
