#include "screens/DIBOmakeScreen.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "app/flow/MakeScreen.h"
#include "assets/DIBDisplay.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "audio/BGMBuffer.h"
#include "save/SaveData.h"
#include "screens/ScreenHelpers.h"
#include "ui/DIBBaseCtrl.h"

CDIBOmakeScreen::CDIBOmakeScreen(CBaseGame* parent) : CDIBBaseScreen(parent) {
  Trace("CDIBOmakeScreen::CDIBOmakeScreen");
}

CDIBOmakeScreen::~CDIBOmakeScreen() {
  Trace("CDIBOmakeScreen::~CDIBOmakeScreen");
  CDIBOmakeScreen::Release();
}

CDIBBaseScreen* CDIBOmakeScreen::Make(CBaseGame* parent, const void* startBlock) {
  Trace("CDIBOmakeScreen::Make");
  return MakeScreen<CDIBOmakeScreen, OmakeStartBlock>(parent, startBlock);
}

bool CDIBOmakeScreen::Initialize(const OmakeStartBlock* block) {
  Trace("CDIBOmakeScreen::Initialize");
  if (!CDIBBaseScreen::Initialize()) {
    gpMainWindow->ErrorETC("CDIBOmakeScreen", "CDIBBaseScreen::Initialize()");
    return false;
  }
  memset(mszReturnBGM, 0, sizeof mszReturnBGM);
  if (block) memcpy(mszReturnBGM, block->szReturnBGM, sizeof mszReturnBGM - 1);
  mnMode = OMAKE_MODE_CG;
  const OmakeLayout& s = Layout();
  mpPlatePicture = screens::ReadPicture("CDIBOmakeScreen", s.szPlate);
  if (!mpPlatePicture) return false;
  mnBGMCount = MusicCount(s);

  // The room goes on with the music that is selected now when it is one of
  // the list; any other music stops.
  mnBGMNo = 0;
  mbBGMPlay = false;
  bool listed = false;
  CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer;
  for (int32_t i = 0; bgm && i < mnBGMCount && !listed; ++i) {
    if (!CBGMBuffer::CmpFName(bgm->mszName, s.szMusic[i])) continue;
    listed = true;
    mnBGMNo = i;
    // Selected but silent counts as stopped, so that play can start it.
    mbBGMPlay = bgm->CheckPlaying(s.szMusic[i]);
  }
  if (bgm && !listed) bgm->Stop(0);
  return ChangeMode(OMAKE_MODE_CG);
}

void CDIBOmakeScreen::Release() {
  Trace("CDIBOmakeScreen::Release");
  CDIBBaseScreen::Release();
  for (CDIBSprite** picture : {&mpBackPicture, &mpPartsPicture, &mpPlatePicture}) screens::FreePicture(*picture);
}

const OmakeModeLayout& CDIBOmakeScreen::ModeLayout() const {
  Trace("CDIBOmakeScreen::ModeLayout");
  return Layout().mode[mnMode];
}

void CDIBOmakeScreen::MakeError() {
  Trace("CDIBOmakeScreen::MakeError");
  gpMainWindow->ErrorETC("CDIBOmakeScreen", "MakeControl()");
}

bool CDIBOmakeScreen::MakeRoomControls() {
  Trace("CDIBOmakeScreen::MakeRoomControls");
  const OmakeModeLayout& m = ModeLayout();
  for (int32_t id = OMAKE_BACK; id < OMAKE_PAGE; ++id) {
    DeleteControl(id);
    CtrlDef def;
    screens::FillButtonDef(def, m.szParts, m.szHitMap, id, m.nHitNo[id], m.nPos[id], m.nFrame[id], m.nJump[id]);
    def.bCancel = id == OMAKE_BACK;
    if (!MakeControl(CTRL_BUTTON, &def)) {
      MakeError();
      return false;
    }
  }
  UpdateBGMButtons();
  return true;
}

bool CDIBOmakeScreen::MakeSumControls() {
  Trace("CDIBOmakeScreen::MakeSumControls");
  const OmakeModeLayout& m = ModeLayout();
  for (int32_t id = OMAKE_PAGE; id < OMAKE_CONTROLS; ++id) DeleteControl(id);
  auto make = [&](int32_t id) {
    CtrlDef def;
    screens::FillButtonDef(def, m.szParts, m.szHitMap, id, m.nHitNo[id], m.nPos[id], m.nFrame[id], m.nJump[id]);
    if (MakeControl(CTRL_BUTTON, &def)) return true;
    MakeError();
    return false;
  };
  for (int32_t p = 0; p < OmakeModeLayout::kMaxPages; ++p)
    if (!make(OMAKE_PAGE + p)) return false;
  for (int32_t c = 0; c < m.nChars; ++c)
    if (!make(OMAKE_CHAR + c)) return false;
  // Thumbnails take their page's picture when the page is shown.
  for (int32_t k = 0; k < m.nSumPerPage; ++k)
    if (!make(OMAKE_SUM + k)) return false;
  return true;
}

bool CDIBOmakeScreen::ChangeMode(int32_t mode) {
  Trace("CDIBOmakeScreen::ChangeMode");
  mnMode = mode == OMAKE_MODE_SCENE ? OMAKE_MODE_SCENE : OMAKE_MODE_CG;
  const OmakeModeLayout& m = ModeLayout();
  for (CDIBSprite** picture : {&mpBackPicture, &mpPartsPicture}) screens::FreePicture(*picture);
  for (auto [picture, name] : {std::pair{&mpBackPicture, m.szBack}, std::pair{&mpPartsPicture, m.szParts}}) {
    *picture = screens::ReadPicture("CDIBOmakeScreen", name);
    if (!*picture) return false;
  }
  // The room's own buttons take the mode's layout too: the mode switch
  // shows which mode it leads to.
  const bool modeFocused = GetCtrl(OMAKE_MODE) && GetCtrl(OMAKE_MODE)->IsForcus();
  if (!MakeRoomControls() || !MakeSumControls()) return false;
  if (modeFocused) SetForcusReq(OMAKE_MODE);
  const bool shown = ChangeChar(0);
  for (CDIBBaseCtrl* c = GetCtrlTop(); c; c = c->GetNext()) c->UpdateVertex();
  UpdatePlate();
  UpdateBaseImage();
  CDIBBaseScreen::CopyImage(mpDrawImage);
  if (CDIBDisplay* display = gpMainWindow->mpDisplay) display->InvalidateAll();
  gpMainWindow->ResetLossTime();
  return shown;
}

