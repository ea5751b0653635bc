#include "screens/DIBOptionScreen.h"

#include <cstdio>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "app/flow/MakeScreen.h"
#include "app/flow/RootFlow.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "audio/BGMBuffer.h"
#include "audio/SEBuffer.h"
#include "audio/VoiceBuffer.h"
#include "save/SaveData.h"
#include "screens/ScreenHelpers.h"
#include "ui/DIBScrollCtrl.h"
#include "ui/Input.h"

namespace {
// The sliders' range: the volume and speed steps of the settings.
constexpr int32_t kSliderMax = 255;
constexpr int32_t kOKFade = 300;
}  // namespace

CDIBOptionScreen::CDIBOptionScreen(CBaseGame* parent) : CDIBBaseScreen(parent) {
  Trace("CDIBOptionScreen::CDIBOptionScreen");
}

CDIBOptionScreen::~CDIBOptionScreen() {
  Trace("CDIBOptionScreen::~CDIBOptionScreen");
  CDIBOptionScreen::Release();
}

CDIBBaseScreen* CDIBOptionScreen::Make(CBaseGame* parent, const void* startBlock) {
  Trace("CDIBOptionScreen::Make");
  return MakeScreen<CDIBOptionScreen, OptionStartBlock>(parent, startBlock);
}

ConfigRecord& CDIBOptionScreen::Config() {
  Trace("CDIBOptionScreen::Config");
  return gpMainWindow->mpSaveData->mConfig;
}

bool CDIBOptionScreen::Initialize(const OptionStartBlock* /*block*/) {
  Trace("CDIBOptionScreen::Initialize");
  if (!CDIBBaseScreen::Initialize()) {
    gpMainWindow->ErrorETC("CDIBOptionScreen", "CDIBBaseScreen::Initialize()");
    return false;
  }
  const OptionLayout& s = Layout();
  int slider = 0;
  for (int32_t id = 0; id < OptionLayout::kControls; ++id) {
    CtrlDef def;
    int32_t frames[5];
    for (int f = 0; f < 5; ++f) frames[f] = s.nFrame[id][f];
    screens::FillButtonDef(def, s.szParts, s.szHitMap, id, s.nHitNo[id], s.nPos[id], frames, s.nJump[id]);
    int32_t type = CTRL_BUTTON;
    if (IsSlider(id)) {
      type = CTRL_SCROLL;
      for (int f = 0; f < 10; ++f) def.nFrame[f] = s.nFrame[id][f];
      def.nScrollPos = 0;
      def.nMin = 0;
      def.nMax = kSliderMax;
      def.nDir = s.nSlider[slider][0];
      def.nMarginTop = s.nSlider[slider][1];
      def.nMarginBottom = s.nSlider[slider][2];
      ++slider;
    }
    // The test buttons make their own sound.
    if (id == OPTION_SE_TEST || id == OPTION_VOICE_TEST) def.bEnterSE = false;
    def.bCancel = id == OPTION_CANCEL;
    if (!MakeControl(type, &def)) {
      gpMainWindow->ErrorETC("CDIBOptionScreen", "MakeControl()");
      return false;
    }
  }
  mpBackPicture = screens::ReadPicture("CDIBOptionScreen", s.szBack);
  if (!mpBackPicture) return false;
  mpParts = screens::ReadPicture("CDIBOptionScreen", s.szParts);
  if (!mpParts) return false;
  const ConfigRecord& c = Config();
  ShowMode(c.bFullScreen);
  ShowChoice(OPTION_KIDOKU_SKIP, OPTION_ALL_SKIP, c.nSkipMode == 1);
  SetSliderValue(OPTION_MES_SPEED, c.nMesSpeed);
  SetSliderValue(OPTION_AUTO_SPEED, c.nAutoSpeed);
  ShowSound(OPTION_BGM_ON, {OPTION_BGM_OFF, OPTION_BGM_VOL}, c.bBGM);
  SetSliderValue(OPTION_BGM_VOL, c.nBGMVol);
  ShowSound(OPTION_SE_ON, {OPTION_SE_OFF, OPTION_SE_TEST, OPTION_SE_VOL}, c.bSE);
  SetSliderValue(OPTION_SE_VOL, c.nSEVol);
  ShowSound(OPTION_VOICE_ON, {OPTION_VOICE_OFF, OPTION_VOICE_TEST, OPTION_VOICE_VOL}, c.bVoice);
  SetSliderValue(OPTION_VOICE_VOL, c.nVoiceVol);
  for (CDIBBaseCtrl* ctrl = GetCtrlTop(); ctrl; ctrl = ctrl->GetNext()) ctrl->UpdateVertex();
  mSaved = c;
  mnTestSE = gpMainWindow->mpSEBuffer ? gpMainWindow->mpSEBuffer->Read(s.szSETest) : 0;
  if (mnTestSE < 0) mnTestSE = 0;
  UpdateBaseImage();
  CopyImage(mpDrawImage);
  gpMainWindow->ResetLossTime();
  return true;
}

