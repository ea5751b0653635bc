// Transitions between the pages, camera flights and layer actions.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "scenario/SnrBuffer.h"
#include "scenario/interp/DIBSnrBaseScreen.h"
#include "scenario/interp/SnrParams.h"
#include "scene/DIBCamera.h"
#include "scene/DIBOverlap.h"
#include "scene/DIBSnrAction.h"
#include "scene/DIBSnrVVram.h"
#include "scene/SnrActionParam.h"
#include "ui/EffectParam.h"

namespace {

// What OVERLAP reads after the effect number: 'i' an integer, 'n' a
// picture name; the counts allowed (parameters with the effect number).
struct OverlapShape {
  const char* fields;
  int least, most;
};

OverlapShape ShapeOf(int32_t effect) {
  switch (effect) {
    case EFFECT_BLT:
    case EFFECT_FADE:
    case EFFECT_FIRE:
    case EFFECT_WATER:
      return {"i", 2, 2};
    case EFFECT_ALPHA:
      return {"iini", 4, 5};
    case EFFECT_WIPE:
      return {"iin", 4, 4};
    case EFFECT_ROTATE:
    case EFFECT_TWIST:
    case EFFECT_GLASS:
    case EFFECT_ROTDOOR:
    case EFFECT_KACCHIN:
    case EFFECT_BLUR:
      return {"ii", 3, 3};
    case EFFECT_LENSFLARE:
      return {"iniii", 6, 6};
    case EFFECT_BOUND:
      return {"iiiii", 6, 6};
    default:
      return {"", 1, INT32_MAX};  // the block carries the number alone
  }
}

}  // namespace

bool CDIBSnrBaseScreen::ReadOVParam(EffectParam* param, const CSnrParams& p, int count) {
  Trace("CDIBSnrBaseScreen::ReadOVParam");
  if (count < 1) {
    ErrorNumParam("OVERLAP", count);
    return false;
  }
  if (p.IsString(0)) {
    ErrorTypeParam("OVERLAP", 2);
    return false;
  }
  int32_t effect = p.Int(0) + 1;
  OverlapShape shape = ShapeOf(effect);
  if (count < shape.least || count > shape.most) {
    ErrorNumParam("OVERLAP", count);
    return false;
  }
  EffectParamWriter out(param, effect);
  for (int i = 1; i < count && shape.fields[i - 1]; ++i) {
    bool name = shape.fields[i - 1] == 'n';
    // Any parameter of the wrong kind is reported as the second.
    if (p.IsString(i) != name) {
      ErrorTypeParam("OVERLAP", 2);
      return false;
    }
    if (name)
      out.Name(p.Str(i));
    else
      out.Int(i == 1 && (effect == EFFECT_BLT || effect == EFFECT_FADE) ? p.Int(i) + 1 : p.Int(i));
  }
  // Alpha without its softness blends with the full one.
  if (effect == EFFECT_ALPHA && count == 4) out.Int(255);
  return true;
}

void CDIBSnrBaseScreen::MoveCmdOVERLAP() {
  Trace("CDIBSnrBaseScreen::MoveCmdOVERLAP");
  CSnrParams p(mpBuffer);
  mbContinue = false;
  CDIBOverlap* overlap = mpVVram ? mpVVram->GetOverlap() : nullptr;
  if (mnExitParam == 0) {
    // The back page is composed at the end of this frame; the transition
    // starts from it in the next.
    mnExitParam = 1;
    return;
  }
  if (mnExitParam == 1) {
    EffectParam record;
    if (!ReadOVParam(&record, p, p.Count())) return;
    // An effect this build does not have still shows the new page, at once.
    if (!CDIBOverlap::HasEffect(record.nEffect)) EffectParamWriter(&record, EFFECT_BLT).Int(1);
    if (overlap) overlap->InitEffect(mpVVram->GetPage(), mpVVram->GetBackPage(), &record);
    mnExitParam = 2;
    return;
  }
  if (overlap && overlap->IsRun()) return;
  StepOn();
}

