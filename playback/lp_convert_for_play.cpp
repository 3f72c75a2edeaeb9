#include "playback/lp_convert_for_play.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "archive/lzh_names.h"
#include "base/atomic_file.h"
#include "base/encoding.h"
#include "base/path_helpers.h"
#include "base/text_helpers.h"
#include "catalog/format_table.h"
#include "formats/rcpcv/recomposer_converter.h"
#include "playback/lp_sound_module.h"
#include "playback/player_command.h"
#include "playback/slot_choice.h"
#include "settings/platform_folders.h"

namespace kadrel {
namespace {

constexpr int kKnifeDone = -1;
constexpr int kKnifeUnexpected = 0;
constexpr int kKnifeReadFailed = 2;
constexpr int kKnifeOutputFailed = 3;
constexpr int kKnifeBadSmf = 4;
constexpr int kKnifeStopped = 7;
constexpr int kKnifeFailed = 8;
constexpr int kKnifeMissing = 9;
constexpr int kKnifeErrorPauseMs = 1000;
constexpr size_t kDocumentLines = 50;
constexpr uint64_t kDocumentBytes = 1u << 20;
// The prefix the source gets while the knife writes the output under its name.
constexpr std::string_view kAsideMark = "$~";

std::string BaseName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SameFolder(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return WithTrailingSlash(a) == WithTrailingSlash(b);
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Renames without ever replacing a file that is there.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the flag: a new hard link fails when the name is taken.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

bool StartsWithSmfHeader(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char bytes[4];
  const ssize_t n = ::read(fd, bytes, sizeof bytes);
  ::close(fd);
  return n == 4 && std::string_view(bytes, 4) == "MThd";
}

// A fresh, empty file in `folder` for the knife's output; empty on failure. The name
// holds no blanks, so that wine passes "/f" + the path through unchanged.
std::string MakeKnifeOutput(const std::string& folder) {
  std::string name = folder + std::string(kAsideMark) + "knife-XXXXXX.MID";
  const int fd = ::mkstemps(name.data(), 4);
  if (fd < 0) return {};
  ::close(fd);
  return name;
}

}  // namespace

std::string KnifeResultText(int result) {
  static const char* const kTexts[] = {
      "正しく変換できないTypeのSMFです.",
      "正常終了",
      "予期せぬエラーが発生しました(0)",
      "CFGの読み込みに失敗しました.",
      "SMFの読み込みに失敗しました.",
      "出力したSMFが開けません.",
      "SMFが正常でありません.",
      "メモリが足りません.",
      "CFGが出力できません.",
      "ユーザーにより中断されました.",
      "予期せぬエラーが発生しました(8)",
      "SMFナイフのEXEが存在しません.",
  };
  if (result < -2 || result > 9) return "予期せぬエラーが発生しました(" + std::to_string(result) + ")";
  return kTexts[result + 2];
}

std::string FindKnifeProgram(const std::string& exePath) {
  if (exePath.empty()) return {};
  if (exePath.find('/') != std::string::npos) return IsRegularFile(exePath) ? exePath : std::string();
  const char* path = std::getenv("PATH");
  return FindProgramOnPath(path ? path : "", {exePath});
}

ConvertForPlay::ConvertForPlay(ConvertForPlaySettings settings, IMessageBox& messages, ConvertForPlayHooks hooks)
    : settings_(std::move(settings)), messages_(messages), hooks_(std::move(hooks)) {}

void ConvertForPlay::Status(int field, const std::string& text) const {
  if (hooks_.status) hooks_.status(field, text);
}

std::string ConvertForPlay::ConfigPath(const TSmfkItem& module) const {
  if (module.Cfg.find('/') != std::string::npos || settings_.smfk.CfgDir.empty()) return module.Cfg;
  return WithTrailingSlash(settings_.smfk.CfgDir) + module.Cfg;
}

int ConvertForPlay::ChooseModule(const TMusicFileInfo& item, const std::string& outputFolder) const {
  std::vector<std::string> lines;
  std::string stem;
  if (!item.DocFile.empty()) {
    // A document with a folder part lies where it was found; a bare name was taken out
    // of the archive with the item, under the name extraction gives it.
    const std::string path = item.DocFile.find('/') != std::string::npos
                                 ? item.DocFile
                                 : outputFolder + ExtractedFileName(item.DocFile);
    std::string text;
    if (ReadFileUpTo(path, kDocumentBytes, text) == FileRead::Ok) lines = FirstLines(text, kDocumentLines);
    stem = NameWithoutExtension(BaseName(item.DocFile));
  }
  return ChooseSoundModuleForItem(item, lines, stem, settings_.smfk);
}

bool ConvertForPlay::RunRcpcv(const TMusicFileInfo& item, const std::string& source, const std::string& output) {
  Status(0, "RCPCVによるコンバート中..");
  bool ok = IsRegularFile(source);
  if (ok) {
    const RcpConvertResult converted = ConvertRecomposerFile(source);
    // Written beside the output and renamed over it: a player never sees half a file.
    ok = converted.error == RcpConvertError::kNone && ReplaceFileAtomically(output, converted.smf);
  }
  if (!ok) {
    messages_.Beep(BeepKind::Warning);
    messages_.Error(DisplayText(item.FullName()) + " のSMFへのコンバートに失敗しました.");
  }
  return ok;
}

std::vector<std::string> ConvertForPlay::KnifeArguments(const std::string& program, const std::string& source,
                                                        const std::string& config,
                                                        const std::string& output) const {
  if (IsWindowsProgram(program))
    return {settings_.wine,          program, "/auto", WindowsPathOf(source), WindowsPathOf(config),
            "/f" + WindowsPathOf(output)};
  return {program, "/auto", source, config, "/f" + output};
}

int ConvertForPlay::RunKnifeProgram(const std::string& source, const std::string& config,
                                    const std::string& output) {
  const std::string program = FindKnifeProgram(settings_.smfk.ExePath);
  if (program.empty()) return kKnifeMissing;
  const KnifeRunner& run = hooks_.runKnife ? hooks_.runKnife : KnifeRunner(RunKnifeProcess);
  const KnifeProcessResult ran =
      run(KnifeArguments(program, source, config, output), settings_.knifeLimit, hooks_.stopRequested);
  if (!ran.started) return ran.spawnError == ENOENT ? kKnifeMissing : kKnifeFailed;
  if (ran.stopped) return kKnifeStopped;
  // An output file alone is no success: the program must end well and leave a
  // Standard MIDI file.
  if (!ran.exited || ran.exitCode != 0) return kKnifeFailed;
  if (!IsRegularFile(output)) return kKnifeFailed;
  return StartsWithSmfHeader(output) ? kKnifeDone : kKnifeBadSmf;
}

int ConvertForPlay::RunKnife(const std::string& source, const std::string& outputFolder, const std::string& config) {
  if (settings_.smfk.Use == 1) {
    // There is no knife library on this system: its calls fail as a missing library's do.
    messages_.Error("SmfkConvert: SMFK32.DLL の読み込みに失敗しました.");
    return kKnifeUnexpected;
  }
  const std::string name = BaseName(source);
  const std::string output = outputFolder + name;
  // A source in the output folder steps aside, so that the output can take its name.
  const bool inPlace = SameFolder(FolderOfPath(source), outputFolder);
  std::string from = source;
  if (inPlace) {
    from = outputFolder + std::string(kAsideMark) + name;
    if (!RenameNoReplace(source, from)) return kKnifeReadFailed;
  }
  const auto restore = [&] {
    if (inPlace) RenameNoReplace(from, source);
  };

  const std::string written = MakeKnifeOutput(outputFolder);
  if (written.empty()) {
    restore();
    return kKnifeOutputFailed;
  }
  int result = RunKnifeProgram(from, config, written);
  if (result == kKnifeDone && ::rename(written.c_str(), output.c_str()) != 0) result = kKnifeOutputFailed;
  if (result != kKnifeDone) {
    ::unlink(written.c_str());
    restore();
    return result;
  }
  if (inPlace) ::unlink(from.c_str());
  return result;
}

ConversionResult ConvertForPlay::Convert(const ConversionRequest& request) {
  std::string source = request.source;
  const TMusicFileInfo* item = request.item;
  const int row = item ? item->FileType : -1;
  ConversionResult result;
  result.file = source;
  if (row < kRowMID || row > kRowG36) return result;

  bool rcpcv = SlotAllowsFile(settings_.playerSlots, source, request.slot) == kSlotPlaysAfterRcpcv;
  const bool recomposer = row >= kRowRCP && row <= kRowG36;

  int module = -1;
  const TPlayer_data* slot = request.slot >= 1 && request.slot <= kPlayerSlots
                                 ? &settings_.playerSlots[static_cast<size_t>(request.slot - 1)]
                                 : nullptr;
  if (slot && slot->SmfKnife && settings_.smfk.Use != 0) {
    module = ChooseModule(*item, request.outputFolder);
    if (module >= 0) result.module = settings_.smfk.Items[static_cast<size_t>(module)].Name;
  }
  const bool knife = module >= 0 && !settings_.smfk.Items[static_cast<size_t>(module)].Cfg.empty();
  if (knife && recomposer) rcpcv = true;
  if (recomposer && !rcpcv) return result;  // the player takes the Recomposer file itself

  if (rcpcv) {
    const std::string output = request.outputFolder + NameWithoutExtension(BaseName(source)) + ".MID";
    if (!request.dryRun && !RunRcpcv(*item, source, output)) return {};
    source = output;
    result.file = source;
    result.conversion = PlayConversion::Rcpcv;
  }
  if (!knife || Stopping()) return result;

  const TSmfkItem& chosen = settings_.smfk.Items[static_cast<size_t>(module)];
  const std::string converted = request.outputFolder + BaseName(source);
  const PlayConversion withKnife = rcpcv ? PlayConversion::RcpcvKnife : PlayConversion::Knife;
  if (request.dryRun) {
    result.file = converted;
    result.conversion = withKnife;
    return result;
  }
  Status(0, "SMFナイフによるコンバート中..");
  Status(1, "対象音源 : " + DisplayText(chosen.Name));
  const int knifeResult = RunKnife(source, request.outputFolder, ConfigPath(chosen));
  result.knifeResult = knifeResult;
  if (knifeResult < 0) {
    result.file = converted;
    result.conversion = withKnife;
    return result;
  }
  messages_.Beep(BeepKind::Warning);
  Status(0, "SMFナイフの変換でエラーが発生 ..");
  Status(1, KnifeResultText(knifeResult));
  if (!Stopping()) {
    if (hooks_.pause) hooks_.pause(kKnifeErrorPauseMs);
    else std::this_thread::sleep_for(std::chrono::milliseconds(kKnifeErrorPauseMs));
  }
  return result;  // played unconverted by the knife
}

LpConvertForPlay MakeListPlayConversion(ConvertForPlaySettings settings, IMessageBox& messages,
                                        ConvertForPlayHooks hooks,
                                        std::function<void(const ConversionResult&)> observe) {
  // One converter per call, so that each sees the stop request of its own preparation.
  auto shared = std::make_shared<std::pair<ConvertForPlaySettings, ConvertForPlayHooks>>(std::move(settings),
                                                                                          std::move(hooks));
  return [shared, &messages, observe = std::move(observe)](const TPLMusicInfo& item, int slot,
                                                          const std::string& source, const std::string& outputFolder,
                                                          const std::function<bool()>& stopRequested) {
    ConvertForPlayHooks hooks = shared->second;
    hooks.stopRequested = [outer = shared->second.stopRequested, &stopRequested] {
      return (outer && outer()) || (stopRequested && stopRequested());
    };
    ConvertForPlay converter(shared->first, messages, std::move(hooks));
    ConversionResult result = converter.Convert({&item.Music, slot, source, outputFolder, false});
    if (observe) observe(result);
    return result.file;
  };
}

}  // namespace kadrel
