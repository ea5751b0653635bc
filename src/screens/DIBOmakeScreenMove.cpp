// The extras screen's frames: its buttons, the music room, and the scenario
// screens its thumbnails open.
#include <cstdio>
#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "app/flow/RootFlow.h"
#include "app/flow/ScreenFactory.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "audio/BGMBuffer.h"
#include "save/SaveData.h"
#include "screens/DIBOmakeScreen.h"
#include "screens/ScreenHelpers.h"
#include "ui/DIBBaseCtrl.h"
#include "ui/Input.h"

void CDIBOmakeScreen::Move() {
  Trace("CDIBOmakeScreen::Move");
  CDIBBaseScreen::Move();
  gpMainWindow->ChangeCursor(0);
  // The plate is drawn over the composed picture every frame.
  screens::AddDirtyQuad(mPlateVertex);
  CRootFlow* flow = screens::Flow();
  // Once a switch is under way, a second choice would start a second one.
  if (flow && flow->IsChanging()) return;
  if (gpMainWindow->mpInput->CheckKeyTbl(KeyTblCancel)) {
    gpMainWindow->PlaySysSE(SYSSE_CANCEL);
    OnCtrlCancel();
    return;
  }
  for (int32_t id = 0; id < OMAKE_CONTROLS; ++id) {
    CDIBBaseCtrl* c = GetCtrl(id);
    if (!c || !c->IsDecide()) continue;
    switch (id) {
      case OMAKE_BACK: OnCtrlCancel(); break;
      case OMAKE_BGM_PREV: OnCtrlBGMPrev(); break;
      case OMAKE_BGM_PLAY: OnCtrlBGMPlay(); break;
      case OMAKE_BGM_STOP: OnCtrlBGMStop(); break;
      case OMAKE_BGM_NEXT: OnCtrlBGMNext(); break;
      case OMAKE_MODE: OnCtrlMode(); break;
      default:
        if (id < OMAKE_CHAR)
          OnCtrlPage(id - OMAKE_PAGE);
        else if (id < OMAKE_SUM)
          OnCtrlChar(id - OMAKE_CHAR);
        else
          OnCtrlSum(id);
        break;
    }
    return;
  }
}

void CDIBOmakeScreen::OnCtrlCancel() {
  Trace("CDIBOmakeScreen::OnCtrlCancel");
  CRootFlow* flow = screens::Flow();
  if (!flow) return;
  const int32_t fade = Layout().nReturnFade;
  EffectParam back = screens::Fade(fade);
  CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer;
  if (bgm && bgm->CheckPlaying(mszReturnBGM)) {
    flow->ReturnScreen(&back, nullptr, nullptr, 1);
    return;
  }
  BGMChangeParam music = screens::Music(mszReturnBGM, BGMCHANGE_PLAY | BGMCHANGE_STOP, fade / 2, fade / 2);
  flow->ReturnScreen(&back, nullptr, &music, 1);
}

void CDIBOmakeScreen::UpdateBGMButtons() {
  Trace("CDIBOmakeScreen::UpdateBGMButtons");
  if (CDIBBaseCtrl* play = GetCtrl(OMAKE_BGM_PLAY)) play->SetEnable(!mbBGMPlay);
  if (CDIBBaseCtrl* stop = GetCtrl(OMAKE_BGM_STOP)) stop->SetEnable(mbBGMPlay);
}

void CDIBOmakeScreen::SelectBGM(int32_t index) {
  Trace("CDIBOmakeScreen::SelectBGM");
  if (mnBGMCount <= 0) return;
  mnBGMNo = (index % mnBGMCount + mnBGMCount) % mnBGMCount;
  CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer;
  if (bgm && bgm->Read(Layout().szMusic[mnBGMNo]) && mbBGMPlay) bgm->Play(0, true);
  UpdatePlate();
}

void CDIBOmakeScreen::OnCtrlBGMPrev() {
  Trace("CDIBOmakeScreen::OnCtrlBGMPrev");
  SelectBGM(mnBGMNo - 1);
}

void CDIBOmakeScreen::OnCtrlBGMNext() {
  Trace("CDIBOmakeScreen::OnCtrlBGMNext");
  SelectBGM(mnBGMNo + 1);
}

