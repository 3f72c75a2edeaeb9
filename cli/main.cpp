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
    "  info [--option NAME=VALUE]... FILE...   print the record of each file (JSON Lines)\n"
    "\n"
    "Settings given with --option apply to this run only; integers are decimal or 0x-hex.\n";

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
