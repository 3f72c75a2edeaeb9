#include "playback/listplay_engine.h"

#include "base/text_helpers.h"
#include "playback/listplay_errors.h"

namespace kadrel {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kPlayerStartPause{1000};
constexpr milliseconds kEndPollPeriod{750};
constexpr milliseconds kPreparationPollPeriod{200};
// The next item is prepared a while after the current one started, so that unpacking
// does not compete with the player's start.
constexpr milliseconds kPreparationDelay{41 * 200};
// Players that fail this soon after their start, this many items in a row, end ListPlay:
// every item would fail the same way and the list would cycle forever.
constexpr auto kQuickFailure = std::chrono::seconds(2);
constexpr int kQuickFailuresToEnd = 3;

bool SameItem(const TPLMusicInfo& a, const TPLMusicInfo& b) {
  return a.Folder == b.Folder && a.Music.FileName == b.Music.FileName && a.Music.FileExt == b.Music.FileExt &&
         a.Music.Archiver == b.Music.Archiver;
}

int PreparationErrorCode(int result) {
  switch (result) {
    case kPrepareArchiveMissing: return 201;
    case kPrepareFileMissing: return 202;
    case kPrepareAborted: return 204;
    case kPrepareArchiveLibraryMissing: return 205;
    default: return 102;
  }
}

}  // namespace

ListPlayEngine::ListPlayEngine(ListPlayEnvironment env) : env_(std::move(env)) {}

ListPlayEngine::~ListPlayEngine() {
  Stop();
  Join();
}

bool ListPlayEngine::Start(int startIndex, int mode, unsigned seed) {
  if (running_.load()) return false;
  Join();
  stop_ = false;
  request_ = kRequestNone;
  playNow_ = -1;
  continuation_ = kContinue;
  mode_ = mode;
  random_.seed(seed);
  {
    std::lock_guard lock(mutex_);
    positions_ = {};
    prepared_.reset();
    preparing_ = false;
    preparedResult_ = kPrepareNoResult;
  }
  running_ = true;
  worker_ = std::thread([this, startIndex] { Run(startIndex); });
  return true;
}

void ListPlayEngine::Stop() {
  continuation_ = kEndAfterThisItem;
  stop_ = true;
  Wake();
}

void ListPlayEngine::Join() {
  if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}

void ListPlayEngine::Wake() {
  { std::lock_guard lock(mutex_); }
  wake_.notify_all();
}

void ListPlayEngine::Post(int request) {
  if (request == kRequestPause || request == kRequestResume) {
    // A move asked for and not yet taken wins: a pause must not swallow a "next" (the
    // next piece starts unpaused anyway).
    int pending = request_.load();
    while (pending == kRequestNone || pending == kRequestPause || pending == kRequestResume)
      if (request_.compare_exchange_weak(pending, request)) break;
  } else {
    request_ = request;
  }
  Wake();
}

bool ListPlayEngine::MoveRequested() const {
  const int r = request_.load();
  return r != kRequestNone && r != kRequestPause && r != kRequestResume;
}

bool ListPlayEngine::RequestMove(int request) {
  if (!running_.load()) return false;
  if (EndReserved() &&
      env_.Box.Confirm("すでにListPlay終了予約が設定されています.\n終了予約を取り消して命令を実行しますか？") !=
          MessageAnswer::Ok)
    return false;
  continuation_ = kContinue;
  Post(request);
  return true;
}

bool ListPlayEngine::RequestBack() {
  if (!running_.load()) return false;
  if (!HasPreviousItem(env_.List)) {
    env_.Box.Inform("前回再生したファイルの記録が見つかりませんでした.\n現在この機能は利用出来ません.");
    return false;
  }
  return RequestMove(kRequestBack);
}

void ListPlayEngine::RequestPlayNow(int index) {
  if (!running_.load()) return;
  continuation_ = kContinue;
  playNow_ = index;
  Post(kRequestPlayNow);
}

void ListPlayEngine::ReserveEnd() {
  if (!running_.load()) return;
  continuation_ = kEndAfterThisItem;
  for (auto& item : env_.List.Items)
    if (item->Order == 1) item->Mark = kNoMark;
}

bool ListPlayEngine::SetNext(int index) {
  if (!running_.load() || !SetNextItem(env_.List, index)) return false;
  continuation_ = kContinue;
  std::lock_guard lock(mutex_);
  positions_.Next = index;
  return true;
}

ListPlayPositions ListPlayEngine::Positions() const {
  std::lock_guard lock(mutex_);
  return positions_;
}

bool ListPlayEngine::Report(int code, const ListPlayErrorDetail& detail) {
  const MessageAnswer answer = env_.Box.Show(ListPlayErrorBox(code, detail));
  switch (ListPlayErrorOutcomeOf(code)) {
    case ListPlayErrorOutcome::GoOn: return true;
    case ListPlayErrorOutcome::Skip:
      if (answer == MessageAnswer::Yes) return true;
      break;
    case ListPlayErrorOutcome::End: break;
  }
  stop_ = true;
  return false;
}

