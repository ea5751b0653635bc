// Control flow and data: load points, files, jumps, variables, conditions,
// timed and input waits, random numbers, text comparison, cursors, the end.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/core/DebugHooks.h"
#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "platform/Random.h"
#include "save/SaveData.h"
#include "scenario/SnrBuffer.h"
#include "scenario/interp/DIBSnrBaseScreen.h"
#include "scenario/interp/SnrCompare.h"
#include "scenario/interp/SnrParams.h"

void CDIBSnrBaseScreen::StepOn() {
  Trace("CDIBSnrBaseScreen::StepOn");
  mnExitParam = 0;
  mpBuffer->NextCommand();
}

void CDIBSnrBaseScreen::SetVariable(int32_t index, int32_t value) {
  Trace("CDIBSnrBaseScreen::SetVariable");
  gpMainWindow->mpSaveData->mVariable[index] = value;
  DebugOnUpdateValue(index, value);
}

void CDIBSnrBaseScreen::SkipCommand(bool keepRunning) {
  Trace("CDIBSnrBaseScreen::SkipCommand");
  StepOn();
  mbContinue = keepRunning;
}

void CDIBSnrBaseScreen::MoveCmdLPT() {
  Trace("CDIBSnrBaseScreen::MoveCmdLPT");
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdLS() {
  Trace("CDIBSnrBaseScreen::MoveCmdLS");
  CSnrParams p(mpBuffer);
  if (!CheckCount("LS", p, 1, 1) || !CheckKinds("LS", p, "s")) return;
  char name[256];
  snprintf(name, sizeof name, "%s", p.Str(0));
  mpBuffer->Release();
  if (!mpBuffer->Read(name)) {
    // The old file is gone: nothing is left to run.
    ErrorRead("LS", name, true);
    return;
  }
  mnExitParam = 0;
  CSaveData* save = gpMainWindow->mpSaveData;
  snprintf(save->mszSnrName, sizeof save->mszSnrName, "%s", name);
  DebugOnSnrFileChange(name);
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdJP() {
  Trace("CDIBSnrBaseScreen::MoveCmdJP");
  CSnrParams p(mpBuffer);
  if (!CheckCount("JP", p, 1, 1) || !CheckKinds("JP", p, "i")) return;
  if (!JumpLabel("JP", 1, p.Int(0))) return;
  mnExitParam = 0;
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdONJP() {
  Trace("CDIBSnrBaseScreen::MoveCmdONJP");
  CSnrParams p(mpBuffer);
  if (!CheckCount("ONJP", p, 2, INT32_MAX) || !CheckKinds("ONJP", p, "i")) return;
  int32_t selector = p.Int(0);
  mbContinue = true;
  if (selector < 0 || selector >= p.Count() - 1) {
    StepOn();
    return;
  }
  if (JumpLabel("ONJP", selector + 2, p.Int(selector + 1))) mnExitParam = 0;
}

void CDIBSnrBaseScreen::MoveCmdMOV() {
  Trace("CDIBSnrBaseScreen::MoveCmdMOV");
  CSnrParams p(mpBuffer);
  if (!CheckCount("MOVE", p, 2, 2) || !CheckKinds("MOV", p, "i")) return;
  int32_t index = p.Int(0);
  if (!CheckRange("MOV", 1, index, 0, kVariableCount - 1)) return;
  SetVariable(index, p.Int(1));
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdIF() {
  Trace("CDIBSnrBaseScreen::MoveCmdIF");
  CSnrParams p(mpBuffer);
  int count = p.Count();
  // Four parameters hold one condition; otherwise (count + 1) / 4
  // conditions of three parameters each, and the label last.
  int conditions = count == 4 ? 1 : (count + 1) % 4 == 0 ? (count + 1) / 4 : 0;
  if (conditions == 0 || 3 * conditions + 1 > count) return ErrorNumParam("IF", count);
  // Every parameter is checked before any condition is evaluated; the
  // operators of the first conditions are kept from the check.
  constexpr int kKept = 8;
  int32_t codes[kKept] = {};
  auto code = [&](int i) { return p.IsString(i) ? snr::IfOperatorCode(p.Str(i)) : p.Int(i); };
  for (int i = 0; i < count; ++i) {
    if (i < 3 * conditions && i % 3 == 1) {
      int32_t c = code(i);
      if (p.IsString(i) && c < 0) return ErrorTypeParam("IF", i + 1);
      if (i / 3 < kKept) codes[i / 3] = c;
    } else if (p.IsString(i)) {
      return ErrorTypeParam("IF", i + 1);
    }
  }
  bool holds = true;
  for (int c = 0; c < conditions && holds; ++c)
    holds = snr::IfHolds(c < kKept ? codes[c] : code(3 * c + 1), p.Int(3 * c), p.Int(3 * c + 2));
  mbContinue = true;
  if (!holds) return StepOn();
  if (JumpLabel("IF", count, p.Int(count - 1))) mnExitParam = 0;
}

void CDIBSnrBaseScreen::MoveCmdATIMES() {
  Trace("CDIBSnrBaseScreen::MoveCmdATIMES");
  CSnrParams p(mpBuffer);
  if (!CheckCount("ATIMES", p, 1, 1) || !CheckKinds("ATIMES", p, "i")) return;
  int32_t ms = p.Int(0);
  mWaitTime = ms < 0 ? kWaitForever : static_cast<uint32_t>(ms);
  mWaitCount = 0;
  memset(mbInputLatch, 0, sizeof mbInputLatch);
  StepOn();
  mbContinue = false;
}

void CDIBSnrBaseScreen::MoveCmdAWAIT() {
  Trace("CDIBSnrBaseScreen::MoveCmdAWAIT");
  CSnrParams p(mpBuffer);
  if (!CheckCount("AWAIT", p, 6, 6) || !CheckKinds("AWAIT", p, "i")) return;
  int32_t vars[LATCH_COUNT];
  for (int i = 0; i < LATCH_COUNT; ++i) {
    vars[i] = p.Int(i + 1);
    if (!CheckRange("AWAIT", i + 2, vars[i], 0, kVariableCount - 1)) return;
  }
  mbContinue = false;
  bool any = false;
  for (bool latch : mbInputLatch) any = any || latch;
  if (p.Int(0) != 0 && any) mWaitCount = mWaitTime;
  if (mWaitCount < mWaitTime) return;
  for (int i = 0; i < LATCH_COUNT; ++i) SetVariable(vars[i], mbInputLatch[i] ? 1 : 0);
  mWaitTime = 0;
  mWaitCount = 0;
  memset(mbInputLatch, 0, sizeof mbInputLatch);
  StepOn();
}

void CDIBSnrBaseScreen::MoveCmdRANDOM() {
  Trace("CDIBSnrBaseScreen::MoveCmdRANDOM");
  CSnrParams p(mpBuffer);
  if (!CheckCount("RANDOM", p, 3, 3) || !CheckKinds("RANDOM", p, "i")) return;
  int32_t index = p.Int(0);
  if (!CheckRange("RANDOM", 1, index, 0, kVariableCount - 1)) return;
  int64_t a = p.Int(1), b = p.Int(2);
  int64_t lo = a < b ? a : b, hi = a < b ? b : a;
  // The span is counted in 64 bits: the full 32-bit range would wrap to 0.
  int64_t value = lo == hi ? lo : lo + plat::Rand() % (hi - lo + 1);
  gpMainWindow->mpSaveData->mVariable[index] = static_cast<int32_t>(value);
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdCMPSTR() {
  Trace("CDIBSnrBaseScreen::MoveCmdCMPSTR");
  CSnrParams p(mpBuffer);
  if (!CheckCount("CMPSTR", p, 3, 3) || !CheckKinds("CMPSTR", p, "ssi")) return;
  char first[512];
  snprintf(first, sizeof first, "%s", p.Str(0));
  if (snr::SameTextIgnoringCase(first, p.Str(1))) {
    if (JumpLabel("CMPSTR", 3, p.Int(2))) mnExitParam = 0;
    mbContinue = false;
    return;
  }
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdCURSOR() {
  Trace("CDIBSnrBaseScreen::MoveCmdCURSOR");
  CSnrParams p(mpBuffer);
  if (!CheckCount("CURSOR", p, 2, 2) || !CheckKinds("CURSOR", p, "i*")) return;
  int32_t slot = p.Int(0);
  if (p.IsString(1)) {
    char name[256];
    snprintf(name, sizeof name, "%s", p.Str(1));
    // An empty name would read as the null system identifier.
    if (name[0]) gpMainWindow->SetCursorList(slot, name);
  } else {
    gpMainWindow->SetCursorList(slot, static_cast<int>(p.Int(1)));
  }
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdBLOGSAVEBEGIN() {
  Trace("CDIBSnrBaseScreen::MoveCmdBLOGSAVEBEGIN");
  CSnrParams p(mpBuffer);
  if (!CheckCount("BLOGSAVEBEGIN", p, 0, 0)) return;
  SkipCommand(false);
}

void CDIBSnrBaseScreen::MoveCmdBLOGSAVEEND() {
  Trace("CDIBSnrBaseScreen::MoveCmdBLOGSAVEEND");
  CSnrParams p(mpBuffer);
  if (!CheckCount("BLOGSAVEEND", p, 0, 0)) return;
  SkipCommand(false);
}

void CDIBSnrBaseScreen::MoveCmdEND() {
  Trace("CDIBSnrBaseScreen::MoveCmdEND");
  // Without the game's scenario screen a story's end closes the program.
  if (gpMainWindow) gpMainWindow->ForceClose();
  mbExit = false;
  mbContinue = false;
}

// Game-level commands: the scenario screen gives them their meaning.
void CDIBSnrBaseScreen::MoveCmdMOVIE() {
  Trace("CDIBSnrBaseScreen::MoveCmdMOVIE");
  SkipCommand(true);
}
void CDIBSnrBaseScreen::MoveCmdMSG() {
  Trace("CDIBSnrBaseScreen::MoveCmdMSG");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdMWO() {
  Trace("CDIBSnrBaseScreen::MoveCmdMWO");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdMWC() {
  Trace("CDIBSnrBaseScreen::MoveCmdMWC");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdSELECT() {
  Trace("CDIBSnrBaseScreen::MoveCmdSELECT");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdSETMESSKIP() {
  Trace("CDIBSnrBaseScreen::MoveCmdSETMESSKIP");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdMESFTSIZE() {
  Trace("CDIBSnrBaseScreen::MoveCmdMESFTSIZE");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdMESFTCOLOR() {
  Trace("CDIBSnrBaseScreen::MoveCmdMESFTCOLOR");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdMESFTBLOD() {
  Trace("CDIBSnrBaseScreen::MoveCmdMESFTBLOD");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdMESFTSHADOW() {
  Trace("CDIBSnrBaseScreen::MoveCmdMESFTSHADOW");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdMESTXAREA() {
  Trace("CDIBSnrBaseScreen::MoveCmdMESTXAREA");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdMESTXKINSOKU() {
  Trace("CDIBSnrBaseScreen::MoveCmdMESTXKINSOKU");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdMESTXDOWN() {
  Trace("CDIBSnrBaseScreen::MoveCmdMESTXDOWN");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdMESNAME() {
  Trace("CDIBSnrBaseScreen::MoveCmdMESNAME");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdMESVPLAY() {
  Trace("CDIBSnrBaseScreen::MoveCmdMESVPLAY");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdMESVSTOP() {
  Trace("CDIBSnrBaseScreen::MoveCmdMESVSTOP");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdMESRUN() {
  Trace("CDIBSnrBaseScreen::MoveCmdMESRUN");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdSELMAKE() {
  Trace("CDIBSnrBaseScreen::MoveCmdSELMAKE");
  SkipCommand(false);
}
void CDIBSnrBaseScreen::MoveCmdSELRUN() {
  Trace("CDIBSnrBaseScreen::MoveCmdSELRUN");
  SkipCommand(false);
}