void CDIBOptionScreen::Release() {
  Trace("CDIBOptionScreen::Release");
  CDIBBaseScreen::Release();
  screens::FreePicture(mpBackPicture);
  screens::FreePicture(mpParts);
  if (mnTestSE && gpMainWindow && gpMainWindow->mpSEBuffer) gpMainWindow->mpSEBuffer->Free(mnTestSE);
  mnTestSE = 0;
}

void CDIBOptionScreen::UpdateBaseImage() {
  Trace("CDIBOptionScreen::UpdateBaseImage");
  screens::ComposeOverParent(mpParent, mpBackPicture, mpBackImage);
}

void CDIBOptionScreen::SetEnable(int32_t id, bool enable) {
  Trace("CDIBOptionScreen::SetEnable");
  if (CDIBBaseCtrl* ctrl = GetCtrl(id)) ctrl->SetEnable(enable);
}

void CDIBOptionScreen::ShowChoice(int32_t onID, int32_t offID, bool on) {
  Trace("CDIBOptionScreen::ShowChoice");
  SetEnable(onID, !on);
  SetEnable(offID, on);
}

void CDIBOptionScreen::ShowMode(bool fullScreen) {
  Trace("CDIBOptionScreen::ShowMode");
  ShowChoice(OPTION_FULL, OPTION_WINDOW, fullScreen);
}

void CDIBOptionScreen::ShowSound(int32_t onID, std::initializer_list<int32_t> live, bool on) {
  Trace("CDIBOptionScreen::ShowSound");
  SetEnable(onID, !on);
  for (int32_t id : live) SetEnable(id, on);
}

int32_t CDIBOptionScreen::SliderValue(int32_t id) {
  Trace("CDIBOptionScreen::SliderValue");
  auto* slider = dynamic_cast<CDIBScrollCtrl*>(GetCtrl(id));
  return slider ? slider->GetScrollPos() : 0;
}

void CDIBOptionScreen::SetSliderValue(int32_t id, int32_t value) {
  Trace("CDIBOptionScreen::SetSliderValue");
  if (auto* slider = dynamic_cast<CDIBScrollCtrl*>(GetCtrl(id))) slider->SetScrollPos(value);
}

void CDIBOptionScreen::RequestDisplayMode(bool fullScreen) {
  Trace("CDIBOptionScreen::RequestDisplayMode");
  gpMainWindow->SetDisplayMode(fullScreen);
}

