#include "scan/scan_fixture.h"

#include "scan/document_step.h"

namespace kadrel::test {

WindowThread::WindowThread() : thread_([this] {
  std::unique_lock lock(mutex_);
  for (;;) {
    cv_.wait(lock, [this] { return quit_ || !queue_.empty(); });
    if (queue_.empty() && quit_) return;
    auto [call, done] = queue_.front();
    queue_.pop_front();
    lock.unlock();
    (*call)();
    lock.lock();
    *done = true;
    cv_.notify_all();
  }
}) {}

WindowThread::~WindowThread() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  cv_.notify_all();
  thread_.join();
}

bool WindowThread::RunOnWindowThread(const std::function<void()>& call) {
  if (OnWindowThread()) {
    call();
    return true;
  }
  bool done = false;
  std::unique_lock lock(mutex_);
  queue_.emplace_back(&call, &done);
  cv_.notify_all();
  cv_.wait(lock, [&] { return done; });
  return true;
}

void FakeListView::AddRecord(std::unique_ptr<TMusicFileInfo> record) {
  if (!window_.OnWindowThread()) touchedOffWindowThread = true;
  if (onAdd) onAdd(*record);
  VectorScanView::AddRecord(std::move(record));
}

void FakeListView::InsertRecordSorted(std::unique_ptr<TMusicFileInfo> record) {
  if (!window_.OnWindowThread()) touchedOffWindowThread = true;
  VectorScanView::InsertRecordSorted(std::move(record));
}

bool RecordingIndex::ReadFolder(const std::string& folder, const IndexListPlace&, const std::atomic<bool>&,
                                std::vector<std::unique_ptr<TMusicFileInfo>>& out) {
  ++reads;
  if (!window_.OnWindowThread()) readOffWindowThread = true;
  auto it = blocks.find(folder);
  if (it == blocks.end()) return false;
  for (const TMusicFileInfo& r : it->second) out.push_back(std::make_unique<TMusicFileInfo>(r));
  return !it->second.empty();
}

void RecordingIndex::SaveFolder(const std::string& folder, const std::vector<TMusicFileInfo>& entries) {
  ++saves;
  if (!window_.OnWindowThread()) writtenOffWindowThread = true;
  if (blocks.count(folder)) return;
  auto& block = blocks[folder];
  for (const TMusicFileInfo& e : entries)
    if (e.IsFile()) block.push_back(e);
}

void RecordingIndex::ReplaceFolder(const std::string& folder, const std::vector<TMusicFileInfo>& entries) {
  ++replaces;
  blocks.erase(folder);
  SaveFolder(folder, entries);
}

bool RecordingIndex::ForgetFolder(const std::string& folder) {
  if (forgetFails) return false;
  blocks.erase(folder);
  return true;
}

ScanHarness::ScanHarness() {
  window.Run([&] { controller = std::make_unique<FolderScanController>(window, view, view, messages); });
  controller->onPassFinished = [this](bool fromIndex) {
    std::lock_guard lock(mutex_);
    finished_ = true;
    fromIndex_ = fromIndex;
    cv_.notify_all();
  };
  settings_.workFolder = "/nonexistent-work-folder/";
}

ScanHarness::~ScanHarness() {
  window.Run([&] { controller.reset(); });
}

void ScanHarness::WaitForEnd() {
  std::unique_lock lock(mutex_);
  ASSERT_TRUE(cv_.wait_for(lock, std::chrono::seconds(60), [&] { return finished_; })) << "the pass did not end";
}

bool ScanHarness::Open(const std::string& folder, IArchivePort* archives, bool documents,
                       const std::string& previousFolder) {
  finished_ = false;
  window.Run([&] {
    controller->SetSettings(settings_);
    controller->SetArchivePort(archives);
    controller->SetIndexPort(indexPort);
    if (documents) controller->SetDocumentStep(MakeDocumentStep(settings_.main, messages));
    controller->ShowFolder(folder, previousFolder);
  });
  WaitForEnd();
  return fromIndex_;
}

void ScanHarness::Update(ScanMode mode) {
  finished_ = false;
  window.Run([&] { controller->StartUpdatePass(mode); });
  WaitForEnd();
}

bool ScanHarness::ReRead() {
  finished_ = false;
  window.Run([&] { controller->ReReadFolder(controller->CurrentFolder()); });
  WaitForEnd();
  return fromIndex_;
}

std::vector<std::string> ScanHarness::Names() const {
  std::vector<std::string> names;
  for (const auto& r : view.list) names.push_back(r->FullName());
  return names;
}

const TMusicFileInfo* ScanHarness::Find(const std::string& fullName) const {
  for (const auto& r : view.list)
    if (r->FullName() == fullName) return r.get();
  return nullptr;
}

}  // namespace kadrel::test
