// The game program with a first screen standing in for the title: it plays
// its music and opens the extras screen through the screen factory. The
// extras screen is the real one, watched from outside: whenever its state
// changes a line tells it. Its own options come first, then the program's:
//   omake_game [--bgm NAME] [--bgm-silent] [--at FRAME] [--test-snr FRAMES]
//              [--real-snr] [--unlock-cg G,E,V]... [--unlock-scene G,E]...
//              -- OPTIONS
// (--unlock-* set unlock flags before the screen opens, as having seen a
// picture or a scene in a story does.)
// Lines printed:
//   opened FRAME | no extras screen
//   omake FRAME mode=M char=C page=P/N sums=S bgm=I/K play=0|1 ctl=...
//     (ctl: one letter per ID 0..65: - none, h hidden, d disabled, e enabled)
//   music FRAME NAME play=0|1          (the music player changed)
//   snr FRAME scenario=NAME bgm=NAME replay=0|1 parent=omake|other
//       vars=V0,V1,V2 pictures=NAME,...  (a scenario screen was shown)
//       [saves=QSAVE,QLOAD,SAVE,LOAD as e|d, the real screen's window]
//   snrgone FRAME                        (the real scenario screen ended)
//   returned FRAME                       (the stand-in title is current again)
// With --test-snr the scenario screen is a small stand-in that ends after
// FRAMES frames as a replay does: it returns one level, restarting the
// music it was handed unless that plays. With --real-snr the program's own
// scenario screen plays the viewer and the scenes, watched from outside.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "app/Entry.h"
#include "app/MainWindowImpl.h"
#include "app/StartScreen.h"
#include "app/flow/RootFlow.h"
#include "app/flow/ScreenBlocks.h"
#include "app/flow/ScreenFactory.h"
#include "assets/DIBSprite.h"
#include "audio/BGMBuffer.h"
#include "save/SaveData.h"
#include "scenario/interp/DIBSnrScreen.h"
#include "scene/DIBOverlap.h"
#include "screens/DIBOmakeScreen.h"
#include "screens/ScreenHelpers.h"
#include "text/MesWnd.h"
#include "ui/DIBBaseCtrl.h"
#include "ui/EffectParam.h"

namespace {

std::string gBgm;
bool gBgmSilent = false;
long long gOpenAt = 20;
int gSnrFrames = -1;
bool gRealSnr = false;
std::vector<std::vector<int>> gUnlockCG, gUnlockScene;

std::vector<int> Numbers(const char* text) {
  std::vector<int> out;
  for (const char* p = text; *p;) {
    out.push_back(atoi(p));
    while (*p && *p != ',') ++p;
    if (*p) ++p;
  }
  return out;
}

long long Frame() { return static_cast<CMainWindowImpl*>(gpMainWindow)->FramesRun(); }

void WatchMusic() {
  static std::string last = "?";
  CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer;
  if (!bgm) return;
  std::string now = std::string(bgm->mszName[0] ? bgm->mszName : "-") + " play=" + (bgm->mbPlay ? "1" : "0");
  if (now == last) return;
  last = now;
  printf("music %lld %s\n", Frame(), now.c_str());
}

class CProbeOmake : public CDIBOmakeScreen {
 public:
  using CDIBOmakeScreen::CDIBOmakeScreen;
  void Move() override {
    CDIBOmakeScreen::Move();
    WatchMusic();
    std::string ctl;
    for (int id = 0; id < OMAKE_CONTROLS; ++id) {
      CDIBBaseCtrl* c = GetCtrl(id);
      ctl += !c ? '-' : !c->IsShow() ? 'h' : c->IsEnable() ? 'e' : 'd';
    }
    char line[512];
    snprintf(line, sizeof line, "mode=%d char=%d page=%d/%d sums=%d bgm=%d/%d play=%d ctl=%s", GetMode(), GetChar(),
             GetPage(), GetPageCount(), GetSumCount(), GetBGMNo(), GetBGMCount(), IsBGMPlay() ? 1 : 0, ctl.c_str());
    if (mLast == line) return;
    mLast = line;
    printf("omake %lld %s\n", Frame(), line);
  }
  static CDIBBaseScreen* Make(CBaseGame* parent, const void* block) {
    if (!IsSetupLoaded()) SetupStatic();
    auto* screen = new CProbeOmake(parent);
    if (screen->Initialize(static_cast<const OmakeStartBlock*>(block))) return screen;
    delete screen;
    return nullptr;
  }

