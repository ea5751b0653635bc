#include "screens/ScreenHelpers.h"

#include <cstdio>
#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "app/flow/RootFlow.h"
#include "app/flow/ScreenFactory.h"
#include "assets/DIBDisplay.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "scene/DIBOverlap.h"
#include "screens/DIBTitleScreen.h"
#include "ui/BaseGame.h"
#include "ui/DIBBaseScreen.h"

namespace screens {

int32_t JumpRowCount(const int32_t (&jump)[kJumpRows][5]) {
  Trace("JumpRowCount");
  int32_t count = 1;
  for (int r = 0; r < kJumpRows; ++r)
    for (int32_t id : jump[r])
      if (id != -1) count = r + 1;
  return count;
}

void FillButtonDef(CtrlDef& def, const char* parts, const char* hitMap, int32_t id, int32_t hitNo,
                   const int32_t (&pos)[2], const int32_t (&frames)[5], const int32_t (&jump)[kJumpRows][5]) {
  Trace("FillButtonDef");
  InitCtrlDef(&def);
  snprintf(def.szParts, sizeof def.szParts, "%s", parts);
  snprintf(def.szHitFName, sizeof def.szHitFName, "%s", hitMap);
  def.nID = id;
  def.nHitNo = hitNo;
  def.x = pos[0];
  def.y = pos[1];
  for (int f = 0; f < 5; ++f) def.nFrame[f] = frames[f];
  memcpy(def.Jump, jump, sizeof def.Jump);
  def.nJumpNum = JumpRowCount(jump);
}

EffectParam Fade(int32_t ms) {
  Trace("Fade");
  EffectParam effect;
  EffectParamWriter(&effect, EFFECT_FADE).Int(ms);
  return effect;
}

BGMChangeParam Music(const char* name, uint32_t flags, int32_t fadeIn, int32_t fadeOut) {
  Trace("Music");
  BGMChangeParam bgm{};
  snprintf(bgm.szName, sizeof bgm.szName, "%s", name ? name : "");
  bgm.dwFlags = flags;
  bgm.dwDelay = 0;
  bgm.dwFadeIn = static_cast<uint32_t>(fadeIn < 0 ? 0 : fadeIn);
  bgm.dwFadeOut = static_cast<uint32_t>(fadeOut < 0 ? 0 : fadeOut);
  return bgm;
}

CRootFlow* Flow() {
  Trace("Flow");
  return gpMainWindow ? gpMainWindow->mpRootFlow : nullptr;
}

void EndProgram() {
  Trace("EndProgram");
  if (gpMainWindow) gpMainWindow->ForceClose();
}

CDIBSprite* ReadPicture(const char* owner, const char* name) {
  Trace("ReadPicture");
  CDIBSprite* picture = gpMainWindow->mpSpriteCache->Read(name);
  if (!picture) gpMainWindow->ErrorRead(owner, name);
  return picture;
}

void FreePicture(CDIBSprite*& picture) {
  Trace("FreePicture");
  if (picture && gpMainWindow && gpMainWindow->mpSpriteCache) gpMainWindow->mpSpriteCache->Free(picture);
  picture = nullptr;
}

bool OpenOver(int kind, CBaseGame* opener, const void* block, int32_t fade) {
  Trace("OpenOver");
  CRootFlow* flow = Flow();
  CDIBBaseScreen* screen = flow ? CreateScreen(static_cast<ScreenKind>(kind), opener, block) : nullptr;
  if (!screen) {
    EndProgram();
    return false;
  }
  EffectParam effect = Fade(fade);
  flow->ChangeScreen(&effect, nullptr, nullptr, screen, true);
  return true;
}

void ComposeOverParent(CBaseGame* parent, CDIBSprite* picture, CDIBImage* target) {
  Trace("ComposeOverParent");
  if (!target) return;
  if (parent)
    parent->CopyImage(target);
  else
    target->FillFull(0xFF000000u);
  if (!picture) return;
  const SprtElement e = picture->DrawableElement(0);
  if (e.w > 0 && e.h > 0) picture->BltBlend(target, 0, 0, e.x, e.y, e.w, e.h, 0xFFFFFFFFu);
}

void AddDirtyQuad(const SprtVertex& quad) {
  Trace("AddDirtyQuad");
  CDIBDisplay* display = gpMainWindow ? gpMainWindow->mpDisplay : nullptr;
  if (!display) return;
  plat::POINT points[4];
  for (int i = 0; i < 4; ++i) points[i] = plat::POINT{quad.dst[i].x, quad.dst[i].y};
  display->AddDirtyQuad(points);
}

const char* TitleMusic() {
  Trace("TitleMusic");
  return CDIBTitleScreen::Layout().szMusic;
}

}  // namespace screens
