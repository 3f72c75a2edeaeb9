// kadrel-cli listplay: plays a play-list file continuously with the ListPlay engine, the
// way the window does, without a window. Control lines come on standard input; each
// event is one JSON object on standard output.

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "archive/unlha_turn.h"
#include "base/encoding.h"
#include "base/owned_temp.h"
#include "base/path_helpers.h"
#include "base/text_helpers.h"
#include "base/window_bridge.h"
#include "cli/cli_common.h"
#include "cli/listplay_settings.h"
#include "settings/platform_folders.h"
#include "playback/listplay_assembly.h"
#include "playback/listplay_engine.h"
#include "playback/listplay_launcher.h"
#include "playback/listplay_order.h"
#include "playback/lp_convert_for_play.h"
#include "playlist/playlist_io.h"

namespace kadrel::cli {
namespace {

struct ListPlayArgs {
  std::vector<std::string> options;
  std::string list;
  int mode = 0;
  int start = 0;
  std::optional<unsigned> seed;
  int maxItems = 0;
  std::string answer = "no";
  bool dryRun = false;
};

std::mutex outputMutex;

void Emit(const nlohmann::ordered_json& j) {
  std::lock_guard lock(outputMutex);
  PrintJsonLine(j);
  std::fflush(stdout);
}

// Every box becomes a "message" event (and a line on standard error); questions get
// the answer of --answer.
class EventMessageBox final : public IMessageBox {
 public:
  explicit EventMessageBox(bool yes) : yes_(yes) {}
  MessageAnswer Show(const MessageRequest& request) override {
    MessageAnswer answer = MessageAnswer::Ok;
    switch (request.buttons) {
      case MessageButtons::Ok: break;
      case MessageButtons::YesNo:
      case MessageButtons::YesNoCancel:
      case MessageButtons::YesNoIgnore: answer = yes_ ? MessageAnswer::Yes : MessageAnswer::No; break;
      default: answer = yes_ ? MessageAnswer::Ok : MessageAnswer::Cancel; break;
    }
    nlohmann::ordered_json j;
    j["event"] = "message";
    j["code"] = CodeOf(request.text);
    j["text"] = request.text;
    j["answer"] = AnswerName(answer);
    Emit(j);
    {
      std::lock_guard lock(outputMutex);
      std::cerr << (request.caption.empty() ? "" : request.caption + ": ") << request.text << "\n";
    }
    return answer;
  }
  void Beep(BeepKind) override {}

 private:
  // The number of "Error(N) : ", or null.
  static nlohmann::ordered_json CodeOf(const std::string& text) {
    constexpr std::string_view prefix = "Error(";
    if (text.rfind(prefix, 0) != 0) return nullptr;
    int code = 0;
    size_t i = prefix.size();
    for (; i < text.size() && i < prefix.size() + 4 && text[i] >= '0' && text[i] <= '9'; ++i)
      code = code * 10 + (text[i] - '0');
    if (i == prefix.size() || i >= text.size() || text[i] != ')') return nullptr;
    return code;
  }
  static const char* AnswerName(MessageAnswer a) {
    switch (a) {
      case MessageAnswer::Yes: return "yes";
      case MessageAnswer::No: return "no";
      case MessageAnswer::Cancel: return "cancel";
      default: return "ok";
    }
  }
  bool yes_;
};

// The "window's thread" of the run: the main thread, which runs the engine's calls and
// the control lines one after another, so that the list is touched by one thread only.
class CommandLoop final : public IWindowBridge {
 public:
  bool RunOnWindowThread(const std::function<void()>& call) override {
    if (std::this_thread::get_id() == owner_) {
      call();
      return true;
    }
    auto done = std::make_shared<bool>(false);
    std::unique_lock lock(mutex_);
    if (closed_) return false;
    tasks_.push_back([call, done, this] {
      call();
      std::lock_guard l(mutex_);
      *done = true;
      cv_.notify_all();
    });
    cv_.notify_all();
    cv_.wait(lock, [&] { return *done || closed_; });
    return *done;
  }
  void Post(std::function<void()> call) {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    tasks_.push_back(std::move(call));
    cv_.notify_all();
  }
  // Runs the calls until Finish; then takes no more.
  void Run() {
    for (;;) {
      std::function<void()> task;
      {
        std::unique_lock lock(mutex_);
        cv_.wait(lock, [&] { return finished_ || !tasks_.empty(); });
        if (finished_) {
          closed_ = true;
          tasks_.clear();
          cv_.notify_all();
          return;
        }
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
      task();
    }
  }
  void Finish() {
    std::lock_guard lock(mutex_);
    finished_ = true;
    cv_.notify_all();
  }

 private:
  const std::thread::id owner_ = std::this_thread::get_id();
  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> tasks_;
  bool finished_ = false;
  bool closed_ = false;
};

// Reads control lines until the run ends or standard input does.
class ControlReader {
 public:
  explicit ControlReader(std::function<void(const std::string&)> onLine)
      : onLine_(std::move(onLine)), thread_([this] { Read(); }) {}
  ~ControlReader() {
    stop_ = true;
    thread_.join();
  }