 private:
  std::string mLast;
};

// Tells what a scenario screen was started with and what the opener
// prepared for it.
void PrintShown(const SnrStartBlock& block, CBaseGame* parent, const std::string& more) {
  CSaveData* save = gpMainWindow->mpSaveData;
  std::string pictures;
  for (CDIBSprite* p : save->mpPicture)
    if (p) pictures += std::string(pictures.empty() ? "" : ",") + p->GetName();
  printf("snr %lld scenario=%s bgm=%s replay=%d parent=%s vars=%d,%d,%d pictures=%s%s\n", Frame(), block.szScenario,
         block.szReturnBGM[0] ? block.szReturnBGM : "-", save->mbReplay ? 1 : 0,
         dynamic_cast<CDIBOmakeScreen*>(parent) ? "omake" : "other", save->mVariable[0], save->mVariable[1],
         save->mVariable[2], pictures.empty() ? "-" : pictures.c_str(), more.c_str());
}

// Stands in for the scenario screen: tells what it was started with and
// what the opener prepared for it, then ends as a replay ends.
class CTestSnrScreen : public CDIBBaseScreen {
 public:
  CTestSnrScreen(CBaseGame* parent, const SnrStartBlock& block) : CDIBBaseScreen(parent), mBlock(block) {
    Initialize();
    mpBackImage->FillFull(0xFF602020u);
  }
  void Move() override {
    CDIBBaseScreen::Move();
    WatchMusic();
    if (mFrames++ == 0) PrintShown(mBlock, GetParent(), "");
    if (mFrames != gSnrFrames) return;
    EffectParam effect;
    EffectParamWriter(&effect, EFFECT_FADE).Int(100);
    BGMChangeParam music{};
    snprintf(music.szName, sizeof music.szName, "%s", mBlock.szReturnBGM);
    CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer;
    music.dwFlags = !mBlock.szReturnBGM[0] ? BGMCHANGE_STOP
                    : bgm && bgm->CheckPlaying(mBlock.szReturnBGM) ? 0
                                                                    : BGMCHANGE_STOP | BGMCHANGE_PLAY;
    music.dwFadeIn = music.dwFadeOut = 100;
    gpMainWindow->mpRootFlow->ReturnScreen(&effect, &effect, &music, 1);
  }
  static CDIBBaseScreen* Make(CBaseGame* parent, const void* block) {
    return new CTestSnrScreen(parent, *static_cast<const SnrStartBlock*>(block));
  }

 private:
  SnrStartBlock mBlock;
  int mFrames = 0;
};

// The real scenario screen, watched: the line above when it is first
// shown, with the window's save and load buttons, and a line when it goes.
class CProbeSnr : public CDIBSnrScreen {
 public:
  using CDIBSnrScreen::CDIBSnrScreen;
  ~CProbeSnr() override { printf("snrgone %lld\n", Frame()); }
  void Move() override {
    const bool first = mFrames++ == 0;
    CDIBSnrScreen::Move();
    WatchMusic();
    if (!first) return;
    std::string saves = " saves=";
    for (int id : {MESBTN_QSAVE, MESBTN_QLOAD, MESBTN_SAVE, MESBTN_LOAD}) {
      CDIBBaseCtrl* c = GetMesWnd() ? GetMesWnd()->GetCtrl(id) : nullptr;
      saves += !c ? '-' : c->IsEnable() ? 'e' : 'd';
    }
    PrintShown(mCallParam, GetParent(), saves);
  }
  static CDIBBaseScreen* Make(CBaseGame* parent, const void* block) {
    auto* screen = new CProbeSnr(parent);
    if (screen->Initialize(static_cast<const SnrStartBlock*>(block))) return screen;
    delete screen;
    return nullptr;
  }

 private:
  int mFrames = 0;
};

class COpenerScreen : public CDIBBaseScreen {
 public:
  COpenerScreen() : CDIBBaseScreen(nullptr) {
    Initialize();
    mpBackImage->FillFull(0xFF204060u);
  }
  void Move() override {
    CDIBBaseScreen::Move();
    CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer;
    if (!mbStarted && bgm && !gBgm.empty()) {
      mbStarted = true;
      if (bgm->Read(gBgm.c_str()) && !gBgmSilent) bgm->Play(0, true);
    }
    WatchMusic();
    if (mbOpened || Frame() < gOpenAt) return;
    mbOpened = true;
    CSaveData* save = gpMainWindow->mpSaveData;
    for (const auto& u : gUnlockCG)
      if (u.size() == 3) save->mCGFlag[u[0]][u[1]][u[2]] = 1;
    for (const auto& u : gUnlockScene)
      if (u.size() == 2) save->mSceneFlag[u[0]][u[1]] = 1;
    OmakeStartBlock block{};
    snprintf(block.szReturnBGM, sizeof block.szReturnBGM, "%s", gBgm.c_str());
    // A screen that cannot be made ends the program, as in the game.
    if (!screens::OpenOver(SCREEN_OMAKE, this, &block, 100)) {
      printf("no extras screen\n");
      return;
    }
    printf("opened %lld\n", Frame());
  }
  void OnChangeScreen2nd() override {
    if (mbOpened) printf("returned %lld\n", Frame());
  }

 private:
  bool mbStarted = false;
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
    } else if (ours && a == "--bgm" && i + 1 < argc) {
      gBgm = argv[++i];
    } else if (ours && a == "--bgm-silent") {
      gBgmSilent = true;
    } else if (ours && a == "--at" && i + 1 < argc) {
      gOpenAt = atoll(argv[++i]);
    } else if (ours && a == "--unlock-cg" && i + 1 < argc) {
      gUnlockCG.push_back(Numbers(argv[++i]));
    } else if (ours && a == "--unlock-scene" && i + 1 < argc) {
      gUnlockScene.push_back(Numbers(argv[++i]));
    } else if (ours && a == "--real-snr") {
      gRealSnr = true;
    } else if (ours && a == "--test-snr" && i + 1 < argc) {
      gSnrFrames = atoi(argv[++i]);
    } else {
      rest.push_back(argv[i]);
    }
  }
  SetStartScreenFactory([]() -> CDIBBaseScreen* {
    RegisterScreen(SCREEN_OMAKE, &CProbeOmake::Make);
    if (gRealSnr) RegisterScreen(SCREEN_SNR, &CProbeSnr::Make);
    if (gSnrFrames >= 0) RegisterScreen(SCREEN_SNR, &CTestSnrScreen::Make);
    return new COpenerScreen;
  });
  return VeltoMain(static_cast<int>(rest.size()), rest.data());
}
