#include "screens/DIBSaveLoadScreen.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "app/flow/MakeScreen.h"
#include "app/flow/RootFlow.h"
#include "app/flow/ScreenFactory.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "save/SaveData.h"
#include "screens/SaveSlot.h"
#include "screens/ScreenHelpers.h"
#include "text/profile/TextProfile.h"
#include "ui/DIBButtonCtrl.h"
#include "ui/Input.h"

CDIBSaveLoadScreen::CDIBSaveLoadScreen(CBaseGame* parent) : CDIBBaseScreen(parent) {
  Trace("CDIBSaveLoadScreen::CDIBSaveLoadScreen");
}

CDIBSaveLoadScreen::~CDIBSaveLoadScreen() {
  Trace("CDIBSaveLoadScreen::~CDIBSaveLoadScreen");
  CDIBSaveLoadScreen::Release();
}

CDIBBaseScreen* CDIBSaveLoadScreen::Make(CBaseGame* parent, const void* startBlock) {
  Trace("CDIBSaveLoadScreen::Make");
  return MakeScreen<CDIBSaveLoadScreen, SaveLoadStartBlock>(parent, startBlock);
}

bool CDIBSaveLoadScreen::Initialize(const SaveLoadStartBlock* block) {
  Trace("CDIBSaveLoadScreen::Initialize");
  if (!CDIBBaseScreen::Initialize()) {
    gpMainWindow->ErrorETC("CDIBSaveLoadScreen", "CDIBBaseScreen::Initialize()");
    return false;
  }
  mbSave = block && block->bMode == SAVELOAD_SAVE;
  const SaveLoadLayout& s = Layout();
  for (int i = 0; i < s.nSlots + SAVELOAD_SLOT; ++i) {
    CtrlDef def;
    screens::FillButtonDef(def, s.szParts, s.szHitMap, i, s.nHitNo[i], s.nPos[i], s.nFrame[i], s.nJump[i]);
    def.bCancel = i == SAVELOAD_BACK;
    if (!MakeControl(CTRL_BUTTON, &def)) {
      gpMainWindow->ErrorETC("CDIBSaveLoadScreen", "MakeControl()");
      return false;
    }
  }
  mnPage = 0;
  mnTarget = 0;
  UpdatePageButtons();
  UpdateSlotCaption();
  for (CDIBBaseCtrl* c = GetCtrlTop(); c; c = c->GetNext()) c->UpdateVertex();
  const char* back = s.szBack[mbSave ? 0 : 1];
  mpBackPicture = screens::ReadPicture("CDIBSaveLoadScreen", back);
  if (!mpBackPicture) return false;
  UpdateBaseImage();
  CopyImage(mpDrawImage);
  gpMainWindow->ResetLossTime();
  return true;
}

void CDIBSaveLoadScreen::Release() {
  Trace("CDIBSaveLoadScreen::Release");
  CDIBBaseScreen::Release();
  screens::FreePicture(mpBackPicture);
}

void CDIBSaveLoadScreen::UpdateBaseImage() {
  Trace("CDIBSaveLoadScreen::UpdateBaseImage");
  screens::ComposeOverParent(mpParent, mpBackPicture, mpBackImage);
}

void CDIBSaveLoadScreen::UpdatePageButtons() {
  Trace("CDIBSaveLoadScreen::UpdatePageButtons");
  const int32_t pages = Layout().nPages;
  for (int32_t p = 0; p < SaveLoadLayout::kMaxPages; ++p) {
    CDIBBaseCtrl* button = GetCtrl(SAVELOAD_PAGE + p);
    if (!button) continue;
    button->SetShow(p < pages);
    if (p < pages) button->SetEnable(p != mnPage);
  }
}

void CDIBSaveLoadScreen::DrawText(CDIBButtonCtrl* button, const SaveLoadFont& font, const char* text) {
  Trace("CDIBSaveLoadScreen::DrawText");
  const SaveLoadLayout& s = Layout();
  FontInfo info{};
  snprintf(info.szFaceName, sizeof info.szFaceName, "%s", font.szFace);
  info.nHeight = font.nHeight;
  info.nWeight = font.nWeight;
  for (int state = 0; state < 5; ++state) {
    const uint32_t shadow = ColorWord(s.nShadowColor[state]);
    if (shadow) button->SetCaption(info, state, font.x + font.dx, font.y + font.dy, shadow, text, false);
    button->SetCaption(info, state, font.x, font.y, ColorWord(s.nTextColor[state]), text, false);
  }
}