void CDIBSnrBaseScreen::MoveCmdCAMMOVE() {
  Trace("CDIBSnrBaseScreen::MoveCmdCAMMOVE");
  CSnrParams p(mpBuffer);
  if (!CheckCount("CAMMOVE", p, 6, INT32_MAX) || !CheckKinds("CAMMOVE", p, "i")) return;
  if (!mpVVram) return StepOn();
  if (mnExitParam == 0) {
    CDIBCamera* camera = p.Int(0) != 0 ? mpVVram->GetBackCamera() : mpVVram->GetCamera();
    camera->ResetMove();
    int groups = (p.Count() - 2) / 4;
    // A camera holds 16 keys; the rest are refused.
    for (int g = 0; g < groups; ++g) {
      int at = 2 + 4 * g;
      if (!camera->AddMove(static_cast<float>(p.Int(at)), static_cast<float>(p.Int(at + 1)),
                           static_cast<float>(p.Int(at + 2)), static_cast<float>(p.Int(at + 3))))
        break;
    }
    camera->StartMove(p.Int(1));
    mnExitParam = 1;
    mbContinue = true;
    return;
  }
  // The shown page's camera decides, whichever camera was started.
  if (mpVVram->GetCamera()->IsMove()) {
    mbContinue = false;
    return;
  }
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdACTMAKE() {
  Trace("CDIBSnrBaseScreen::MoveCmdACTMAKE");
  CSnrParams p(mpBuffer);
  if (!CheckCount("ACTMAKE", p, 2, INT32_MAX) || !CheckKinds("ACTMAKE", p, "ii*")) return;
  int32_t number = p.Int(0), kind = p.Int(1);
  if (!CheckRange("ACTMAKE", 1, number, 0, CDIBSnrVVram::kActionCount - 1)) return;
  int count = p.Count();
  SnrActionParam def{};
  bool known = true;
  switch (kind) {
    case 0:
      if (!CheckCount("ACTMAKE", p, 5, 5) || !CheckKinds("ACTMAKE", p, "i")) return;
      def.nKind = SNRACT_2DROT;
      def.rot.nPeriod = p.Int(2);
      def.rot.nTurns = p.Int(3);
      def.rot.nDirection = p.Int(4);
      break;
    case 1: {
      // Points come in threes after five parameters; the path holds 16.
      int points = (count - 5) / 3;
      if (count < 8 || (count - 5) % 3 != 0 || points > SnrActionParam::kMaxScrollPoints)
        return ErrorNumParam("ACTMAKE", count);
      if (!CheckKinds("ACTMAKE", p, "i")) return;
      def.nKind = SNRACT_SCROLL;
      def.scroll.nPeriod = p.Int(2);
      def.scroll.bLoop = p.Int(3) != 0;
      def.scroll.bSmooth = p.Int(4) != 0;
      def.scroll.nCount = points;
      for (int i = 0; i < points; ++i) {
        def.scroll.nX[i] = p.Int(5 + 3 * i);
        def.scroll.nY[i] = p.Int(6 + 3 * i);
        def.scroll.nZ[i] = p.Int(7 + 3 * i);
      }
      break;
    }
    case 2:
      if (!CheckCount("ACTMAKE", p, 7, 7) || !CheckKinds("ACTMAKE", p, "i")) return;
      def.nKind = SNRACT_RASTER;
      def.raster.nFadeIn = p.Int(3);
      def.raster.nFadeOut = p.Int(4);
      def.raster.nPeriod = p.Int(2);
      def.raster.nAmplitude = p.Int(5);
      def.raster.nMode = p.Int(6);
      break;
    case 3:
      if (!CheckCount("ACTMAKE", p, 7, 7) || !CheckKinds("ACTMAKE", p, "iiiiiis")) return;
      def.nKind = SNRACT_RAIN;
      def.rain.nFallTime = p.Int(2);
      def.rain.nCount = p.Int(3);
      def.rain.nSway = p.Int(4);
      def.rain.nWind = p.Int(5);
      snprintf(def.rain.szDrop, sizeof def.rain.szDrop, "%s", p.Str(6));
      break;
    case 4:
      if (count != 2 && count != 6) return ErrorNumParam("ACTMAKE", count);
      if (!CheckKinds("ACTMAKE", p, "i")) return;
      def.nKind = SNRACT_FIRE;
      // Two parameters: a fire across the bottom of the screen.
      def.fire.nBaseHeat = count == 6 ? p.Int(2) : 10000;
      def.fire.nCentre = count == 6 ? p.Int(3) : 400;
      def.fire.nWidth = count == 6 ? p.Int(4) : 800;
      def.fire.nFront = count == 6 ? p.Int(5) != 0 : 1;
      break;
    default:
      known = false;  // nothing is defined
      break;
  }
  if (known) {
    if (CDIBSnrAction* action = mpVVram ? mpVVram->GetAction(number + 1) : nullptr) action->Setup(&def);
  }
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdACTFREE() {
  Trace("CDIBSnrBaseScreen::MoveCmdACTFREE");
  CSnrParams p(mpBuffer);
  if (!CheckCount("ACTFREE", p, 1, 1) || !CheckKinds("ACTFREE", p, "i")) return;
  int32_t index = p.Int(0) + 1;
  CDIBSnrAction* action = mpVVram && p.Int(0) >= 0 ? mpVVram->GetAction(index) : nullptr;
  if (action && action->IsUse()) {
    action->Release();
    for (int i = 0; i < CDIBSnrVVram::kLayerCount; ++i) {
      CDIBSnrLayer* layer = mpVVram->GetLayer(i);
      if (layer && layer->GetProp()->nAction == index) layer->SetAction(0);
    }
    if (mpVVram->GetScreenAction() == index) mpVVram->SetScreenAction(0);
  }
  StepOn();
  mbContinue = false;
}

void CDIBSnrBaseScreen::PlayActions(const char* command, bool play) {
  Trace("CDIBSnrBaseScreen::PlayActions");
  CSnrParams p(mpBuffer);
  if (!CheckCount(command, p, 1, 10) || !CheckKinds(command, p, "i")) return;
  for (int i = 0; i < p.Count(); ++i) {
    int32_t number = p.Int(i);
    // A number never made (or out of range) does nothing.
    CDIBSnrAction* action = mpVVram && number >= 0 ? mpVVram->GetAction(number + 1) : nullptr;
    if (!action || !action->IsUse()) continue;
    if (play)
      action->Play();
    else
      action->Stop();
  }
  StepOn();
  mbContinue = false;
}

void CDIBSnrBaseScreen::MoveCmdACTPLAY() {
  Trace("CDIBSnrBaseScreen::MoveCmdACTPLAY");
  PlayActions("ACTPLAY", true);
}

void CDIBSnrBaseScreen::MoveCmdACTSTOP() {
  Trace("CDIBSnrBaseScreen::MoveCmdACTSTOP");
  PlayActions("ACTSTOP", false);
}

void CDIBSnrBaseScreen::MoveCmdSCREENACT() {
  Trace("CDIBSnrBaseScreen::MoveCmdSCREENACT");
  CSnrParams p(mpBuffer);
  if (!CheckCount("SCREENACT", p, 1, 1) || !CheckKinds("SCREENACT", p, "i")) return;
  int32_t number = p.Int(0);
  if (mpVVram) mpVVram->SetScreenAction(number < 0 || number >= CDIBSnrVVram::kActionCount ? 0 : number + 1);
  StepOn();
  mbContinue = false;
}

void CDIBSnrBaseScreen::MoveCmdFACE() {
  Trace("CDIBSnrBaseScreen::MoveCmdFACE");
  StepOn();
  mbContinue = false;
}
