// The game program with a first screen that owns a virtual screen instead
// of the title: it composes a back page with every kind of layer setting
// and all five actions, shows it through a fade while the back camera
// flies, and answers keys as the scenario would: Z saves and reloads the
// whole state, X prepares a plain page and starts a long transition. The
// player's skip input (a click, Control) hurries what runs. Events are
// printed as "NAME FRAME", FRAME counting this screen's frames from 1.
// Pictures "BG" (800 × 600), "CHR", "ITEM" and "DROP" come from the game
// folder.
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "app/Entry.h"
#include "app/StartScreen.h"
#include "app/core/MainWindow.h"
#include "platform/KeyState.h"
#include "scene/DIBOverlap.h"
#include "scene/DIBSnrVVram.h"
#include "ui/DIBBaseScreen.h"
#include "ui/EffectParam.h"
#include "ui/Input.h"

namespace {

const KeyCheck kSaveKey[] = {{'Z', KEY_PUSH}, {0, 0}};
const KeyCheck kPlainKey[] = {{'X', KEY_PUSH}, {0, 0}};

class CLayersScreen : public CDIBBaseScreen {
 public:
  CLayersScreen() : CDIBBaseScreen(nullptr) {}

  bool Initialize() override {
    if (!CDIBBaseScreen::Initialize()) return false;
    mpVVram = std::make_unique<CDIBSnrVVram>();
    return mpVVram->Initialize();
  }

  void Move() override {
    ++mnFrame;
    if (mnFrame == 1) BuildScene();
    if (mnFrame == 2) StartTransition(EFFECT_FADE, 300);
    CInput* input = gpMainWindow->mpInput;
    if (input && input->CheckKeyTbl(kSaveKey)) SaveAndLoad();
    if (input && input->CheckKeyTbl(kPlainKey)) {
      BuildPlainPage();
      StartTransition(EFFECT_BLT, 60000);
      printf("transition %d\n", mnFrame);
    }
    const int front = mpVVram->GetFrontIndex();
    const bool flying = mpVVram->GetCamera()->IsMove() || mpVVram->GetBackCamera()->IsMove();
    mpVVram->Move(false);
    if (mpVVram->GetFrontIndex() != front) printf("swap %d\n", mnFrame);
    if (flying && !mpVVram->GetCamera()->IsMove() && !mpVVram->GetBackCamera()->IsMove())
      printf("camera %d\n", mnFrame);
  }
  void Update() override {}
  void Draw(CDIBImage* target) override { mpVVram->Draw(target); }
  void CopyImage(CDIBImage* target) override { mpVVram->Blt(target); }

 private:
  void StartTransition(int32_t effect, int32_t duration) {
    EffectParam p;
    EffectParamWriter(&p, effect).Int(duration);
    mpVVram->GetOverlap()->InitEffect(mpVVram->GetPage(), mpVVram->GetBackPage(), &p);
  }

  void BuildScene() {
    CDIBSnrLayer* bg = mpVVram->GetBackLayer(0);
    bg->SetImage("BG");
    bg->SetBlend(false);
    CDIBSnrLayer* chr = mpVVram->GetBackLayer(1);
    chr->SetImage("CHR");
    chr->SetPos(40, 300, 0);
    chr->SetColor(255, 255, 200, 180);
    chr->SetBaseSize(60, 100);

    SnrActionParam rot{};
    rot.nKind = SNRACT_2DROT;
    rot.rot.nPeriod = 600;
    rot.rot.nTurns = 2;
    SnrActionParam scroll{};
    scroll.nKind = SNRACT_SCROLL;
    scroll.scroll.nPeriod = 900;
    scroll.scroll.bLoop = 1;
    scroll.scroll.bSmooth = 1;
    scroll.scroll.nCount = 3;
    const int32_t xs[] = {600, 700, 650}, ys[] = {50, 120, 200};
    memcpy(scroll.scroll.nX, xs, sizeof xs);
    memcpy(scroll.scroll.nY, ys, sizeof ys);
    SnrActionParam raster{};
    raster.nKind = SNRACT_RASTER;
    raster.raster.nFadeIn = 300;
    raster.raster.nPeriod = 400;
    raster.raster.nAmplitude = 8;
    raster.raster.nMode = 2;
    SnrActionParam rain{};
    rain.nKind = SNRACT_RAIN;
    rain.rain.nFallTime = 1200;
    rain.rain.nCount = 60;
    rain.rain.nSway = 15;
    rain.rain.nWind = 20;
    strcpy(rain.rain.szDrop, "DROP");
    SnrActionParam fire{};
    fire.nKind = SNRACT_FIRE;
    fire.fire.nBaseHeat = 10000;
    fire.fire.nCentre = 400;
    fire.fire.nWidth = 600;
    fire.fire.nFront = 1;
    const SnrActionParam* actions[] = {&rot, &scroll, &raster, &rain, &fire};
    const char* pictures[] = {"ITEM", "ITEM", "CHR", "ITEM", "CHR"};
    const int32_t at[][2] = {{200, 80}, {0, 0}, {300, 250}, {380, 20}, {520, 380}};
    for (int i = 0; i < 5; ++i) {
      CDIBSnrAction* action = mpVVram->GetAction(10 + i);
      if (!action->Setup(actions[i])) printf("setup failed %d\n", i);
      action->Play();
      CDIBSnrLayer* layer = mpVVram->GetBackLayer(2 + i);
      layer->SetImage(pictures[i]);
      layer->SetPos(at[i][0], at[i][1], 0);
      layer->SetAction(10 + i);
    }
    mpVVram->GetBackLayer(3)->SetCameraState(true, false, 0.5f, 0.5f);
    CDIBCamera* camera = mpVVram->GetBackCamera();
    camera->ResetMove();
    camera->AddMove(400, 300, -1000, 0);
    camera->AddMove(440, 280, -950, 4);
    camera->AddMove(420, 320, -900, 8);
    camera->StartMove(3000);
  }

  // A tinted background and one character at half size, nothing moving.
  void BuildPlainPage() {
    CDIBSnrLayer* bg = mpVVram->GetBackLayer(0);
    bg->SetImage("BG");
    bg->SetBlend(false);
    bg->SetColor(255, 128, 64, 200);
    CDIBSnrLayer* chr = mpVVram->GetBackLayer(1);
    chr->SetImage("CHR");
    chr->SetPos(100, 100, 0);
    chr->SetBaseSize(60, 100);
    chr->SetBlend(false);
  }

  void SaveAndLoad() {
    std::vector<uint8_t> first(CDIBSnrVVram::kSaveSizeMax), second(CDIBSnrVVram::kSaveSizeMax);
    first.resize(static_cast<size_t>(mpVVram->Save(first.data()) - first.data()));
    const bool loaded = mpVVram->Load(first.data(), first.size()) == first.data() + first.size();
    second.resize(static_cast<size_t>(mpVVram->Save(second.data()) - second.data()));
    printf("saveload %s %d\n", loaded && first == second ? "same" : "differ", mnFrame);
  }

  std::unique_ptr<CDIBSnrVVram> mpVVram;
  int mnFrame = 0;
};

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  SetStartScreenFactory([]() -> CDIBBaseScreen* {
    auto* screen = new CLayersScreen;
    if (screen->Initialize()) return screen;
    delete screen;
    return nullptr;
  });
  return VeltoMain(argc, argv);
}