bool ListPlayEngine::LoadCurrent(int& current, TPLMusicInfo& item) {
  bool found = false;
  const bool ran = env_.Bridge.RunOnWindowThread([&] {
    auto& items = env_.List.Items;
    if (current < 0 || current >= static_cast<int>(items.size())) return;
    items[current]->Played = kPlayed;
    item = *items[current];
    found = true;
  });
  if (!ran) stop_ = true;
  return found;
}

void ListPlayEngine::StartPreparation(int index, int lastSlot, bool delay) {
  if (preparer_.joinable()) preparer_.join();
  {
    std::lock_guard lock(mutex_);
    preparing_ = true;
    preparedResult_ = kPrepareNoResult;
    prepared_.reset();
  }
  preparer_ = std::thread([this, index, lastSlot, delay] { PreparationThread(index, lastSlot, delay); });
}

void ListPlayEngine::PreparationThread(int index, int lastSlot, bool delay) {
  int result = kPrepareAborted;
  ListPlayPrepared out;
  bool aborted = false;
  if (delay) {
    std::unique_lock lock(mutex_);
    env_.Clock.WaitFor(lock, wake_, kPreparationDelay,
                       [this] { return StopRequested() || MoveRequested() || awaitingPreparation_; });
    aborted = StopRequested() || EndReserved();
  }
  if (!aborted && !StopRequested()) {
    preparingNow_ = true;
    TPLMusicInfo item;
    bool found = false;
    const bool ran = env_.Bridge.RunOnWindowThread([&] {
      if (index < 0 || index >= static_cast<int>(env_.List.Items.size())) return;
      item = *env_.List.Items[index];
      found = true;
    });
    if (ran && !found) result = kPrepareFileMissing;
    if (ran && found) {
      const int slot = env_.Players.ChooseSlot(item, lastSlot);
      result = env_.Preparation.Prepare(item, slot, out, [this] { return StopRequested(); });
      out.Item = item;
      out.Slot = slot;
    }
  }
  {
    std::lock_guard lock(mutex_);
    preparedResult_ = result;
    if (result == kPrepareOk) prepared_ = std::move(out);
    preparing_ = false;
  }
  preparingNow_ = false;
  wake_.notify_all();
}

int ListPlayEngine::WaitForPreparation(std::optional<ListPlayPrepared>& out) {
  std::unique_lock lock(mutex_);
  awaitingPreparation_ = true;  // a preparation still in its delay starts at once
  wake_.notify_all();
  while (preparing_ && !StopRequested())
    env_.Clock.WaitFor(lock, wake_, kPreparationPollPeriod, [this] { return !preparing_ || StopRequested(); });
  awaitingPreparation_ = false;
  if (preparing_) return kPrepareAborted;
  out = prepared_;
  return preparedResult_;
}

void ListPlayEngine::ClosePlayer() {
  std::unique_ptr<IListPlayPlayer> player;
  {
    std::lock_guard lock(mutex_);
    player = std::move(player_);
  }
  if (player) player->Close();
}

void ListPlayEngine::Launch(int slot, const std::string& file) {
  ClosePlayer();  // never two players at once
  ListPlayLaunchOutcome outcome = env_.Players.Launch({slot, file}, [this] { Wake(); });
  launchedAt_ = env_.Clock.Now();
  launchFailed_ = !outcome.Player;
  if (!outcome.Player) {
    env_.Box.Show(ListPlayLaunchErrorBox(outcome.ErrorNumber));
    return;
  }
  std::unique_lock lock(mutex_);
  player_ = std::move(outcome.Player);
  // A moment for the player to come up.
  env_.Clock.WaitFor(lock, wake_, kPlayerStartPause,
                     [this] { return StopRequested() || MoveRequested() || player_->HasEnded(); });
}

bool ListPlayEngine::WaitForEnd() {
  std::unique_lock lock(mutex_);
  if (!player_) return false;
  for (;;) {
    env_.Clock.WaitFor(lock, wake_, kEndPollPeriod, [this] {
      return StopRequested() || request_.load() != kRequestNone || player_->HasEnded();
    });
    if (StopRequested()) return false;
    int r = request_.load();
    if (r == kRequestPause || r == kRequestResume) {
      if (request_.compare_exchange_strong(r, kRequestNone)) {
        IListPlayPlayer* player = player_.get();  // only this thread replaces it
        lock.unlock();
        r == kRequestPause ? player->Pause() : player->Resume();
        lock.lock();
      }
      continue;
    }
    if (r != kRequestNone) return false;
    if (player_->HasEnded()) return true;
  }
}