void CDIBOptionScreen::Move() {
  Trace("CDIBOptionScreen::Move");
  CDIBBaseScreen::Move();
  gpMainWindow->ChangeCursor(0);
  if (gpMainWindow->mpInput->CheckKeyTbl(KeyTblCancel)) {
    gpMainWindow->PlaySysSE(SYSSE_CANCEL);
    OnCtrlCancel();
    return;
  }
  // Alt+Return switches the mode behind the screen's back: the window
  // button is enabled exactly when the setting says full screen.
  CDIBBaseCtrl* window = GetCtrl(OPTION_WINDOW);
  ConfigRecord& c = Config();
  if (window && window->IsEnable() != c.bFullScreen) {
    c.bFullScreen = gpMainWindow->mbFullScreen;
    ShowMode(c.bFullScreen);
  }
  static void (CDIBOptionScreen::*const kHandlers[OptionLayout::kControls])() = {
      &CDIBOptionScreen::OnCtrlWndMode,  &CDIBOptionScreen::OnCtrlFullMode,  &CDIBOptionScreen::OnCtrlKidokuSkip,
      &CDIBOptionScreen::OnCtrlAllSkip,  &CDIBOptionScreen::OnCtrlMesSpeed,  &CDIBOptionScreen::OnCtrlAutoSpeed,
      &CDIBOptionScreen::OnCtrlBGMON,    &CDIBOptionScreen::OnCtrlBGMOFF,    &CDIBOptionScreen::OnCtrlBGMVol,
      &CDIBOptionScreen::OnCtrlSEON,     &CDIBOptionScreen::OnCtrlSEOFF,     &CDIBOptionScreen::OnCtrlSETest,
      &CDIBOptionScreen::OnCtrlSEVol,    &CDIBOptionScreen::OnCtrlVoiceON,   &CDIBOptionScreen::OnCtrlVoiceOff,
      &CDIBOptionScreen::OnCtrlVoiceTest, &CDIBOptionScreen::OnCtrlVoiceVol, &CDIBOptionScreen::OnCtrlOK,
      &CDIBOptionScreen::OnCtrlCancel};
  for (int32_t id = 0; id < OptionLayout::kControls; ++id) {
    CDIBBaseCtrl* ctrl = GetCtrl(id);
    if (ctrl && ctrl->IsDecide()) {
      (this->*kHandlers[id])();
      return;
    }
  }
}

void CDIBOptionScreen::OnCtrlWndMode() {
  Trace("CDIBOptionScreen::OnCtrlWndMode");
  if (gpMainWindow->mbFullScreen) RequestDisplayMode(false);
  Config().bFullScreen = false;
  ShowMode(false);
}

void CDIBOptionScreen::OnCtrlFullMode() {
  Trace("CDIBOptionScreen::OnCtrlFullMode");
  if (!gpMainWindow->mbFullScreen) RequestDisplayMode(true);
  Config().bFullScreen = true;
  ShowMode(true);
}

void CDIBOptionScreen::OnCtrlKidokuSkip() {
  Trace("CDIBOptionScreen::OnCtrlKidokuSkip");
  Config().nSkipMode = 1;
  ShowChoice(OPTION_KIDOKU_SKIP, OPTION_ALL_SKIP, true);
}

void CDIBOptionScreen::OnCtrlAllSkip() {
  Trace("CDIBOptionScreen::OnCtrlAllSkip");
  Config().nSkipMode = 0;
  ShowChoice(OPTION_KIDOKU_SKIP, OPTION_ALL_SKIP, false);
}

void CDIBOptionScreen::OnCtrlMesSpeed() {
  Trace("CDIBOptionScreen::OnCtrlMesSpeed");
  Config().nMesSpeed = SliderValue(OPTION_MES_SPEED);
}

void CDIBOptionScreen::OnCtrlAutoSpeed() {
  Trace("CDIBOptionScreen::OnCtrlAutoSpeed");
  Config().nAutoSpeed = SliderValue(OPTION_AUTO_SPEED);
}

void CDIBOptionScreen::OnCtrlBGMON() {
  Trace("CDIBOptionScreen::OnCtrlBGMON");
  Config().bBGM = true;
  ShowSound(OPTION_BGM_ON, {OPTION_BGM_OFF, OPTION_BGM_VOL}, true);
  if (CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer) bgm->SetMute(false);
}

void CDIBOptionScreen::OnCtrlBGMOFF() {
  Trace("CDIBOptionScreen::OnCtrlBGMOFF");
  Config().bBGM = false;
  ShowSound(OPTION_BGM_ON, {OPTION_BGM_OFF, OPTION_BGM_VOL}, false);
  if (CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer) bgm->SetMute(true);
}

void CDIBOptionScreen::OnCtrlBGMVol() {
  Trace("CDIBOptionScreen::OnCtrlBGMVol");
  Config().nBGMVol = SliderValue(OPTION_BGM_VOL);
  if (CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer) bgm->SetVolume(Config().nBGMVol);
}

void CDIBOptionScreen::OnCtrlSEON() {
  Trace("CDIBOptionScreen::OnCtrlSEON");
  Config().bSE = true;
  ShowSound(OPTION_SE_ON, {OPTION_SE_OFF, OPTION_SE_TEST, OPTION_SE_VOL}, true);
  if (CSEBuffer* se = gpMainWindow->mpSEBuffer) se->SetMute(false);
}