int32_t CDIBOmakeScreen::EntryCount(int32_t c) const {
  Trace("CDIBOmakeScreen::EntryCount");
  const CSaveData* save = gpMainWindow->mpSaveData;
  if (mnMode == OMAKE_MODE_CG) return c >= 0 && c < kCGGroups ? save->mCGCount[c] : 0;
  return c >= 0 && c < kSceneGroups ? save->mSceneCount[c] : 0;
}

bool CDIBOmakeScreen::IsUnlocked(int32_t c, int32_t entry) const {
  Trace("CDIBOmakeScreen::IsUnlocked");
  if (Layout().bAllOpen) return true;
  const CSaveData* save = gpMainWindow->mpSaveData;
  if (mnMode == OMAKE_MODE_CG)
    return c >= 0 && c < kCGGroups && entry >= 0 && entry < kCGEntries && save->mCGFlag[c][entry][0];
  return c >= 0 && c < kSceneGroups && entry >= 0 && entry < kSceneEntries && save->mSceneFlag[c][entry];
}

bool CDIBOmakeScreen::ChangeChar(int32_t character) {
  Trace("CDIBOmakeScreen::ChangeChar");
  const OmakeModeLayout& m = ModeLayout();
  mnChar = character < 0 || character >= OmakeModeLayout::kMaxChars ? 0 : character;
  mnSumCount = EntryCount(mnChar);
  const int32_t per = m.nSumPerPage;
  mnPageCount = per > 0 ? (mnSumCount + per - 1) / per : 0;
  // Entries beyond the last page button cannot be reached.
  if (mnPageCount > OmakeModeLayout::kMaxPages) mnPageCount = OmakeModeLayout::kMaxPages;
  for (int32_t c = 0; c < m.nChars; ++c)
    if (CDIBBaseCtrl* tab = GetCtrl(OMAKE_CHAR + c)) tab->SetEnable(c != mnChar);
  mnPage = 0;
  return UpdateSums();
}

bool CDIBOmakeScreen::ChangePage(int32_t page) {
  Trace("CDIBOmakeScreen::ChangePage");
  if (page < 0 || page >= mnPageCount) return false;
  mnPage = page;
  return UpdateSums();
}

bool CDIBOmakeScreen::UpdateSums() {
  Trace("CDIBOmakeScreen::UpdateSums");
  const OmakeModeLayout& m = ModeLayout();
  for (int32_t p = 0; p < OmakeModeLayout::kMaxPages; ++p) {
    CDIBBaseCtrl* button = GetCtrl(OMAKE_PAGE + p);
    if (!button) continue;
    button->SetShow(p < mnPageCount);
    if (p < mnPageCount) button->SetEnable(p != mnPage);
  }
  // The page's picture is read once here, so that a missing one is named
  // in one box, not in one per thumbnail.
  const char* name = m.szSum[mnChar][mnPage];
  if (!name[0] || mnPageCount == 0) name = m.szParts;
  CDIBSprite* picture = screens::ReadPicture("CDIBOmakeScreen", name);
  for (int32_t k = 0; k < m.nSumPerPage; ++k) {
    CDIBBaseCtrl* sum = GetCtrl(OMAKE_SUM + k);
    if (!sum) continue;
    const int32_t entry = mnPage * m.nSumPerPage + k;
    const bool shown = picture && entry < mnSumCount && sum->SetParts(name);
    sum->SetShow(shown);
    if (shown) sum->SetEnable(IsUnlocked(mnChar, entry));
  }
  const bool read = picture != nullptr;
  screens::FreePicture(picture);
  return read;
}

void CDIBOmakeScreen::UpdateBaseImage() {
  Trace("CDIBOmakeScreen::UpdateBaseImage");
  screens::ComposeOverParent(mpParent, mpBackPicture, mpBackImage);
}

void CDIBOmakeScreen::UpdatePlate() {
  Trace("CDIBOmakeScreen::UpdatePlate");
  // The old plate's place is shown again without it.
  screens::AddDirtyQuad(mPlateVertex);
  const OmakeModeLayout& m = ModeLayout();
  if (mpPlatePicture) mpPlatePicture->SetVertex(mPlateVertex, mnBGMNo, m.nPlate[0], m.nPlate[1], 0xFFFFFFFFu);
  screens::AddDirtyQuad(mPlateVertex);
}

void CDIBOmakeScreen::DrawPlate(CDIBImage* target) {
  Trace("CDIBOmakeScreen::DrawPlate");
  if (mpPlatePicture && target && mnBGMCount > 0) mpPlatePicture->StretchBltBlend(target, mPlateVertex, false);
}

void CDIBOmakeScreen::Draw(CDIBImage* target) {
  Trace("CDIBOmakeScreen::Draw");
  CDIBBaseScreen::Draw(target);
  DrawPlate(target);
}

void CDIBOmakeScreen::CopyImage(CDIBImage* target) {
  Trace("CDIBOmakeScreen::CopyImage");
  CDIBBaseScreen::CopyImage(target);
  DrawPlate(target);
}
