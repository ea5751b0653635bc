// The command registry of velto-tool. A command family ("arc", "mgd", …)
// registers one entry function that receives the arguments after its name.
#pragma once
#include <string>
#include <vector>

namespace tool {

using Args = std::vector<std::string>;
using EntryFn = int (*)(const Args& args);

struct Command {
  const char* name;     // "arc"
  const char* summary;  // one line for --help
  const char* usage;    // full usage text for "velto-tool NAME --help"
  EntryFn entry;
};

// Registers a command; called from static initialisers in each command file.
bool Register(const Command& command);
const std::vector<Command>& Commands();

// Prints "velto-tool: message" to standard error and returns 1.
int Fail(const std::string& message);
// Prints the usage of a command to standard error and returns 2.
int Usage(const Command& command);
int Usage(const char* name);

}  // namespace tool

#define VELTO_TOOL_CONCAT2(a, b) a##b
#define VELTO_TOOL_CONCAT(a, b) VELTO_TOOL_CONCAT2(a, b)
#define VELTO_TOOL_COMMAND(...) \
  static const bool VELTO_TOOL_CONCAT(kRegistered_, __LINE__) = ::tool::Register(::tool::Command{__VA_ARGS__})
