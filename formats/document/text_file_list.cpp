#include "formats/document/text_file_list.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

#include "base/encoding.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"

namespace kadrel {
namespace {

std::vector<std::string> SplitExtensions(std::string_view list) { return CsvFields(list); }

}  // namespace

TGetTextFileList::TGetTextFileList(std::string folder, std::string archive, std::string musicFileName,
                                   std::string extensions, TextFileListArchiveAccess access, IWindowBridge& bridge,
                                   std::function<void()> onEnd)
    : folder_(WithTrailingSlash(folder)),
      archive_(std::move(archive)),
      musicFileName_(std::move(musicFileName)),
      extensions_(std::move(extensions)),
      access_(std::move(access)),
      bridge_(bridge),
      onEnd_(std::move(onEnd)) {}

TGetTextFileList::~TGetTextFileList() {
  Terminate();
  Join();
}

void TGetTextFileList::Start() {
  if (thread_.joinable()) return;
  thread_ = std::thread([this] { Run(); });
}

void TGetTextFileList::Join() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void TGetTextFileList::Run() {
  const std::vector<std::string> extensions = SplitExtensions(extensions_);
  if (!archive_.empty() && access_.available && access_.list) ListArchive(extensions);
  ListBeside(extensions);
  finished_ = true;
  if (onEnd_ && !terminate_) bridge_.RunOnWindowThread(onEnd_);
}

void TGetTextFileList::ListArchive(const std::vector<std::string>& extensions) {
  std::function<void()> release;
  if (access_.takeTurn) {
    release = access_.takeTurn([this] { return terminate_.load(); });
    if (!release) return;
  }
  std::string patterns;
  for (const std::string& ext : extensions) patterns += "*." + ext + " ";
  // An empty pattern text would list every member.
  if (!patterns.empty()) {
    for (const std::string& member : access_.list(folder_ + archive_, patterns))
      archiveDocuments_.push_back(MemberBaseName(member));
  }
  if (release) release();
}

void TGetTextFileList::ListBeside(const std::vector<std::string>& extensions) {
  if (extensions.empty()) return;
  const std::string stem = NameWithoutExtension(musicFileName_);
  // Extensions are CP932 (ﾎｿｸ); names on disk may be stored in either encoding.
  std::vector<std::string> wanted;
  for (const std::string& ext : extensions) {
    wanted.push_back(stem + "." + ext);
    if (!IsAscii(ext)) wanted.push_back(stem + "." + DisplayText(ext));
  }
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder_.c_str()), ::closedir);
  if (!dir) return;
  std::vector<std::string> entries;
  while (dirent* e = ::readdir(dir.get())) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    entries.push_back(std::move(name));
  }
  // In extension order, like one look-up per extension.
  for (const std::string& w : wanted) {
    for (const std::string& name : entries) {
      if (!EqualsIgnoreCase(name, w)) continue;
      struct stat st {};
      if (::stat((folder_ + name).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
      bool listed = false;
      for (const std::string& b : besideDocuments_) listed = listed || b == name;
      if (!listed) besideDocuments_.push_back(name);
    }
  }
}

}  // namespace kadrel
