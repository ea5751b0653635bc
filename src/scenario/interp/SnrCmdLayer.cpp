// Pictures and layers: picture slots in the save data, and the properties
// of the back page's 16 layers, each change reported to the debugger as a
// change of the work page.
#include <cstdint>
#include <cstdio>

#include "app/core/DebugHooks.h"
#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "save/SaveData.h"
#include "scenario/SnrBuffer.h"
#include "scenario/interp/DIBSnrBaseScreen.h"
#include "scenario/interp/SnrParams.h"
#include "scene/DIBSnrVVram.h"

namespace {

// The debugger numbers the page the scenario works on 1.
constexpr int32_t kWorkPage = 1;

}  // namespace

CDIBSnrLayer* CDIBSnrBaseScreen::BackLayer(const char* command, int32_t index) {
  Trace("CDIBSnrBaseScreen::BackLayer");
  if (!CheckRange(command, 1, index, 0, CDIBSnrVVram::kLayerCount - 1)) return nullptr;
  CDIBSnrLayer* layer = mpVVram ? mpVVram->GetBackLayer(index) : nullptr;
  if (!layer) ErrorParam(command, 1);
  return layer;
}

void CDIBSnrBaseScreen::MoveCmdIMREAD() {
  Trace("CDIBSnrBaseScreen::MoveCmdIMREAD");
  CSnrParams p(mpBuffer);
  if (!CheckCount("IMREAD", p, 2, 2) || !CheckKinds("IMREAD", p, "is")) return;
  int32_t slot = p.Int(0);
  if (!CheckRange("IMREAD", 1, slot, 0, kSlotCount - 1)) return;
  CSpriteCache* cache = gpMainWindow->mpSpriteCache;
  CDIBSprite*& picture = gpMainWindow->mpSaveData->mpPicture[slot];
  if (picture && cache) cache->Free(picture);
  picture = nullptr;
  char name[256];
  snprintf(name, sizeof name, "%s", p.Str(1));
  picture = cache ? cache->Read(name) : nullptr;
  if (!picture) ErrorRead("IMREAD", name, false);
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdIMFREE() {
  Trace("CDIBSnrBaseScreen::MoveCmdIMFREE");
  CSnrParams p(mpBuffer);
  if (!CheckCount("IMFREE", p, 1, 1) || !CheckKinds("IMFREE", p, "i")) return;
  int32_t slot = p.Int(0);
  if (!CheckRange("IMFREE", 1, slot, 0, kSlotCount - 1)) return;
  CDIBSprite*& picture = gpMainWindow->mpSaveData->mpPicture[slot];
  if (picture && gpMainWindow->mpSpriteCache) gpMainWindow->mpSpriteCache->Free(picture);
  picture = nullptr;
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdLYIMAGE() {
  Trace("CDIBSnrBaseScreen::MoveCmdLYIMAGE");
  CSnrParams p(mpBuffer);
  if (!CheckCount("LYIMAGE", p, 2, 2) || !CheckKinds("LYIMAGE", p, "i*")) return;
  int32_t index = p.Int(0);
  CDIBSnrLayer* layer = BackLayer("LYIMAGE", index);
  if (!layer) return;
  char name[256] = "";
  bool read = true;
  if (p.IsString(1)) {
    // An empty text clears the layer.
    snprintf(name, sizeof name, "%s", p.Str(1));
    read = layer->SetImage(name);
  } else {
    // The picture held in a slot, by its file name. An empty slot (or one
    // out of range) names nothing: the layer is cleared and that reported.
    int32_t slot = p.Int(1);
    CDIBSprite* picture = slot >= 0 && slot < kSlotCount ? gpMainWindow->mpSaveData->mpPicture[slot] : nullptr;
    SpriteCacheSlot* entry = picture && gpMainWindow->mpSpriteCache ? gpMainWindow->mpSpriteCache->GetDataID(picture) : nullptr;
    if (entry) snprintf(name, sizeof name, "%.32s", reinterpret_cast<const char*>(entry->key));
    read = layer->SetImage(name) && name[0];
  }
  if (!read) ErrorRead("LYIMAGE", name, false);
  const SnrLayerProp* prop = layer->GetProp();
  if (prop->pImage)
    DebugOnUpdateLayImage(kWorkPage, index, layer->GetImageName(), prop->pImage->GetWidth(),
                          prop->pImage->GetHeight(),
                          static_cast<int32_t>(reinterpret_cast<uintptr_t>(prop->pImage->GetPixels())));
  else
    DebugOnUpdateLayImage(kWorkPage, index, "", 0, 0, 0);
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdLYPOS() {
  Trace("CDIBSnrBaseScreen::MoveCmdLYPOS");
  CSnrParams p(mpBuffer);
  if (!CheckCount("LYPOS", p, 4, 4) || !CheckKinds("LYPOS", p, "i")) return;
  CDIBSnrLayer* layer = BackLayer("LYPOS", p.Int(0));
  if (!layer) return;
  layer->SetPos(p.Int(1), p.Int(2), p.Int(3));
  DebugOnUpdateLayDrawPos(kWorkPage, p.Int(0), p.Int(1), p.Int(2), p.Int(3));
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdLYSIZE() {
  Trace("CDIBSnrBaseScreen::MoveCmdLYSIZE");
  CSnrParams p(mpBuffer);
  if (!CheckCount("LYSIZE", p, 3, 3) || !CheckKinds("LYSIZE", p, "i")) return;
  CDIBSnrLayer* layer = BackLayer("LYSIZE", p.Int(0));
  if (!layer) return;
  layer->SetBaseSize(p.Int(1), p.Int(2));
  DebugOnUpdateLayDrawSize(kWorkPage, p.Int(0), p.Int(1), p.Int(2));
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdLYCOLOR() {
  Trace("CDIBSnrBaseScreen::MoveCmdLYCOLOR");
  CSnrParams p(mpBuffer);
  if (!CheckCount("LYCOLOR", p, 5, 5) || !CheckKinds("LYCOLOR", p, "i")) return;
  CDIBSnrLayer* layer = BackLayer("LYCOLOR", p.Int(0));
  if (!layer) return;
  layer->SetColor(p.Int(1), p.Int(2), p.Int(3), p.Int(4));
  // The colour as the layer holds it, each value clamped to a byte.
  DebugOnUpdateLayColor(kWorkPage, p.Int(0), layer->GetProp()->dwColor);
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdLYBLEND() {
  Trace("CDIBSnrBaseScreen::MoveCmdLYBLEND");
  CSnrParams p(mpBuffer);
  if (!CheckCount("LYBLEND", p, 2, 2) || !CheckKinds("LYBLEND", p, "i")) return;
  CDIBSnrLayer* layer = BackLayer("LYBLEND", p.Int(0));
  if (!layer) return;
  layer->SetBlend(p.Int(1) != 0);
  DebugOnUpdateLayBlend(kWorkPage, p.Int(0), p.Int(1) != 0);
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdLYANTI() {
  Trace("CDIBSnrBaseScreen::MoveCmdLYANTI");
  CSnrParams p(mpBuffer);
  if (!CheckCount("LYANTI", p, 2, 2) || !CheckKinds("LYANTI", p, "i")) return;
  CDIBSnrLayer* layer = BackLayer("LYANTI", p.Int(0));
  if (!layer) return;
  layer->SetAnti(p.Int(1) != 0);
  DebugOnUpdateLayAnti(kWorkPage, p.Int(0), p.Int(1) != 0);
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdLYACTION() {
  Trace("CDIBSnrBaseScreen::MoveCmdLYACTION");
  CSnrParams p(mpBuffer);
  if (!CheckCount("LYACTION", p, 2, 2) || !CheckKinds("LYACTION", p, "i")) return;
  CDIBSnrLayer* layer = BackLayer("LYACTION", p.Int(0));
  if (!layer) return;
  // Scenario action numbers count from 0; -1 is none.
  int32_t action = p.Int(1);
  layer->SetAction(action >= 0 && action < CDIBSnrVVram::kActionCount ? action + 1 : 0);
  DebugOnUpdateLayActListNo(kWorkPage, p.Int(0), action);
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdLYCAMSTATE() {
  Trace("CDIBSnrBaseScreen::MoveCmdLYCAMSTATE");
  CSnrParams p(mpBuffer);
  if (!CheckCount("LYCAMSTATE", p, 5, 5) || !CheckKinds("LYCAMSTATE", p, "i")) return;
  CDIBSnrLayer* layer = BackLayer("LYCAMSTATE", p.Int(0));
  if (!layer) return;
  int32_t index = p.Int(0);
  // Rates are given in percent.
  layer->SetCameraState(p.Int(1) != 0, p.Int(2) != 0, static_cast<float>(p.Int(3)) * 0.01f,
                        static_cast<float>(p.Int(4)) * 0.01f);
  DebugOnUpdateLayCamera(kWorkPage, index, p.Int(1) != 0);
  DebugOnUpdateLayCamBill(kWorkPage, index, p.Int(2) != 0);
  DebugOnUpdateLayCamXYRate(kWorkPage, index, p.Int(3));
  DebugOnUpdateLayCamWRate(kWorkPage, index, p.Int(4));
  StepOn();
  mbContinue = true;
}