void ListPlayEngine::Run(int startIndex) {
  env_.Bridge.RunOnWindowThread([this] {
    for (auto& item : env_.List.Items) item->ResetListPlayMarks();
  });
  int current = startIndex;
  int lastSlot = 0;
  int slot = 0;
  std::string file;
  int quickFailures = 0;
  bool replay = false;
  bool skip = false;

  while (!StopRequested()) {
    if (!replay) {
      TPLMusicInfo item;
      if (!LoadCurrent(current, item)) {
        if (!StopRequested()) Report(122, {});
        break;
      }
      slot = env_.Players.ChooseSlot(item, lastSlot);

      // The item may have been prepared while the one before it played.
      std::optional<ListPlayPrepared> ready;
      int result = WaitForPreparation(ready);
      if (result != kPrepareOk || !ready || !SameItem(ready->Item, item) || ready->Slot != slot) {
        ready.reset();
        StartPreparation(current, lastSlot, false);
        result = WaitForPreparation(ready);
      }
      if (StopRequested()) break;
      if (result != kPrepareOk) {
        const int code = PreparationErrorCode(result);
        if (!Report(code, {})) break;
        skip = true;
      }
      if (!skip) {
        const ListPlayStaging staging = env_.Preparation.Stage(*ready);
        if (staging.DeleteFailed) Report(111, {});
        if (staging.MoveFailed) Report(113, {});
        file = ready->FileToPlay;
        if (!env_.Preparation.FileExists(file)) {
          ListPlayErrorDetail detail;
          detail.FilePath = file;
          if (!Report(203, detail)) break;
          skip = true;
        }
      }
      if (!skip && (slot == kSlotRefusesFile || slot == kNoSlotForFile)) {
        ListPlayErrorDetail detail;
        detail.Extension = ExtensionWithoutDot(item.Music.FullName());
        detail.Slot = item.Slot;
        if (!Report(slot == kSlotRefusesFile ? 152 : 151, detail)) break;
        skip = true;
      }
      if (!skip) lastSlot = slot;
    }
    if (StopRequested()) break;
    if (!skip) Launch(slot, file);

    ListPlayPositions pos;
    const bool ran = env_.Bridge.RunOnWindowThread([&] {
      pos = DerivePositions(env_.List);
      pos.Current = current;
      if (!replay) pos.Next = ChooseNextIndex(env_.List, mode_.load(), current, random_);
      UpdateMarks(env_.List, pos, mode_.load());
    });
    if (!ran) break;
    {
      std::lock_guard lock(mutex_);
      positions_ = pos;
    }
    if (!replay && pos.Next >= 0) StartPreparation(pos.Next, lastSlot, !skip);

    if (!skip) {
      const bool endedByItself = WaitForEnd();
      bool quickFailure = launchFailed_;
      if (endedByItself) {
        std::lock_guard lock(mutex_);
        quickFailure = player_->EndedWithFailure() && env_.Clock.Now() - launchedAt_ < kQuickFailure;
      }
      quickFailures = quickFailure ? quickFailures + 1 : 0;
      if (quickFailures >= kQuickFailuresToEnd) {
        env_.Box.Show(ListPlayFailingPlayersBox(quickFailures));
        break;
      }
    }
    if (StopRequested()) break;

    bool allPlayed = false;
    if (mode_.load() >= kModeEndWhenAllPlayed)
      env_.Bridge.RunOnWindowThread([&] { allPlayed = !AnyUnplayed(env_.List); });
    if (allPlayed) break;
    skip = false;
    if (continuation_.load() == kEndAfterThisItem) break;

    const int request = request_.exchange(kRequestNone);
    replay = request == kRequestReplay;
    if (replay) continue;

    std::optional<ListPlayPrepared> unused;
    const int result = WaitForPreparation(unused);
    if (StopRequested()) break;
    // A preparation that gave up (an end reserved, then cancelled) is simply made again.
    if (result == kPrepareArchiveLibraryMissing) {
      Report(PreparationErrorCode(result), {});
      break;
    }
    const AdvanceKind kind = request == kRequestBack      ? AdvanceKind::Back
                             : request == kRequestPlayNow ? AdvanceKind::PlayNow
                                                          : AdvanceKind::Natural;
    const int playNow = playNow_.exchange(-1);
    AdvanceResult advanced;
    env_.Bridge.RunOnWindowThread([&] {
      advanced = AdvancePositions(env_.List, kind, playNow);
      // The reserved item was deleted meanwhile: choose again from where play stands.
      if (advanced.Positions.Current < 0 && !env_.List.Items.empty())
        advanced.Positions.Current = ChooseNextIndex(env_.List, mode_.load(), advanced.Positions.Previous, random_);
    });
    if (advanced.PlayNowOutOfRange) {
      ListPlayErrorDetail detail;
      detail.Index = playNow;
      Report(211, detail);
    }
    current = advanced.Positions.Current;
  }
  Finish();
}

void ListPlayEngine::Finish() {
  stop_ = true;  // ends a preparation still waiting
  Wake();
  if (preparer_.joinable()) preparer_.join();
  ClosePlayer();
  {
    std::lock_guard lock(mutex_);
    positions_ = {};
    prepared_.reset();
    preparing_ = false;
  }
  env_.Bridge.RunOnWindowThread([this] {
    for (auto& item : env_.List.Items) item->ResetListPlayMarks();
    if (env_.OnFinished) env_.OnFinished();
  });
  running_ = false;
}

}  // namespace kadrel
