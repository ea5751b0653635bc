// The game program with a first screen that opens the movie screen through
// the screen factory, as the title screen and the scenario's movie command
// do. Its own options come first, then the program's:
//   movie_game [--movie NAME] [--skip] [--grab] [--bgm NAME] [--at FRAME]
//              [--music-off] -- OPTIONS
// It prints "opened FRAME" when it asks for the movie screen, "no movie
// screen" when none can be made, and "returned FRAME" when it is current
// again.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/Entry.h"
#include "app/MainWindowImpl.h"
#include "app/StartScreen.h"
#include "app/flow/RootFlow.h"
#include "app/flow/ScreenBlocks.h"
#include "app/flow/ScreenFactory.h"
#include "assets/DIBImage.h"
#include "save/SaveData.h"
#include "scene/DIBOverlap.h"
#include "screens/ScreenHelpers.h"
#include "ui/DIBBaseScreen.h"
#include "ui/EffectParam.h"

namespace {

MovieStartBlock gBlock{};
long long gOpenAt = 1;
bool gMusicOff = false;

long long Frame() { return static_cast<CMainWindowImpl*>(gpMainWindow)->FramesRun(); }

class COpenerScreen : public CDIBBaseScreen {
 public:
  COpenerScreen() : CDIBBaseScreen(nullptr) {
    Initialize();
    mpBackImage->FillFull(0xFF204060u);
    // The player's music switch, as the option screen sets it.
    if (gMusicOff) gpMainWindow->mpSaveData->mConfig.bBGM = false;
  }
  void Move() override {
    CDIBBaseScreen::Move();
    if (!mbOpened && Frame() >= gOpenAt) {
      mbOpened = true;
      // A screen that cannot be made ends the program, as in the game.
      if (!screens::OpenOver(SCREEN_MOVIE, this, &gBlock, 100)) {
        printf("no movie screen\n");
        return;
      }
      printf("opened %lld\n", Frame());
    }
  }
  void OnChangeScreen2nd() override {
    if (mbOpened) printf("returned %lld\n", Frame());
  }

 private:
  bool mbOpened = false;
};

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  std::vector<char*> rest{argv[0]};
  bool ours = true;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (ours && a == "--") {
      ours = false;
    } else if (ours && a == "--movie" && i + 1 < argc) {
      snprintf(gBlock.szMovie, sizeof gBlock.szMovie, "%s", argv[++i]);
    } else if (ours && a == "--bgm" && i + 1 < argc) {
      snprintf(gBlock.szReturnBGM, sizeof gBlock.szReturnBGM, "%s", argv[++i]);
    } else if (ours && a == "--at" && i + 1 < argc) {
      gOpenAt = atoll(argv[++i]);
    } else if (ours && a == "--skip") {
      gBlock.bSkip = true;
    } else if (ours && a == "--music-off") {
      gMusicOff = true;
    } else if (ours && a == "--grab") {
      gBlock.bGrab = true;
    } else {
      rest.push_back(argv[i]);
    }
  }
  SetStartScreenFactory([]() -> CDIBBaseScreen* { return new COpenerScreen; });
  return VeltoMain(static_cast<int>(rest.size()), rest.data());
}
