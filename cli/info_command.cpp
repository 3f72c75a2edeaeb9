// kadrel-cli info: the record of each named file, as the folder scan makes it for a
// loose file (format row by extension, then the header reader).

#include <sys/stat.h>

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "cli/cli_common.h"
#include "base/dos_datetime.h"
#include "catalog/format_table.h"
#include "formats/read_header_info.h"
#include "base/text_helpers.h"

namespace kadrel::cli {
namespace {

TMusicFileInfo LooseFileRecord(const std::string& path, const CatalogueOptions& options, bool& readable) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);

  TMusicFileInfo r;
  r.ItemKind = kLooseFile;
  r.FileName = NameWithoutExtension(name);
  r.FileExt = ExtensionWithDot(name);
  r.FileType = FormatRowForFileName(name);
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    r.Size = st.st_size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(st.st_size);
    DosStamp stamp = DosStampFromUnixTime(st.st_mtime);
    r.DosDate = stamp.date;
    r.DosTime = stamp.time;
  }
  ReadHeaderInfo(folder, r, HeaderReadOptions{options.main.SMFByte});
  r.IconIndex = IconIndexFor(r.FileType, r.Info);
  readable = r.InfoState != kInfoCannotOpen;
  return r;
}

struct InfoArgs {
  std::vector<std::string> options;  // --option NAME=VALUE
  std::vector<std::string> files;
};

int RunInfo(const InfoArgs& args) {
  const CatalogueOptions options(args.options);
  int exitCode = kExitOk;
  for (const std::string& path : args.files) {
    bool readable = true;
    TMusicFileInfo r = LooseFileRecord(path, options, readable);
    PrintJsonLine(RecordToJson(r, options.view));
    if (!readable) {
      std::cerr << "kadrel-cli: " << path << ": cannot be opened\n";
      exitCode = kExitFailure;
    }
  }
  return exitCode;
}

}  // namespace

void AddInfoCommand(CLI::App& app, CommandRunner& run) {
  CLI::App* info = app.add_subcommand("info", "Print the record of each file (JSON Lines)");
  auto args = std::make_shared<InfoArgs>();
  AddOptionFlag(*info, args->options);
  info->add_option("FILE", args->files, "A music file, read as a loose file of its folder")->required();
  info->callback([&run, args] { run = [args] { return RunInfo(*args); }; });
}

}  // namespace kadrel::cli
