#include "ScreensKit.h"

#include <new>

#include "app/Runner.h"
#include "app/flow/RootFlow.h"
#include "assets/DIBDisplay.h"
#include "screens/DIBTitleScreen.h"
#include "ui/BaseGame.h"
#include "ui/DIBBaseCtrl.h"
#include "ui/Input.h"

namespace screenstest {

Seen& Log() {
  static Seen seen;
  return seen;
}

namespace {

ScreenMaker gRealSnr = nullptr;
ScreenMaker gGameSnr = nullptr;
ScreenMaker gRealConf = nullptr;

// Stands for the scenario screen: a dark screen that remembers how it was
// started.
class CStandInSnr : public CDIBBaseScreen {
 public:
  CStandInSnr() : CDIBBaseScreen(nullptr) {}
  bool Build() {
    if (!Initialize()) return false;
    mpBackImage->FillFull(0xFF101010u);
    CopyImage(mpDrawImage);
    return true;
  }
};

// Stands for the confirmation screen: the real one's two buttons and keys.
class CStandInConf : public CDIBBaseScreen {
 public:
  CStandInConf(CBaseGame* parent, const ConfStartBlock& block) : CDIBBaseScreen(parent), mBlock(block) {}
  bool Build() {
    if (!Initialize()) return false;
    for (int i = 0; i < 2; ++i) {
      CtrlDef def;
      InitCtrlDef(&def);
      strcpy(def.szParts, "CONF_P");
      strcpy(def.szHitFName, "CONF_C.BMP");
      def.nID = i;
      def.nHitNo = i;
      def.x = ConfButton(i).x;
      def.y = ConfButton(i).y;
      for (int f = 0; f < 5; ++f) def.nFrame[f] = 1 + 5 * i + f;
      for (int d = 0; d < 5; ++d) def.Jump[0][d] = -1;
      def.bCancel = i == 1;
      if (!MakeControl(CTRL_BUTTON, &def)) return false;
    }
    if (mpParent) mpParent->CopyImage(mpBackImage);
    CopyImage(mpDrawImage);
    return true;
  }
  void Move() override {
    CDIBBaseScreen::Move();
    if (gpMainWindow->mpInput->CheckKeyTbl(KeyTblCancel)) {
      mBlock.pReceiver->Reaction(mBlock.nCode, 0);
      return;
    }
    for (int i = 0; i < 2; ++i)
      if (GetCtrl(i)->IsDecide()) {
        mBlock.pReceiver->Reaction(mBlock.nCode, i == 0 ? 1 : 0);
        return;
      }
  }

 private:
  ConfStartBlock mBlock;
};

CDIBBaseScreen* MakeSnr(CBaseGame* parent, const void* block) {
  ++Log().snrMade;
  if (block) Log().snr = *static_cast<const SnrStartBlock*>(block);
  if (gRealSnr) return gRealSnr(parent, block);
  auto* screen = new CStandInSnr;
  if (!screen->Build()) {
    delete screen;
    return nullptr;
  }
  return screen;
}

CDIBBaseScreen* MakeConf(CBaseGame* parent, const void* block) {
  ++Log().confMade;
  if (!block) return nullptr;
  Log().conf = *static_cast<const ConfStartBlock*>(block);
  if (gRealConf) return gRealConf(parent, block);
  auto* screen = new CStandInConf(parent, Log().conf);
  if (!screen->Build()) {
    delete screen;
    return nullptr;
  }
  return screen;
}

}  // namespace

void ScreensFixture::SetUp() {
  AppFixture::SetUp();
  MakeScreensGame(game);
  Log() = Seen{};
  ClearScreenMakers();
  RegisterGameScreens();
  // The stand-in scenario screen stays current whatever the story: these
  // tests are about the screens around it.
  gRealSnr = nullptr;
  gGameSnr = GetScreenMaker(SCREEN_SNR);
  gRealConf = GetScreenMaker(SCREEN_CONF);
  RegisterScreen(SCREEN_SNR, &MakeSnr);
  RegisterScreen(SCREEN_CONF, &MakeConf);
  // The program's own first screen: the title.
  SetStartScreenFactory({});
}

void ScreensFixture::TearDown() {
  // A program that ended took its object with its window.
  if (!Alive()) gpMainWindow = nullptr;
  AppFixture::TearDown();
  ClearScreenMakers();
}

void ScreensFixture::Run(const std::string& script) {
  game.Write("script.input", script);
  RunOptions options;
  options.gameDir = game.path();
  options.headless = true;
  options.fixedStep = true;
  options.inputFile = game.File("script.input");
  app = new CMainWindowImpl(options);
  gpMainWindow = app;
  std::string error;
  ASSERT_TRUE(app->GetRunner()->Prepare(error)) << error;
  ASSERT_TRUE(app->Create());
  mWnd = app->GetHWnd();
  Pump();
}

void ScreensFixture::Stop() {
  if (Alive()) {
    app->mbForceClose = true;
    plat::DestroyWindow(mWnd);
  }
  Pump();
  app = nullptr;
  gpMainWindow = nullptr;
}

void ScreensFixture::UseRealScenarioScreen() { gRealSnr = gGameSnr; }

bool ScreensFixture::Alive() const { return app && plat::IsWindow(mWnd); }

long long ScreensFixture::MenuFrame() {
  // The title as a finished game shows it: the menu at once.
  SetStartScreenFactory([] {
    TitleStartBlock block{1};
    return CreateScreen(SCREEN_TITLE, nullptr, &block);
  });
  // Input is live half a second after the start.
  return 20;
}

void ScreensFixture::RunTo(long long frame) {
  // A frame is due every 30 ms of the virtual clock.
  for (int guard = 0; Frame() < frame && guard < 100000; ++guard) {
    if (!Alive()) return;
    Idle(30);
  }
}

long long ScreensFixture::Frame() const {
  return Alive() ? app->FramesRun() : 1LL << 40;
}

CDIBBaseScreen* ScreensFixture::Current() const {
  CRootFlow* flow = Alive() ? app->mpRootFlow : nullptr;
  return flow ? flow->GetScreen() : nullptr;
}

uint32_t ScreensFixture::Pixel(int x, int y) const {
  CDIBImage* image = app->mpDisplay->GetBackImage();
  return image->GetPixels()[static_cast<size_t>(y) * image->GetWidth() + x] | 0xFF000000u;
}

int ScreensFixture::FrameAt(int x, int y) const {
  const uint32_t c = Pixel(x, y);
  for (int k = 0; k < 64; ++k)
    if (FrameColor(k) == c) return k;
  return -1;
}

}  // namespace screenstest
