// Runs the velto-tool of this build for round trips through its commands.
#pragma once
#include "RunCommand.h"
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>
#include <string>

#include "platform/Paths.h"

// The tool's path in this build, "" when it was not built.
inline std::string VeltoToolPath() {
  std::string path = std::string(VELTO_BINARY_DIR) + "/tools/velto-tool";
  return plat::FileExists(path) ? path : "";
}

// Runs the tool with `args` (already quoted); returns the exit status and
// standard output.
inline int RunTool(const std::string& args, std::string* out = nullptr) {
  return RunCommand("'" + VeltoToolPath() + "' " + args + " 2>/dev/null", out);
}
