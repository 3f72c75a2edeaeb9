// kadrel-cli index (not yet available in this build).

#include <iostream>

#include "cli/cli_common.h"

namespace kadrel::cli {

int RunIndex(std::vector<std::string>) {
  std::cerr << "kadrel-cli: the index command is not available yet\n";
  return kExitFailure;
}

}  // namespace kadrel::cli
