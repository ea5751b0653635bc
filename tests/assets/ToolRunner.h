// Runs the velto-tool of this build for round trips through its commands.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>
#include <string>

#include "platform/Paths.h"

// The tool's path, "" when this build has none: under VELTO_BINARY_DIR, or
// found from this test program's place in the build tree.
inline std::string VeltoToolPath() {
  if (const char* bin = getenv("VELTO_BINARY_DIR")) {
    std::string path = std::string(bin) + "/tools/velto-tool";
    if (plat::FileExists(path)) return path;
  }
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return "";
  std::string path(self, static_cast<size_t>(n));
  // <build>/tests/assets/assets_tests
  for (int up = 0; up < 3; ++up) path = path.substr(0, path.find_last_of('/'));
  path += "/tools/velto-tool";
  return plat::FileExists(path) ? path : "";
}

// Runs the tool with `args` (already quoted); returns the exit status and
// standard output.
inline int RunTool(const std::string& args, std::string* out = nullptr) {
  std::string cmd = "'" + VeltoToolPath() + "' " + args + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return -1;
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
  int status = pclose(p);
  if (out) *out = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
