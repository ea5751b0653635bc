#include "screens/DIBTitleScreen.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "app/flow/MakeScreen.h"
#include "app/flow/ScreenFactory.h"
#include "assets/DIBDisplay.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "audio/SEBuffer.h"
#include "audio/VoiceBuffer.h"
#include "save/SaveData.h"
#include "scene/DIBOverlap.h"
#include "screens/ScreenHelpers.h"
#include "ui/DIBButtonCtrl.h"
#include "ui/EffectParam.h"

namespace {
constexpr int kWidth = 800;
constexpr int kHeight = 600;
}  // namespace

CDIBTitleScreen::CDIBTitleScreen(CBaseGame* parent) : CDIBBaseScreen(parent) {
  Trace("CDIBTitleScreen::CDIBTitleScreen");
}

CDIBTitleScreen::~CDIBTitleScreen() {
  Trace("CDIBTitleScreen::~CDIBTitleScreen");
  CDIBTitleScreen::Release();
}

CDIBBaseScreen* CDIBTitleScreen::Make(CBaseGame* parent, const void* startBlock) {
  Trace("CDIBTitleScreen::Make");
  return MakeScreen<CDIBTitleScreen, TitleStartBlock>(parent, startBlock);
}

bool CDIBTitleScreen::Initialize(const TitleStartBlock* block) {
  Trace("CDIBTitleScreen::Initialize");
  if (!CDIBBaseScreen::Initialize()) {
    gpMainWindow->ErrorETC("CDIBTitleScreen", "CDIBBaseScreen::Initialize()");
    return false;
  }
  const TitleLayout& s = Layout();
  for (int i = 0; i < TitleLayout::kButtons; ++i) {
    CtrlDef def;
    screens::FillButtonDef(def, s.szParts, s.szHitMap, i, s.nHitNo[i], s.nPos[i], s.nFrame[i], s.nJump[i]);
    if (!MakeControl(CTRL_BUTTON, &def)) {
      gpMainWindow->ErrorETC("CDIBTitleScreen", "MakeControl()");
      return false;
    }
  }
  for (int i = 0; i < 3; ++i) {
    mpTitlePicture[i] = screens::ReadPicture("CDIBTitleScreen", s.szPicture[i]);
    if (!mpTitlePicture[i]) return false;
  }
  mpParts = screens::ReadPicture("CDIBTitleScreen", s.szParts);
  if (!mpParts) return false;
  mpOverlap = new (std::nothrow) CDIBOverlap;
  for (CDIBImage*& image : mpStageImage) {
    image = new (std::nothrow) CDIBImage;
    if (image && !image->Create(kWidth, kHeight)) {
      delete image;
      image = nullptr;
    }
  }
  if (!mpOverlap || !mpStageImage[0] || !mpStageImage[1]) {
    gpMainWindow->ErrorETC("CDIBTitleScreen", "mpOverlap");
    return false;
  }
  mNameMotion = SprtMotion{};
  mNameMotion.bUpdate = true;
  const bool afterGame = block && block->bAfterGame;
  mbVisible = afterGame;
  mNameMotion.bActive = afterGame;
  mbFirst = !afterGame;
  mnPicture = afterGame ? TITLE_PICTURE_BACK : TITLE_PICTURE_FIRST;
  mnPhase = afterGame ? TITLE_PHASE_MENU : TITLE_PHASE_OPENING;
  mnStep = 0;
  mnMenuTime = 0;
  UpdateNameVB();
  UpdateBaseImage();
  CDIBBaseScreen::CopyImage(mpDrawImage);
  gpMainWindow->ResetLossTime();
  return true;
}

void CDIBTitleScreen::Release() {
  Trace("CDIBTitleScreen::Release");
  CDIBBaseScreen::Release();
  for (CDIBSprite*& picture : mpTitlePicture) screens::FreePicture(picture);
  screens::FreePicture(mpParts);
  delete mpOverlap;
  mpOverlap = nullptr;
  for (CDIBImage*& image : mpStageImage) {
    delete image;
    image = nullptr;
  }
}

void CDIBTitleScreen::GetCallEffectParam(EffectParam* param) {
  Trace("CDIBTitleScreen::GetCallEffectParam");
  const char* mask = Layout().szMask[0];
  if (mask[0] && CDIBOverlap::HasEffect(EFFECT_ALPHA)) {
    EffectParamWriter(param, EFFECT_ALPHA).Int(1000).Int(0).Name(mask).Int(0);
    return;
  }
  CDIBBaseScreen::GetCallEffectParam(param);
}

