// kadrel-cli keys: the key table of a key definition file, the built-in default file,
// and a check that a file would be accepted.

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "cli/cli_common.h"
#include "commands/command_names.h"
#include "commands/key_file.h"

namespace kadrel::cli {
namespace {

struct KeysArgs {
  std::string file;
};

// The file read as the program reads it; prints the refusal and returns false.
bool ReadTable(const std::string& file, KeyTable& table, const char* command) {
  std::string bytes;
  const FileRead read = ReadFileUpTo(file, kKeyFileMaxBytes, bytes);
  if (read == FileRead::Unreadable) {
    std::cerr << "kadrel-cli keys " << command << ": cannot read " << file << "\n";
    return false;
  }
  const KeyFileStatus status = read == FileRead::TooLarge ? KeyFileStatus::WrongFormat : ReadKeyFile(bytes, table);
  if (status == KeyFileStatus::Ok) return true;
  std::cerr << "kadrel-cli keys " << command << ": " << file << ": " << KeyFileStatusMessage(status) << "\n";
  return false;
}

int Show(const KeysArgs& args) {
  KeyTable table;
  if (args.file.empty()) {
    ReadKeyFile(DefaultKeyFileBytes(), table);
  } else if (!ReadTable(args.file, table, "show")) {
    return kExitFailure;
  }
  const std::string& marker = UnsettableMarkerBytes();
  for (int row = 1; row < kKeyRows; ++row) {
    nlohmann::ordered_json j;
    j["row"] = row;
    j["key"] = DisplayText(table.Cell(row, 0));
    nlohmann::ordered_json cells = nlohmann::ordered_json::array();
    nlohmann::ordered_json unknown = nlohmann::ordered_json::array();
    for (int column = 1; column < kKeyColumns; ++column) {
      const std::string& cell = table.Cell(row, column);
      cells.push_back(DisplayText(cell));
      if (!cell.empty() && cell != marker && !ParseCommandName(cell)) unknown.push_back(DisplayText(cell));
    }
    j["cells"] = std::move(cells);
    if (!unknown.empty()) j["unknown"] = std::move(unknown);
    PrintJsonLine(j);
  }
  return kExitOk;
}

int WriteDefault(const KeysArgs& args) {
  std::string error;
  if (WriteDefaultKeyFile(args.file, &error)) return kExitOk;
  std::cerr << "kadrel-cli keys write-default: " << args.file << ": " << error << "\n";
  return kExitFailure;
}

int Check(const KeysArgs& args) {
  KeyTable table;
  return ReadTable(args.file, table, "check") ? kExitOk : kExitFailure;
}

}  // namespace

void AddKeysCommand(CLI::App& app, CommandRunner& run) {
  CLI::App* keys = app.add_subcommand("keys", "Key definition files");
  keys->require_subcommand(1);
  auto args = std::make_shared<KeysArgs>();

  CLI::App* show = keys->add_subcommand(
      "show", "The key table of FILE (else the built-in default) as it is bound: one JSON object per row");
  show->add_option("FILE", args->file, "A key definition file");
  show->callback([&run, args] { run = [args] { return Show(*args); }; });

  CLI::App* write = keys->add_subcommand("write-default", "Write the built-in default key file to FILE");
  write->add_option("FILE", args->file, "The file to write")->required();
  write->callback([&run, args] { run = [args] { return WriteDefault(*args); }; });

  CLI::App* check = keys->add_subcommand("check", "Exit 1, with the program's message, when FILE would be refused");
  check->add_option("FILE", args->file, "A key definition file")->required();
  check->callback([&run, args] { run = [args] { return Check(*args); }; });
}

}  // namespace kadrel::cli
