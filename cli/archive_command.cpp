// kadrel-cli archive (not yet available in this build).

#include <iostream>

#include "cli/cli_common.h"

namespace kadrel::cli {

int RunArchive(std::vector<std::string>) {
  std::cerr << "kadrel-cli: the archive command is not available yet\n";
  return kExitFailure;
}

}  // namespace kadrel::cli