void CDIBTitleScreen::OnChangeScreen1st() {
  Trace("CDIBTitleScreen::OnChangeScreen1st");
  // Nothing of a finished game stays loaded: its pictures, its effects and
  // its voice.
  CSaveData* save = gpMainWindow->mpSaveData;
  for (CDIBSprite*& picture : save->mpPicture) screens::FreePicture(picture);
  CSEBuffer* se = gpMainWindow->mpSEBuffer;
  for (int32_t& handle : save->mSEHandle) {
    if (handle > 0 && se) {
      se->Stop(handle, 0);
      se->Free(handle);
    }
    handle = 0;
  }
  if (gpMainWindow->mpVoiceBuffer) gpMainWindow->mpVoiceBuffer->Stop(0);
}

void CDIBTitleScreen::ComposePicture(int n, CDIBImage* target) {
  Trace("CDIBTitleScreen::ComposePicture");
  if (!target) return;
  target->FillFull(0xFF000000u);
  CDIBSprite* picture = n >= 0 && n < 3 ? mpTitlePicture[n] : nullptr;
  if (picture && picture->GetPixels())
    picture->Copy(target, 0, 0, 0, 0, picture->GetWidth(), picture->GetHeight());
}

void CDIBTitleScreen::UpdateBaseImage() {
  Trace("CDIBTitleScreen::UpdateBaseImage");
  // The name is not part of the background: Draw and CopyImage lay it over
  // once, so its soft edges are never blended twice.
  ComposePicture(mnPicture, mpBackImage);
}

void CDIBTitleScreen::UpdateNameVB() {
  Trace("CDIBTitleScreen::UpdateNameVB");
  if (mNameMotion.bUpdate && mpParts) {
    const TitleLayout& s = Layout();
    const SprtElement* e = mpParts->GetSprtInfo(0);
    const int64_t w0 = e ? e->w : 0, h0 = e ? e->h : 0;
    const int64_t x = s.nName[0], y = s.nName[1], zw = s.nName[2], zh = s.nName[3];
    const int64_t t = mNameMotion.nTime, span = mNameMotion.nSpan;
    if (mNameMotion.nKind == 0 || span <= 0) {
      mpParts->SetVertex(mNameVertex, 0, static_cast<int>(x), static_cast<int>(y), 0xFFFFFFFFu);
    } else {
      // Larger by the zoom size and invisible at first; natural size and
      // opaque at the end of the span.
      const int64_t px = x - zw / 2 + t * (zw / 2) / span;
      const int64_t py = y - zh / 2 + t * (zh / 2) / span;
      const int64_t w = w0 + zw - t * zw / span;
      const int64_t h = h0 + zh - t * zh / span;
      const uint32_t color = static_cast<uint32_t>(t * 255 / span) << 24 | 0xFFFFFFu;
      mpParts->SetStretchVertex(mNameVertex, 0, static_cast<int>(px), static_cast<int>(py), static_cast<int>(w),
                                static_cast<int>(h), color);
    }
  }
  if (mNameMotion.bActive) screens::AddDirtyQuad(mNameVertex);
}

void CDIBTitleScreen::DrawName(CDIBImage* target) {
  Trace("CDIBTitleScreen::DrawName");
  if (mNameMotion.bActive && mpParts && target) mpParts->StretchBltBlend(target, mNameVertex, false);
}

void CDIBTitleScreen::Draw(CDIBImage* target) {
  Trace("CDIBTitleScreen::Draw");
  if (!mbVisible || !target) return;
  CDIBDisplay* display = gpMainWindow->mpDisplay;
  if (mpOverlap && mpOverlap->IsRun()) {
    mpOverlap->Draw(target);
    if (display) display->InvalidateAll();
    return;
  }
  if (mnPicture != TITLE_PICTURE_BACK) {
    ComposePicture(mnPicture, target);
    if (display) display->InvalidateAll();
    return;
  }
  CDIBBaseScreen::Draw(target);
  DrawName(target);
}

void CDIBTitleScreen::CopyImage(CDIBImage* target) {
  Trace("CDIBTitleScreen::CopyImage");
  if (!mbVisible || !target) return;
  if (mnPicture == TITLE_PICTURE_BACK)
    CDIBBaseScreen::CopyImage(target);
  else
    ComposePicture(mnPicture, target);
  DrawName(target);
}
