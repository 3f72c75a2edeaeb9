// kadrel-cli convert: a Recomposer sequence (RCP, R36, G18, G36) to a Standard MIDI file.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>

#include "cli/cli_common.h"
#include "base/text_helpers.h"
#include "formats/rcpcv/recomposer_converter.h"

namespace kadrel::cli {
namespace {

// Writes bytes to path through a temporary file in the same folder, so that the target
// is either the old file or the complete new one.
bool WriteAtomically(const std::string& path, std::string_view bytes, std::string& error) {
  std::string temp = path + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  size_t done = 0;
  bool ok = true;
  while (ok && done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += static_cast<size_t>(n);
  }
  ok = ok && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
  if (!ok) error = std::strerror(errno);
  if (::close(fd) != 0 && ok) {
    error = std::strerror(errno);
    ok = false;
  }
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    error = std::strerror(errno);
    ok = false;
  }
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

struct ConvertArgs {
  std::string input;
  std::string output;  // -o; empty: the song's name with .MID beside it
};

int RunConvert(const ConvertArgs& args) {
  const std::string& input = args.input;
  std::string output = args.output;
  if (output.empty()) {
    const size_t slash = input.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : input.substr(0, slash + 1);
    output = folder + NameWithoutExtension(input.substr(folder.size())) + ".MID";
  }
  if (SameFile(input, output)) {
    std::cerr << "kadrel-cli convert: " << output << ": would replace the song itself; name another with -o\n";
    return kExitFailure;
  }

  RcpConvertResult result = ConvertRecomposerFile(input);
  if (result.error != RcpConvertError::kNone) {
    std::cerr << "kadrel-cli convert: " << input << ": " << result.message << "\n";
    return kExitFailure;
  }
  for (const std::string& w : result.warnings) std::cerr << "kadrel-cli convert: warning: " << w << "\n";
  std::string error;
  if (!WriteAtomically(output, result.smf, error)) {
    std::cerr << "kadrel-cli convert: cannot write " << output << ": " << error << "\n";
    return kExitFailure;
  }
  std::cout << output << "\n";
  return kExitOk;
}

}  // namespace

void AddConvertCommand(CLI::App& app, CommandRunner& run) {
  CLI::App* convert = app.add_subcommand("convert", "Recomposer (RCP/R36/G18/G36) to Standard MIDI");
  auto args = std::make_shared<ConvertArgs>();
  convert->add_option("-o,--output", args->output, "The MIDI file to write (default: SONG's name with .MID)")
      ->type_name("OUT.MID");
  convert->add_option("SONG", args->input, "The Recomposer song")->required();
  convert->callback([&run, args] { run = [args] { return RunConvert(*args); }; });
}

}  // namespace kadrel::cli
