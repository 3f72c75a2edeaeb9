#include "archive/lha_unpack.h"

#include <sys/stat.h>

#include <chrono>

#include "archive/unlha.h"

namespace kadrel {
namespace {

std::atomic<bool> g_abort{false};

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

std::shared_ptr<TLHAunpack> TLHAunpack::Start(LhaUnpackJob job, IMessageBox& messages, TUnLhaManagement& turns) {
  g_abort = false;
  std::shared_ptr<TLHAunpack> self(new TLHAunpack(std::move(job), messages, turns));
  // The thread holds a reference to its object until it ends, so the caller may drop its own.
  self->thread_ = std::thread([keep = self]() { keep->Run(); });
  return self;
}

TLHAunpack::TLHAunpack(LhaUnpackJob job, IMessageBox& messages, TUnLhaManagement& turns)
    : job_(std::move(job)), messages_(messages), turns_(turns) {}

TLHAunpack::~TLHAunpack() {
  // The last reference is dropped either by the caller after Join() or by the thread itself.
  if (thread_.joinable()) {
    if (thread_.get_id() == std::this_thread::get_id()) thread_.detach();
    else thread_.join();
  }
}

void TLHAunpack::Join() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void TLHAunpack::SetAbort(bool value) { g_abort = value; }
bool TLHAunpack::AbortRequested() { return g_abort.load(); }

void TLHAunpack::Run() {
  {
    UnLhaTurn turn(turns_, kSlotUnpack, [] { return g_abort.load(); });
    if (!turn.held() || g_abort.load()) {
      messages_.Confirm(kLhaUnpackAbortedMessage, MessageButtons::OkCancel);
    } else {
      UnlhaSetCursorMode(false);
      for (const std::string* spec : {&job_.memberSpec1, &job_.memberSpec2})
        if (!spec->empty()) Unlha(ExtractCommandLine(job_.archivePath, job_.destFolder, *spec));
    }
  }
  finished_ = true;
}

bool UnpackAndWait(const std::string& archivePath, const std::string& memberSpec1, const std::string& memberSpec2,
                   const std::string& destFolder, IMessageBox& messages, const std::function<void()>& service,
                   const std::function<bool()>& stillRunning, TUnLhaManagement& turns) {
  if (!LhaAvailable()) return false;
  std::shared_ptr<TLHAunpack> job;
  try {
    job = TLHAunpack::Start({archivePath, memberSpec1, memberSpec2, destFolder}, messages, turns);
  } catch (const std::exception&) {
    return false;
  }
  for (;;) {
    if (job->Finished()) {
      job->Join();
      return true;
    }
    if (stillRunning && !stillRunning()) return false;  // the thread finishes on its own
    if (service) service();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

int CheckItemPresence(const std::string& folder, const std::string& name, const std::string& archive,
                      TUnLhaManagement& turns) {
  if (archive.empty() || archive == ".") return Exists(folder + name) ? 0 : 1;
  const std::string archivePath = folder + archive;
  if (!Exists(archivePath)) return 2;
  UnLhaTurn turn(turns, kSlotPresence);
  if (!turn.held()) return 1;
  UnlhaSetCursorMode(false);
  UnlhaHandle h = UnlhaOpenArchive(archivePath);
  TUnlhaMemberInfo record;
  // Quoted, so that a member name with blanks is looked up as one name.
  const int found = UnlhaFindFirst(h, "\"" + name + "\"", record);
  UnlhaCloseArchive(h);
  return found == 0 ? 0 : 1;
}

}  // namespace kadrel
