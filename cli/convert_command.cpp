// kadrel-cli convert (not yet available in this build).

#include <iostream>

#include "cli/cli_common.h"

namespace kadrel::cli {

int RunConvert(std::vector<std::string>) {
  std::cerr << "kadrel-cli: the convert command is not available yet\n";
  return kExitFailure;
}

}  // namespace kadrel::cli
