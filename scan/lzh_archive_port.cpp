#include "scan/lzh_archive_port.h"

#include "archive/lha_unpack.h"
#include "archive/lzh_archive.h"
#include "archive/lzh_names.h"
#include "archive/unlha.h"
#include "archive/unlha_turn.h"

namespace kadrel {
namespace {

// Members beyond this size are read only up to it: an archive of a few kilobytes can
// declare gigabytes. The scan's readers still see the declared size.
constexpr uint64_t kWholeMemberLimit = 64u << 20;
constexpr uint64_t kLargeMemberHead = 1u << 20;

}  // namespace

struct LzhArchivePort::Cache {
  std::string path;
  std::unique_ptr<FileByteSource> source;
  // Headers and small members lie close together: the members are decoded from the
  // same window the listing was read through.
  std::unique_ptr<WindowedByteSource> window;
  LzhListing listing;
};

LzhArchivePort::LzhArchivePort() = default;
LzhArchivePort::~LzhArchivePort() = default;

bool LzhArchivePort::Available() { return LhaAvailable(); }

bool LzhArchivePort::AcquireTurn(int slot, const std::function<bool()>& giveUp) {
  return UnLhaManagement().Request(slot, giveUp);
}

void LzhArchivePort::ReleaseTurn(int slot) {
  UnLhaManagement().Release(slot);
  std::lock_guard lock(mutex_);
  cache_.reset();  // the archive may change once the turn is given back
}

void LzhArchivePort::Load(const std::string& archivePath) {
  if (cache_ && cache_->path == archivePath) return;
  cache_ = std::make_unique<Cache>();
  cache_->path = archivePath;
  cache_->source = FileByteSource::Open(archivePath);
  if (!cache_->source) return;
  cache_->window = std::make_unique<WindowedByteSource>(*cache_->source);
  cache_->listing = ListLzhArchive(*cache_->window);
}

std::vector<ArchiveMemberEntry> LzhArchivePort::ListMembers(const std::string& archivePath, const std::string& patterns) {
  std::lock_guard lock(mutex_);
  Load(archivePath);
  std::vector<ArchiveMemberEntry> out;
  if (!cache_->source) return out;
  for (const LzhMember& m : MatchingLzhMembers(cache_->listing, patterns)) {
    ArchiveMemberEntry e;
    e.path = m.Path();
    e.size = m.originalSize > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(m.originalSize);
    e.dosDate = m.dosDate;
    e.dosTime = m.dosTime;
    out.push_back(std::move(e));
  }
  return out;
}

std::optional<std::string> LzhArchivePort::ReadMember(const std::string& archivePath, const std::string& memberPath) {
  std::lock_guard lock(mutex_);
  Load(archivePath);
  if (!cache_->source) return std::nullopt;
  for (const LzhMember& m : cache_->listing.members) {
    if (m.IsDirectory() || m.Path() != memberPath) continue;
    std::string data;
    if (m.originalSize > kWholeMemberLimit) {
      if (DecodeLzhMember(*cache_->window, m, data, kLargeMemberHead) != LzhDecodeStatus::Partial) return std::nullopt;
      data.resize(kLargeMemberHead);
      return data;
    }
    if (DecodeLzhMember(*cache_->window, m, data) == LzhDecodeStatus::Ok) return data;
    return std::nullopt;
  }
  return std::nullopt;
}

void LzhArchivePort::RunCommand(const std::string& commandLine) {
  UnlhaSetCursorMode(false);
  Unlha(commandLine);
}

int LzhArchivePort::CheckItemPresence(const std::string& folder, const std::string& name, const std::string& archive) {
  return kadrel::CheckItemPresence(folder, name, archive);
}

std::string LzhArchivePort::ExtractedFileName(const std::string& baseName) { return kadrel::ExtractedFileName(baseName); }

}  // namespace kadrel
