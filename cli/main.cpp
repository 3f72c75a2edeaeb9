// kadrel-cli: the catalogue for scripts.
//
// Exit codes: 0 done, 1 the work failed, 2 the command line is wrong (the message and
// the usage of the command go to standard error).

#include <CLI/CLI.hpp>

#include <clocale>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/heap_settings.h"
#include "cli/cli_common.h"

namespace {

using namespace kadrel::cli;

constexpr const char* kFooter =
    "Run 'kadrel-cli COMMAND --help' for the arguments of a command.\n"
    "Settings come from the user's store (KADREL_CONFIG_DIR or $XDG_CONFIG_HOME/kadrel);\n"
    "--option NAME=VALUE changes one for this run only; integers are decimal or 0x-hex.";

// "kadrel-cli archive extract": the tool and the sub-commands that were parsed.
std::string CommandPath(const CLI::App& app) {
  std::string path = app.get_name();
  for (const CLI::App* a = &app; !a->get_subcommands().empty();) {
    a = a->get_subcommands().front();
    path += " " + a->get_name();
  }
  return path;
}

// A parse fault: the message, then the usage of the command that was being parsed
// (App::help() follows the parsed sub-commands).
std::string UsageFault(const CLI::App* app, const CLI::Error& e) {
  std::string message = e.what();
  // Where a sub-command was required, CLI11 reports it missing before the word that
  // was left over in its place; name that word instead.
  const CLI::App* last = app;
  while (!last->get_subcommands().empty()) last = last->get_subcommands().front();
  if (!last->get_subcommands({}).empty() && !last->remaining().empty()) {
    const std::string word = last->remaining().front();
    message = (word[0] == '-' ? "unknown option " : "unknown command ") + word;
  }
  return CommandPath(*app) + ": " + message + "\n\n" + app->help();
}

// "help [COMMAND [SUB-COMMAND]]": the usage of the tool or of one of its commands.
void AddHelpCommand(CLI::App& app, CommandRunner& run) {
  CLI::App* help = app.add_subcommand("help", "Print this usage, or the usage of COMMAND");
  auto words = std::make_shared<std::vector<std::string>>();
  help->add_option("COMMAND", *words, "A command, then a sub-command of it");
  help->callback([&app, &run, words] {
    run = [&app, words] {
      app.clear();  // or help() would describe the parsed "help" command
      const CLI::App* target = &app;
      std::string parent;
      for (const std::string& word : *words) {
        try {
          parent += (parent.empty() ? "" : " ") + target->get_name();
          target = target->get_subcommand(word);
        } catch (const CLI::OptionNotFound&) {
          std::cerr << "kadrel-cli help: unknown command " << word << "\n\n" << app.help();
          return kExitUsage;
        }
      }
      std::cout << target->help(parent);
      return kExitOk;
    };
  });
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  kadrel::KeepFreedHeapForReuse();
  CLI::App app("The catalogue of old Japanese PC music collections, for scripts.", "kadrel-cli");
  app.set_version_flag("--version", std::string("kadrel-cli ") + KADREL_VERSION);
  app.require_subcommand(1);
  app.failure_message(UsageFault);

  CommandRunner run;
  AddInfoCommand(app, run);
  AddListCommand(app, run);
  AddArchiveCommand(app, run);
  AddIndexCommand(app, run);
  AddPlaylistCommand(app, run);
  AddConvertCommand(app, run);
  AddSettingsCommand(app, run);
  AddKeysCommand(app, run);
  AddPlayCommand(app, run);
  AddRenameCommand(app, run);
  AddSearchCommand(app, run);
  AddListPlayCommand(app, run);
  AddPrepareCommand(app, run);
  AddHelpCommand(app, run);
  app.footer(kFooter);  // after the sub-commands, which would inherit it

  if (argc < 2) {
    std::cout << app.help();
    return kExitUsage;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Help and version exit with 0; every other parse error is a usage fault.
    return app.exit(e) == 0 ? kExitOk : kExitUsage;
  }
  try {
    return run();
  } catch (const UsageError& e) {
    std::cerr << CommandPath(app) << ": " << e.message << "\n\n" << app.help();
    return kExitUsage;
  } catch (const std::exception& e) {
    std::cerr << CommandPath(app) << ": " << e.what() << "\n";
    return kExitFailure;
  }
}
