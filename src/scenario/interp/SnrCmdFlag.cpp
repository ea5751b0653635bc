// Records kept in the save data: the replay check, the subtitle, unlocked
// pictures and scenes, the next save's thumbnail, choice items.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "save/SaveData.h"
#include "scenario/SnrBuffer.h"
#include "scenario/interp/DIBSnrBaseScreen.h"
#include "scenario/interp/SnrParams.h"

namespace {

// A name or text into a fixed field, cut to fit and zero-padded.
void CopyField(char* field, size_t size, const char* text) {
  memset(field, 0, size);
  snprintf(field, size, "%s", text);
}

// Colour 0xFFRRGGBB from three values, each taken as its low 8 bits.
uint32_t Colour(int32_t r, int32_t g, int32_t b) {
  return 0xFF000000u | (static_cast<uint32_t>(r) & 0xFF) << 16 | (static_cast<uint32_t>(g) & 0xFF) << 8 |
         (static_cast<uint32_t>(b) & 0xFF);
}

}  // namespace

void CDIBSnrBaseScreen::MoveCmdCHKSCEXEC() {
  Trace("CDIBSnrBaseScreen::MoveCmdCHKSCEXEC");
  CSnrParams p(mpBuffer);
  if (!CheckCount("CHKSCEXEC", p, 1, 1) || !CheckKinds("CHKSCEXEC", p, "i")) return;
  int32_t index = p.Int(0);
  if (!CheckRange("CHKSCEXEC", 1, index, 0, kVariableCount - 1)) return;
  SetVariable(index, gpMainWindow->mpSaveData->mbReplay ? 1 : 0);
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdSUBTITLE() {
  Trace("CDIBSnrBaseScreen::MoveCmdSUBTITLE");
  CSnrParams p(mpBuffer);
  if (!CheckCount("SUBTITLE", p, 1, 1) || !CheckKinds("SUBTITLE", p, "s")) return;
  CSaveData* save = gpMainWindow->mpSaveData;
  CopyField(save->mszSubTitle, sizeof save->mszSubTitle, p.Str(0));
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdSETCGFLAG() {
  Trace("CDIBSnrBaseScreen::MoveCmdSETCGFLAG");
  CSnrParams p(mpBuffer);
  if (!CheckCount("SETCGFLAG", p, 1, 1) || !CheckKinds("SETCGFLAG", p, "s")) return;
  gpMainWindow->mpSaveData->SetCGFlag(p.Str(0));
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdSETSCENEFLAG() {
  Trace("CDIBSnrBaseScreen::MoveCmdSETSCENEFLAG");
  CSnrParams p(mpBuffer);
  if (!CheckCount("SETSCENEFLAG", p, 1, 1) || !CheckKinds("SETSCENEFLAG", p, "s")) return;
  gpMainWindow->mpSaveData->SetSceneFlag(p.Str(0));
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdSAVESAM() {
  Trace("CDIBSnrBaseScreen::MoveCmdSAVESAM");
  CSnrParams p(mpBuffer);
  if (!CheckCount("SAVESAM", p, 1, INT32_MAX) || !CheckKinds("SAVESAM", p, "i*")) return;
  CSaveData* save = gpMainWindow->mpSaveData;
  int32_t type = p.Int(0);
  switch (type) {
    case 0:
    case 30:
      if (!CheckCount("SAVESAM", p, 4, 4) || !CheckKinds("SAVESAM", p, "i")) return;
      save->mSumType = type;
      save->SetSumValue(Colour(p.Int(1), p.Int(2), p.Int(3)));
      break;
    case 10:
    case 20:
      if (!CheckCount("SAVESAM", p, 2, 2) || !CheckKinds("SAVESAM", p, "i")) return;
      save->mSumType = type;
      save->SetSumValue(static_cast<uint32_t>(p.Int(1)));
      break;
    case 40:
      if (!CheckCount("SAVESAM", p, 2, 2) || !CheckKinds("SAVESAM", p, "is")) return;
      save->mSumType = type;
      CopyField(save->mSumParam, sizeof save->mSumParam, p.Str(1));
      break;
    default:
      break;  // a type this game does not know stores nothing
  }
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdSELITEM() {
  Trace("CDIBSnrBaseScreen::MoveCmdSELITEM");
  CSnrParams p(mpBuffer);
  if (!CheckCount("SELITEM", p, 17, 17) || !CheckKinds("SELITEM", p, "isiiiiisiiiiiiiii")) return;
  int32_t index = p.Int(0);
  if (!CheckRange("SELITEM", 1, index, 0, kSlotCount - 1)) return;
  SelItemData& item = gpMainWindow->mpSaveData->mSelItem[index];
  CopyField(item.szParts, sizeof item.szParts, p.Str(1));
  for (int i = 0; i < 5; ++i) item.nFrame[i] = p.Int(2 + i);
  CopyField(item.szHitFName, sizeof item.szHitFName, p.Str(7));
  item.nID = p.Int(8);
  item.x = p.Int(9);
  item.y = p.Int(10);
  item.bEnable = p.Int(11) != 0;
  for (int i = 0; i < 5; ++i) item.nJump[i] = p.Int(12 + i);
  StepOn();
  mbContinue = true;
}
