// kadrel-cli playlist: the items of a play-list file, and the conversion of an old text
// list to the current binary version.

#include <filesystem>
#include <iostream>

#include "cli/cli_common.h"
#include "base/encoding.h"
#include "base/message_box.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_io.h"

namespace kadrel::cli {
namespace {

// Messages go to stderr; every question is answered No.
class StderrMessageBox final : public IMessageBox {
 public:
  MessageAnswer Show(const MessageRequest& request) override {
    if (request.buttons == MessageButtons::Ok) {
      std::cerr << "kadrel-cli playlist: " << request.text << "\n";
      return MessageAnswer::Ok;
    }
    return MessageAnswer::No;
  }
  void Beep(BeepKind) override {}
};

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.lexically_normal().string();
}

bool ReadList(const std::string& path, PlayListContent& content) {
  const PlayListReadStatus status = ReadPlayListFile(path, content);
  if (status == PlayListReadStatus::Ok) return true;
  StderrMessageBox box;
  ReportPlayListReadFailure(status, path, box);
  return false;
}

int Show(const std::vector<std::string>& files, const CatalogueOptions& options) {
  int exitCode = kExitOk;
  for (const std::string& file : files) {
    PlayListContent content;
    if (!ReadList(AbsolutePath(file), content)) {
      exitCode = kExitFailure;
      continue;
    }
    for (size_t i = 0; i < content.Items.size(); ++i) {
      const TPLMusicInfo& item = content.Items[i];
      nlohmann::ordered_json j;
      j["index"] = i;
      j["folder"] = DisplayText(item.Folder);
      j["slot"] = item.Slot;
      j["record"] = RecordToJson(item.Music, options.view);
      PrintJsonLine(j);
    }
  }
  return exitCode;
}

int Convert(const std::string& from, const std::string& to, bool force) {
  PlayListContent content;
  const std::string source = AbsolutePath(from);
  if (!ReadList(source, content)) return kExitFailure;
  TPLInfo list;
  AppendPlayListContent(list, std::move(content), source);
  StderrMessageBox box;
  switch (SavePlayListFile(list, AbsolutePath(to), !force, box)) {
    case SaveResult::Saved: return kExitOk;
    case SaveResult::Declined: std::cerr << "kadrel-cli playlist: " << to << " exists (give --force to replace it)\n"; break;
    case SaveResult::Failed: break;
  }
  return kExitFailure;
}

}  // namespace

int RunPlaylist(std::vector<std::string> args) {
  CatalogueOptions options;
  TakeOptionArguments(args, options);
  bool force = false;
  std::vector<std::string> operands;
  for (const std::string& arg : args) {
    if (arg == "--force") force = true;
    else if (arg.size() > 1 && arg[0] == '-') throw UsageError{"unknown option " + arg};
    else operands.push_back(arg);
  }
  if (operands.empty()) throw UsageError{"usage: playlist show FILE.MPL... | playlist convert [--force] OLD.MPL NEW.MPL"};
  const std::string verb = operands.front();
  operands.erase(operands.begin());
  if (verb == "show") {
    if (operands.empty() || force) throw UsageError{"show needs at least one FILE.MPL"};
    return Show(operands, options);
  }
  if (verb == "convert") {
    if (operands.size() != 2) throw UsageError{"convert needs OLD.MPL and NEW.MPL"};
    return Convert(operands[0], operands[1], force);
  }
  throw UsageError{"unknown playlist command " + verb};
}

}  // namespace kadrel::cli