void CDIBOmakeScreen::OnCtrlBGMPlay() {
  Trace("CDIBOmakeScreen::OnCtrlBGMPlay");
  if (mnBGMCount <= 0) return;
  CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer;
  if (bgm && bgm->Read(Layout().szMusic[mnBGMNo])) bgm->Play(0, true);
  mbBGMPlay = true;
  UpdateBGMButtons();
}

void CDIBOmakeScreen::OnCtrlBGMStop() {
  Trace("CDIBOmakeScreen::OnCtrlBGMStop");
  if (CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer) bgm->Stop(0);
  mbBGMPlay = false;
  UpdateBGMButtons();
}

void CDIBOmakeScreen::OnCtrlMode() {
  Trace("CDIBOmakeScreen::OnCtrlMode");
  // A picture that cannot be read has been named in its box; the player
  // stays in the mode that works.
  const int32_t old = mnMode;
  if (!ChangeMode(old == OMAKE_MODE_CG ? OMAKE_MODE_SCENE : OMAKE_MODE_CG)) ChangeMode(old);
}

void CDIBOmakeScreen::OnCtrlPage(int32_t page) {
  Trace("CDIBOmakeScreen::OnCtrlPage");
  ChangePage(page);
}

void CDIBOmakeScreen::OnCtrlChar(int32_t character) {
  Trace("CDIBOmakeScreen::OnCtrlChar");
  if (character >= 0 && character < ModeLayout().nChars) ChangeChar(character);
}

void CDIBOmakeScreen::LoadViewerPictures(int32_t entry) {
  Trace("CDIBOmakeScreen::LoadViewerPictures");
  CSaveData* save = gpMainWindow->mpSaveData;
  for (CDIBSprite*& picture : save->mpPicture) screens::FreePicture(picture);
  const OmakeLayout& s = Layout();
  int32_t loaded = 0;
  if (mnChar < kCGGroups && entry < kCGEntries) {
    for (int32_t v = 0; v < kCGVariants && save->mCGList[mnChar][entry][v][0]; ++v) {
      // With every entry shown as unlocked, every picture of it is shown.
      if (!s.bAllOpen && !save->mCGFlag[mnChar][entry][v]) continue;
      const char* name = save->mCGList[mnChar][entry][v];
      CDIBSprite* picture = screens::ReadPicture("CDIBOmakeScreen", name);
      if (!picture) continue;
      save->mpPicture[loaded++] = picture;
    }
  }
  const int32_t values[3] = {loaded, mnChar, entry};
  for (int i = 0; i < 3; ++i)
    if (s.nViewerVar[i] >= 0 && s.nViewerVar[i] < kVariableCount) save->mVariable[s.nViewerVar[i]] = values[i];
}

void CDIBOmakeScreen::OnCtrlSum(int32_t id) {
  Trace("CDIBOmakeScreen::OnCtrlSum");
  CRootFlow* flow = screens::Flow();
  if (!flow) return;
  const OmakeLayout& s = Layout();
  const int32_t entry = id - OMAKE_SUM + ModeLayout().nSumPerPage * mnPage;
  if (entry < 0 || entry >= mnSumCount) return;
  CSaveData* save = gpMainWindow->mpSaveData;
  // Both the viewer and a replay come back here when their scenario ends,
  // and neither may be saved as a game.
  save->mbReplay = true;
  SnrStartBlock block{};
  if (mbBGMPlay && mnBGMCount > 0) snprintf(block.szReturnBGM, sizeof block.szReturnBGM, "%s", s.szMusic[mnBGMNo]);
  if (mnMode == OMAKE_MODE_CG) {
    snprintf(block.szScenario, sizeof block.szScenario, "%s", s.szViewer);
    if (!screens::OpenOver(SCREEN_SNR, this, &block, s.nViewerFade)) return;
    LoadViewerPictures(entry);
    return;
  }
  snprintf(block.szScenario, sizeof block.szScenario, "%s", save->mSceneList[mnChar][entry]);
  CDIBBaseScreen* replay = CreateScreen(SCREEN_SNR, this, &block);
  if (!replay) {
    screens::EndProgram();
    return;
  }
  EffectParam first = screens::Fade(s.nReplayFade[0]), second = screens::Fade(s.nReplayFade[1]);
  BGMChangeParam music = screens::Music("", BGMCHANGE_STOP, s.nReplayFade[1], s.nReplayFade[0]);
  flow->ChangeScreen(&first, &second, &music, replay, true);
}
