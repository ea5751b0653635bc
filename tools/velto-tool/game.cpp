// velto-tool game: checks a whole game folder before it is played or
// shipped: every source, table, list and scenario, and every file they name.
#include <cstdio>
#include <string>

#include "Command.h"
#include "gen/GameCheck.h"

namespace {

int GameMain(const tool::Args& args);

VELTO_TOOL_COMMAND("game", "check a game folder: sources, tables, scenarios and the files they name",
                   "usage: velto-tool game check [--quick] DIR\n"
                   "\n"
                   "Opens the six sources of DIR as the game does, reads the screens' setup\n"
                   "tables, the gallery and scene lists and every scenario, and checks that\n"
                   "each picture, hit map, sound, movie and scenario they name exists and can\n"
                   "be read, that control frames lie in their parts pictures and that hit\n"
                   "values are regions of their hit maps. One line per problem; exit status 1\n"
                   "when there is any.\n"
                   "\n"
                   "--quick  only what the game needs to start: the sources, TITLE and START\n",
                   &GameMain);

int GameMain(const tool::Args& args) {
  if (args.empty() || args[0] != "check") return tool::Usage("game");
  bool quick = false;
  std::string dir;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--quick") quick = true;
    else if (dir.empty() && !args[i].empty() && args[i][0] != '-') dir = args[i];
    else return tool::Usage("game");
  }
  if (dir.empty()) return tool::Usage("game");
  gen::CGameChecker checker;
  if (checker.Open(dir)) {
    if (quick) checker.CheckStart();
    else checker.CheckAll();
  }
  for (const auto& p : checker.Problems()) printf("%s\n", p.c_str());
  if (!checker.Problems().empty()) return 1;
  printf("%s: %zu files checked, no problems\n", dir.c_str(), checker.CheckedFiles());
  return 0;
}

}  // namespace
