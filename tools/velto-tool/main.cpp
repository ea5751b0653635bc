// velto-tool: makes and inspects the data files of the game (archives,
// pictures, scenarios, sounds, hit maps, saves).
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Command.h"

namespace tool {

static std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

bool Register(const Command& command) {
  Registry().push_back(command);
  return true;
}

const std::vector<Command>& Commands() {
  auto& commands = Registry();
  std::sort(commands.begin(), commands.end(),
            [](const Command& a, const Command& b) { return strcmp(a.name, b.name) < 0; });
  return commands;
}

int Fail(const std::string& message) {
  fprintf(stderr, "velto-tool: %s\n", message.c_str());
  return 1;
}

int Usage(const Command& command) {
  fprintf(stderr, "%s", command.usage);
  return 2;
}

int Usage(const char* name) {
  for (const auto& c : Commands())
    if (strcmp(c.name, name) == 0) return Usage(c);
  return 2;
}

}  // namespace tool

static void PrintHelp(FILE* out) {
  fprintf(out,
          "usage: velto-tool COMMAND [ARGS...]\n"
          "       velto-tool COMMAND --help\n\n"
          "Makes and inspects the data files of a VELTOGAME game.\n\ncommands:\n");
  for (const auto& c : tool::Commands()) fprintf(out, "  %-10s %s\n", c.name, c.summary);
  if (tool::Commands().empty()) fprintf(out, "  (none)\n");
}

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintHelp(stderr);
    return 2;
  }
  const char* name = argv[1];
  if (!strcmp(name, "--help") || !strcmp(name, "-h") || !strcmp(name, "help")) {
    PrintHelp(stdout);
    return 0;
  }
  if (!strcmp(name, "--version")) {
    printf("velto-tool 0.1.0\n");
    return 0;
  }
  for (const auto& c : tool::Commands()) {
    if (strcmp(c.name, name) != 0) continue;
    tool::Args args(argv + 2, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
      printf("%s", c.usage);
      return 0;
    }
    return c.entry(args);
  }
  fprintf(stderr, "velto-tool: unknown command '%s'\n\n", name);
  PrintHelp(stderr);
  return 2;
}
