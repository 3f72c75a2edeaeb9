// kadrel-cli settings (not yet available in this build).

#include <iostream>

#include "cli/cli_common.h"

namespace kadrel::cli {

int RunSettings(std::vector<std::string>) {
  std::cerr << "kadrel-cli: the settings command is not available yet\n";
  return kExitFailure;
}

}  // namespace kadrel::cli
