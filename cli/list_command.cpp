// kadrel-cli list (not yet available in this build).

#include <iostream>

#include "cli/cli_common.h"

namespace kadrel::cli {

int RunList(std::vector<std::string>) {
  std::cerr << "kadrel-cli: the list command is not available yet\n";
  return kExitFailure;
}

}  // namespace kadrel::cli