 private:
  void Read() {
    std::string pending;
    char buffer[512];
    while (!stop_) {
      pollfd p{STDIN_FILENO, POLLIN, 0};
      const int ready = ::poll(&p, 1, 100);
      if (ready < 0 && errno != EINTR) return;
      if (ready <= 0) continue;
      const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (n <= 0) return;
      pending.append(buffer, static_cast<size_t>(n));
      for (size_t eol; (eol = pending.find('\n')) != std::string::npos;) {
        std::string line = pending.substr(0, eol);
        pending.erase(0, eol + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        onLine_(line);
      }
      if (pending.size() > 4096) pending.clear();  // no control line is this long
    }
  }

  std::function<void(const std::string&)> onLine_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// "playnow 3" -> 3; nullopt when the word is missing or not a number.
std::optional<int> IndexArgument(const std::string& line, size_t at) {
  const std::string rest = TrimBlanks(line.substr(at));
  if (rest.empty() || rest.size() > 9 || rest.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  return std::stoi(rest);
}

// Runs one control line on the loop's thread.
void Control(ListPlayEngine& engine, const std::string& raw) {
  const std::string line = TrimBlanks(raw);
  bool ok = true;
  if (line.empty()) return;
  if (line == "next") ok = engine.RequestNext();
  else if (line == "back") ok = engine.RequestBack();
  else if (line == "replay") ok = engine.RequestReplay();
  else if (line == "pause") engine.RequestPause();
  else if (line == "resume") engine.RequestResume();
  else if (line == "reserve-end") engine.ReserveEnd();
  else if (line == "stop") engine.Stop();
  else if (line.rfind("playnow ", 0) == 0 && IndexArgument(line, 8)) engine.RequestPlayNow(*IndexArgument(line, 8));
  else if (line.rfind("setnext ", 0) == 0 && IndexArgument(line, 8)) ok = engine.SetNext(*IndexArgument(line, 8));
  else {
    std::lock_guard lock(outputMutex);
    std::cerr << "kadrel-cli listplay: unknown control line: " << DisplayText(line) << "\n";
    return;
  }
  if (!ok) {
    std::lock_guard lock(outputMutex);
    std::cerr << "kadrel-cli listplay: refused: " << line << "\n";
  }
}

// Tells the player's end as an "ended" event, once.
class ReportingPlayer final : public IListPlayPlayer {
 public:
  ReportingPlayer(std::unique_ptr<IListPlayPlayer> player, int index) : player_(std::move(player)), index_(index) {}
  bool HasEnded() override {
    const bool ended = player_->HasEnded();
    if (ended) Report(player_->EndedWithFailure() ? "failure" : "end");
    return ended;
  }
  bool EndedWithFailure() override { return player_->EndedWithFailure(); }
  void Pause() override { player_->Pause(); }
  void Resume() override { player_->Resume(); }
  void Close() override {
    const bool ended = player_->HasEnded();
    player_->Close();
    Report(ended ? (player_->EndedWithFailure() ? "failure" : "end") : "closed");
  }

 private:
  void Report(const char* reason) {
    if (reported_.exchange(true)) return;
    nlohmann::ordered_json j;
    j["event"] = "ended";
    j["index"] = index_;
    j["reason"] = reason;
    Emit(j);
  }
  std::unique_ptr<IListPlayPlayer> player_;
  const int index_;
  std::atomic<bool> reported_{false};
};

// Adds the "launch" event, the index of the item and the --max-items limit to a launcher.
class ReportingPlayers final : public IListPlayPlayers {
 public:
  ReportingPlayers(IListPlayPlayers& inner, TPLInfo& list, IWindowBridge& bridge, int maxItems, int start)
      : inner_(inner), list_(list), bridge_(bridge), maxItems_(maxItems), start_(start) {}
  void SetEngine(ListPlayEngine* engine) { engine_ = engine; }
  int ChooseSlot(const TPLMusicInfo& item, int lastSlot) override { return inner_.ChooseSlot(item, lastSlot); }
  ListPlayLaunchOutcome Launch(const ListPlayLaunch& launch, std::function<void()> onEnded) override {
    // The item that plays holds order 0, except the first, which gets its order once it
    // has started.
    int index = -1;
    bridge_.RunOnWindowThread([&] { index = DerivePositions(list_).Current; });
    if (index < 0 && launches_ == 0) index = start_;
    observedIndex_ = index;
    ListPlayLaunchOutcome outcome = inner_.Launch(launch, std::move(onEnded));
    if (maxItems_ > 0 && ++launches_ >= maxItems_ && engine_) bridge_.RunOnWindowThread([this] { engine_->ReserveEnd(); });
    if (outcome.Player) outcome.Player = std::make_unique<ReportingPlayer>(std::move(outcome.Player), index);
    return outcome;
  }
  // The inner launcher's observer: the "launch" event.
  void Observe(int slot, const std::string& file, const std::vector<std::string>& argv) {
    nlohmann::ordered_json j;
    j["event"] = "launch";
    j["index"] = observedIndex_.load();
    j["slot"] = slot;
    j["file"] = DisplayText(file);
    nlohmann::ordered_json a = nlohmann::ordered_json::array();
    for (const std::string& s : argv) a.push_back(DisplayText(s));
    j["argv"] = a;
    Emit(j);
  }

 private:
  IListPlayPlayers& inner_;
  TPLInfo& list_;
  IWindowBridge& bridge_;
  const int maxItems_;
  const int start_;
  ListPlayEngine* engine_ = nullptr;
  std::atomic<int> observedIndex_{-1};
  int launches_ = 0;  // the worker's only
};

int RunListPlay(const ListPlayArgs& args) {
  if (args.mode != 0 && args.mode != 1 && args.mode != 2 && args.mode != 10 && args.mode != 11 && args.mode != 12)
    throw UsageError{"--mode takes 0, 1, 2, 10, 11 or 12"};
  if (args.answer != "yes" && args.answer != "no") throw UsageError{"--answer takes yes or no"};
  if (args.start < 0) throw UsageError{"--start takes an index from 0"};
  const CatalogueOptions options(args.options);

  EventMessageBox box(args.answer == "yes");
  TPLInfo list;
  std::error_code ec;
  const std::string path = std::filesystem::absolute(args.list, ec).lexically_normal().string();
  if (LoadPlayListFile(list, path, ListPlayState{}, box) != LoadResult::Loaded) return kExitFailure;
  if (list.Items.empty()) {
    std::cerr << "kadrel-cli listplay: the play list has no items\n";
    return kExitFailure;
  }

  ListPlaySettings settings = LoadListPlaySettings();
  // The run unpacks into a private folder of its own, removed at the end.
  std::string runFolder;
  if (MakeFolders(settings.launcher.tempFolder)) {
    runFolder = WithTrailingSlash(settings.launcher.tempFolder) + OwnedTempName("listplay-") + "/";
    if (::mkdir(runFolder.c_str(), 0700) != 0) runFolder.clear();
  }
  if (runFolder.empty()) {
    std::cerr << "kadrel-cli listplay: no temporary folder could be made\n";
    return kExitFailure;
  }
  settings.launcher.tempFolder = runFolder;

  TUnLhaManagement turns;
  // Recomposer files and the SMF knife are converted on the preparation thread; a stop
  // kills a knife that is still running.
  std::atomic<bool> stopping{false};
  ConvertForPlayHooks conversionHooks;
  conversionHooks.stopRequested = [&stopping] { return stopping.load(); };
  ReportingPlayers* reporting = nullptr;
  ListPlayAssembly assembly;
  assembly.launcher = settings.launcher;
  assembly.lzhMeltStyle = settings.lzhMeltStyle;
  assembly.dryRun = args.dryRun;
  assembly.convert = MakeListPlayConversion(ConversionSettings(settings), box, conversionHooks);
  assembly.observer = [&reporting](int slot, const std::string& file, const std::vector<std::string>& argv) {
    if (reporting) reporting->Observe(slot, file, argv);
  };
  ListPlayParts parts = MakeListPlayParts(assembly, turns);
  CommandLoop loop;
  ReportingPlayers players(*parts.players, list, loop, args.maxItems, args.start);
  reporting = &players;

  ListPlayEngine engine({list, loop, box, players, *parts.preparation, *parts.clock, [&loop] { loop.Finish(); }});
  players.SetEngine(&engine);
  const unsigned seed = args.seed ? *args.seed : std::random_device{}();
  if (!engine.Start(args.start, args.mode, seed)) return kExitFailure;
  {
    ControlReader reader([&](const std::string& line) { loop.Post([&engine, line] { Control(engine, line); }); });
    loop.Run();
  }
  stopping = true;
  engine.Stop();
  engine.Join();
  Emit({{"event", "end"}});
  std::filesystem::remove_all(runFolder, ec);
  return kExitOk;
}

}  // namespace

void AddListPlayCommand(CLI::App& app, CommandRunner& run) {
  CLI::App* cmd = app.add_subcommand("listplay", "Play a play-list file continuously; control lines on standard input");
  auto args = std::make_shared<ListPlayArgs>();
  cmd->add_option("--mode", args->mode, "0 normal, 1 random, 2 shuffle; 10 added: end when every item was played");
  cmd->add_option("--start", args->start, "The index of the first item (from 0)");
  cmd->add_option("--seed", args->seed, "A seed that makes random and shuffle orders reproducible");
  cmd->add_option("--max-items", args->maxItems, "End after this many items were started");
  cmd->add_option("--answer", args->answer, "The answer to every question: yes or no (default)");
  cmd->add_flag("--dry-run", args->dryRun, "Start no player: each item ends as soon as it was started");
  AddOptionFlag(*cmd, args->options);
  cmd->add_option("LIST", args->list, "A play-list file")->required();
  cmd->footer(
      "Control lines: next, back, replay, pause, resume, playnow I, setnext I, reserve-end, stop.\n"
      "Events, one JSON object a line: launch, ended, message, end.");
  cmd->callback([&run, args] { run = [args] { return RunListPlay(*args); }; });
}

}  // namespace kadrel::cli