void CDIBSaveLoadScreen::UpdateSlotCaption() {
  Trace("CDIBSaveLoadScreen::UpdateSlotCaption");
  const SaveLoadLayout& s = Layout();
  for (int32_t k = 0; k < s.nSlots; ++k) {
    auto* button = static_cast<CDIBButtonCtrl*>(GetCtrl(SAVELOAD_SLOT + k));
    if (!button) continue;
    if (!button->InitCaption()) {
      gpMainWindow->ErrorETC("CDIBSaveLoadScreen", "InitCaption()");
      return;
    }
    const int32_t slot = k + mnPage * s.nSlots;
    char subTitle[64] = {};
    CDIBImage* thumbnail = nullptr;
    uint64_t fileTime = 0;
    const bool exists = screens::ReadSaveSlot(slot, subTitle, &thumbnail, &fileTime);
    std::unique_ptr<CDIBImage> owned(thumbnail);
    subTitle[sizeof subTitle - 1] = 0;
    button->SetEnable(mbSave || exists);
    button->ResCaption();
    char number[32];
    snprintf(number, sizeof number, "No.%d", slot + 1);
    DrawText(button, s.font[0], number);
    if (!exists) continue;
    DrawText(button, s.font[1], subTitle);
    DrawText(button, s.font[2], screens::FormatSaveTime(fileTime).c_str());
    if (!owned || !owned->GetPixels()) continue;
    for (int state = 0; state < 5; ++state) {
      SprtVertex quad;
      owned->SetStretchVertex(quad, s.nSum[0], s.nSum[1], s.nSum[2], s.nSum[3], ColorWord(s.nSumColor[state]));
      button->SetCaption(state, owned.get(), quad);
    }
  }
}

void CDIBSaveLoadScreen::Move() {
  Trace("CDIBSaveLoadScreen::Move");
  CDIBBaseScreen::Move();
  gpMainWindow->ChangeCursor(0);
  if (gpMainWindow->mpInput->CheckKeyTbl(KeyTblCancel)) {
    gpMainWindow->PlaySysSE(SYSSE_CANCEL);
    OnCtrlCancel();
    return;
  }
  const int32_t count = Layout().nSlots + SAVELOAD_SLOT;
  for (int32_t id = 0; id < count; ++id) {
    CDIBBaseCtrl* c = GetCtrl(id);
    if (!c || !c->IsDecide()) continue;
    if (id == SAVELOAD_BACK)
      OnCtrlCancel();
    else if (id < SAVELOAD_SLOT)
      OnCtrlPage(id - SAVELOAD_PAGE);
    else
      OnCtrlSlot(id - SAVELOAD_SLOT);
    return;
  }
}

void CDIBSaveLoadScreen::OnCtrlCancel() {
  Trace("CDIBSaveLoadScreen::OnCtrlCancel");
  CRootFlow* flow = screens::Flow();
  if (!flow) return;
  EffectParam back = screens::Fade(Layout().nBackFade);
  flow->ReturnScreen(&back, nullptr, nullptr, 1);
}

void CDIBSaveLoadScreen::OnCtrlPage(int32_t page) {
  Trace("CDIBSaveLoadScreen::OnCtrlPage");
  if (page < 0 || page >= Layout().nPages) return;
  mnPage = page;
  UpdatePageButtons();
  UpdateSlotCaption();
}

void CDIBSaveLoadScreen::OnCtrlSlot(int32_t index) {
  Trace("CDIBSaveLoadScreen::OnCtrlSlot");
  mnTarget = index + mnPage * Layout().nSlots;
  ConfStartBlock block{mbSave ? 2 : 3, this, mbSave ? SAVELOAD_CODE_SAVE : SAVELOAD_CODE_LOAD};
  screens::OpenOver(SCREEN_CONF, this, &block, 300);
}

void CDIBSaveLoadScreen::ReportSaveFailure() {
  Trace("CDIBSaveLoadScreen::ReportSaveFailure");
  if (profile::BuildProfile().encoding == profile::Encoding::kGbk)
    gpMainWindow->ErrorMsg("保存失败。");
  else
    gpMainWindow->ErrorMsg("セーブに失敗しました。");
}

int32_t CDIBSaveLoadScreen::Reaction(int32_t code, int32_t answer) {
  Trace("CDIBSaveLoadScreen::Reaction");
  CRootFlow* flow = screens::Flow();
  // A second answer while the first one's switch is under way is not acted
  // on twice.
  if (!flow || flow->IsChanging()) return 0;
  const SaveLoadLayout& s = Layout();
  if (answer == 0) {
    EffectParam back = screens::Fade(s.nCancelFade);
    flow->ReturnScreen(&back, nullptr, nullptr, 1);
    return 0;
  }
  if (code == SAVELOAD_CODE_SAVE) {
    // A failed save keeps the old file, and the slot its old caption.
    if (!gpMainWindow->mpSaveData->SaveGame(mnTarget)) ReportSaveFailure();
    // The new caption is drawn before the return, so the fade shows it.
    UpdateSlotCaption();
    EffectParam back = screens::Fade(s.nSaveFade);
    flow->ReturnScreen(&back, nullptr, nullptr, 1);
  } else if (code == SAVELOAD_CODE_LOAD) {
    gpMainWindow->mpSaveData->mbReplay = false;
    SnrStartBlock block{};
    block.nLoad = 1;
    block.nSlot = mnTarget;
    snprintf(block.szReturnBGM, sizeof block.szReturnBGM, "%s", screens::TitleMusic());
    CDIBBaseScreen* game = CreateScreen(SCREEN_SNR, nullptr, &block);
    if (!game) {
      screens::EndProgram();
      return 0;
    }
    EffectParam first = screens::Fade(s.nLoadFade[0]), second = screens::Fade(s.nLoadFade[1]);
    BGMChangeParam music = screens::Music("", BGMCHANGE_STOP, s.nLoadFade[0], s.nLoadFade[1]);
    flow->ChangeScreen(&first, &second, &music, game, false);
  }
  return 0;
}
