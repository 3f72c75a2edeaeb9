// kadrel-cli: the catalogue for scripts.

#include <clocale>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "cli/cli_common.h"

namespace {

constexpr const char* kUsage =
    "usage: kadrel-cli COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  info [--option NAME=VALUE]... FILE...      print the record of each file (JSON Lines)\n"
    "  list [--json] [--sort KEY[:desc]] [--no-index] [--option NAME=VALUE]... FOLDER\n"
    "                                             list a folder as the window does\n"
    "  archive list ARCHIVE [PATTERNS]            members of an LZH archive (JSON Lines)\n"
    "  archive extract ARCHIVE DEST [SPEC...]     extract members under their base names\n"
    "  archive rename ARCHIVE OLD NEW             rename members inside an archive\n"
    "  index show [FILE|--folder DIR]             blocks and records of an index file\n"
    "  index refresh --level 1|2 [FILE|--folder DIR]\n"
    "  index delete DIR                           forget a folder's index block\n"
    "  playlist show FILE.MPL...                  the items of play-list files (JSON Lines)\n"
    "  playlist convert [--force] OLD.MPL NEW.MPL write an old text list as a current one\n"
    "  convert SONG [-o OUT.MID]                  Recomposer (RCP/R36/G18/G36) to Standard MIDI\n"
    "  settings [--config-dir DIR] dump [--stored] | import FILE.reg | get KEY NAME |\n"
    "           set [--int|--str] KEY NAME VALUE  read or change the settings\n"
    "\n"
    "Settings come from the user's store (KADREL_CONFIG_DIR or $XDG_CONFIG_HOME/kadrel);\n"
    "--option NAME=VALUE changes one for this run only; integers are decimal or 0x-hex.\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace kadrel::cli;
  std::setlocale(LC_ALL, "");
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::cout << kUsage;
    return args.empty() ? kExitUsage : kExitOk;
  }
  const std::string command = args[0];
  args.erase(args.begin());

  using Runner = int (*)(std::vector<std::string>);
  static const std::map<std::string, Runner> commands = {
      {"info", RunInfo},
      {"list", RunList},
      {"archive", RunArchive},
      {"settings", RunSettings},
      {"index", RunIndex},
      {"playlist", RunPlaylist},
      {"convert", RunConvert},
  };
  auto it = commands.find(command);
  if (it == commands.end()) {
    std::cerr << "kadrel-cli: unknown command " << command << "\n" << kUsage;
    return kExitUsage;
  }
  try {
    return it->second(std::move(args));
  } catch (const UsageError& e) {
    std::cerr << "kadrel-cli " << command << ": " << e.message << "\n";
    return kExitUsage;
  } catch (const std::exception& e) {
    std::cerr << "kadrel-cli " << command << ": " << e.what() << "\n";
    return kExitFailure;
  }
}
