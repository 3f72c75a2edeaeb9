// kadrel-cli playlist (not yet available in this build).

#include <iostream>

#include "cli/cli_common.h"

namespace kadrel::cli {

int RunPlaylist(std::vector<std::string>) {
  std::cerr << "kadrel-cli: the playlist command is not available yet\n";
  return kExitFailure;
}

}  // namespace kadrel::cli