void CDIBOptionScreen::OnCtrlSEOFF() {
  Trace("CDIBOptionScreen::OnCtrlSEOFF");
  Config().bSE = false;
  ShowSound(OPTION_SE_ON, {OPTION_SE_OFF, OPTION_SE_TEST, OPTION_SE_VOL}, false);
  if (CSEBuffer* se = gpMainWindow->mpSEBuffer) se->SetMute(true);
}

void CDIBOptionScreen::OnCtrlSETest() {
  Trace("CDIBOptionScreen::OnCtrlSETest");
  if (mnTestSE && gpMainWindow->mpSEBuffer) gpMainWindow->mpSEBuffer->Play(mnTestSE, 0, false);
}

void CDIBOptionScreen::OnCtrlSEVol() {
  Trace("CDIBOptionScreen::OnCtrlSEVol");
  Config().nSEVol = SliderValue(OPTION_SE_VOL);
  if (CSEBuffer* se = gpMainWindow->mpSEBuffer) se->SetVolume(Config().nSEVol);
}

void CDIBOptionScreen::OnCtrlVoiceON() {
  Trace("CDIBOptionScreen::OnCtrlVoiceON");
  Config().bVoice = true;
  ShowSound(OPTION_VOICE_ON, {OPTION_VOICE_OFF, OPTION_VOICE_TEST, OPTION_VOICE_VOL}, true);
  if (CVoiceBuffer* voice = gpMainWindow->mpVoiceBuffer) voice->SetMute(false);
}

void CDIBOptionScreen::OnCtrlVoiceOff() {
  Trace("CDIBOptionScreen::OnCtrlVoiceOff");
  Config().bVoice = false;
  ShowSound(OPTION_VOICE_ON, {OPTION_VOICE_OFF, OPTION_VOICE_TEST, OPTION_VOICE_VOL}, false);
  if (CVoiceBuffer* voice = gpMainWindow->mpVoiceBuffer) voice->SetMute(true);
}

void CDIBOptionScreen::OnCtrlVoiceTest() {
  Trace("CDIBOptionScreen::OnCtrlVoiceTest");
  CVoiceBuffer* voice = gpMainWindow->mpVoiceBuffer;
  // Reading the test stops whatever voice is playing.
  if (voice && voice->Read(Layout().szVoiceTest, false)) voice->Play(0, false);
}

void CDIBOptionScreen::OnCtrlVoiceVol() {
  Trace("CDIBOptionScreen::OnCtrlVoiceVol");
  Config().nVoiceVol = SliderValue(OPTION_VOICE_VOL);
  if (CVoiceBuffer* voice = gpMainWindow->mpVoiceBuffer) voice->SetVolume(Config().nVoiceVol);
}

void CDIBOptionScreen::OnCtrlOK() {
  Trace("CDIBOptionScreen::OnCtrlOK");
  CRootFlow* flow = screens::Flow();
  if (!flow) return;
  EffectParam back = screens::Fade(kOKFade);
  flow->ReturnScreen(&back, nullptr, nullptr, 1);
}

void CDIBOptionScreen::OnCtrlCancel() {
  Trace("CDIBOptionScreen::OnCtrlCancel");
  ConfigRecord& c = Config();
  const ConfigRecord& old = mSaved;
  if (c.bFullScreen != old.bFullScreen) RequestDisplayMode(old.bFullScreen);
  CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer;
  CSEBuffer* se = gpMainWindow->mpSEBuffer;
  CVoiceBuffer* voice = gpMainWindow->mpVoiceBuffer;
  if (c.bBGM != old.bBGM && bgm) bgm->SetMute(!old.bBGM);
  if (c.bSE != old.bSE && se) se->SetMute(!old.bSE);
  if (c.bVoice != old.bVoice && voice) voice->SetMute(!old.bVoice);
  if (c.nBGMVol != old.nBGMVol && bgm) bgm->SetVolume(old.nBGMVol);
  if (c.nSEVol != old.nSEVol && se) se->SetVolume(old.nSEVol);
  if (c.nVoiceVol != old.nVoiceVol && voice) voice->SetVolume(old.nVoiceVol);
  c = old;
  CRootFlow* flow = screens::Flow();
  if (!flow) return;
  EffectParam back = screens::Fade(Layout().nCancelFade);
  flow->ReturnScreen(&back, nullptr, nullptr, 1);
}
