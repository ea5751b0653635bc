// Runs a shell command for a test and collects what it prints.
#pragma once
#include <sys/wait.h>

#include <cstdio>
#include <string>

// Returns the command's exit status (-1 when it did not exit normally) and
// its standard output in `out` (redirect standard error in `command` to get
// that too).
inline int RunCommand(const std::string& command, std::string* out = nullptr) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) text.append(buf, n);
  int status = pclose(pipe);
  if (out) *out = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
