#include "scenario/interp/DIBSnrBaseScreen.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "app/core/DebugHooks.h"
#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "audio/BGMBuffer.h"
#include "platform/Timer.h"
#include "save/SaveData.h"
#include "scenario/CommandTable.h"
#include "scenario/SnrBuffer.h"
#include "scene/DIBSnrVVram.h"
#include "ui/Input.h"

CDIBSnrBaseScreen::CDIBSnrBaseScreen(CBaseGame* parent) : CDIBBaseScreen(parent) {
  Trace("CDIBSnrBaseScreen::CDIBSnrBaseScreen");
}

CDIBSnrBaseScreen::~CDIBSnrBaseScreen() {
  Trace("CDIBSnrBaseScreen::~CDIBSnrBaseScreen");
  CDIBSnrBaseScreen::Release();
}

bool CDIBSnrBaseScreen::Initialize() {
  Trace("CDIBSnrBaseScreen::Initialize");
  return Initialize(nullptr);
}

bool CDIBSnrBaseScreen::Initialize(const SnrStartBlock* callParam) {
  Trace("CDIBSnrBaseScreen::Initialize");
  Release();
  if (!CDIBBaseScreen::Initialize()) return false;
  if (callParam)
    memcpy(&mCallParam, callParam, sizeof mCallParam);
  else
    memset(&mCallParam, 0, sizeof mCallParam);
  mCallParam.szScenario[sizeof mCallParam.szScenario - 1] = 0;
  mCallParam.szReturnBGM[sizeof mCallParam.szReturnBGM - 1] = 0;

  CSaveData* save = gpMainWindow ? gpMainWindow->mpSaveData : nullptr;
  if (!save) {
    if (gpMainWindow) gpMainWindow->ErrorETC("CDIBSnrBaseScreen", "mpSaveData");
    return false;
  }
  // A story started from the title begins with a clean slate; one opened
  // over another screen (a replay) shares its variables.
  if (!GetParent()) memset(save->mVariable, 0, sizeof(int32_t) * kGameVariableCount);
  for (int i = 0; i < kGameVariableCount; ++i) DebugOnUpdateValue(i, save->mVariable[i]);

  mpVVram = new (std::nothrow) CDIBSnrVVram;
  if (!mpVVram || !mpVVram->Initialize()) {
    gpMainWindow->ErrorETC("CDIBSnrBaseScreen", "mpVVram");
    return false;
  }
  mpBuffer = new (std::nothrow) CSnrBuffer;
  if (!mpBuffer) {
    gpMainWindow->ErrorETC("CDIBSnrBaseScreen", "mpBuffer");
    return false;
  }
  mpBuffer->SetValList(save->mVariable);
  for (int i = 0; i < kStrVariableCount; ++i) mpBuffer->SetStrList(i, save->mStrVariable[i]);

  mbContinue = false;
  mbSkip = false;
  mWaitTime = 0;
  mWaitCount = 0;
  memset(mbInputLatch, 0, sizeof mbInputLatch);
  mnExitParam = 0;
  mnSEWaitHandle = 0;
  mbErrorEnd = false;
  mnCommandCount = 0;
  return true;
}

bool CDIBSnrBaseScreen::ReadScenario(const char* name) {
  Trace("CDIBSnrBaseScreen::ReadScenario");
  if (!mpBuffer || !gpMainWindow) return false;
  char file[256];
  snprintf(file, sizeof file, "%s", name ? name : "");
  mpBuffer->Release();
  if (!mpBuffer->Read(file)) {
    gpMainWindow->ErrorRead("CDIBSnrBaseScreen", file);
    return false;
  }
  CSaveData* save = gpMainWindow->mpSaveData;
  snprintf(save->mszSnrName, sizeof save->mszSnrName, "%s", file);
  DebugOnSnrFileChange(file);
  mnExitParam = 0;
  return true;
}

void CDIBSnrBaseScreen::Release() {
  Trace("CDIBSnrBaseScreen::Release");
  delete mpVVram;
  mpVVram = nullptr;
  delete mpBuffer;
  mpBuffer = nullptr;
  if (gpMainWindow && gpMainWindow->mpBGMBuffer) gpMainWindow->mpBGMBuffer->mbSmallReq = false;
  CDIBBaseScreen::Release();
}

void CDIBSnrBaseScreen::Move() {
  Trace("CDIBSnrBaseScreen::Move");
  // The clock of the run: real time normally, the virtual clock (standing
  // still within a frame) under a fixed step.
  uint32_t start = plat::timeGetTime();
  LatchInput();
  if (mWaitTime != kWaitForever && mWaitCount < mWaitTime && gpMainWindow)
    mWaitCount += static_cast<uint32_t>(gpMainWindow->mFrameTime);
  RunCommands(start);
  if (mpVVram) mpVVram->Move(mbSkip);
}

void CDIBSnrBaseScreen::RunCommands(uint32_t startTime) {
  Trace("CDIBSnrBaseScreen::RunCommands");
  if (!mpBuffer) return;
  for (int run = 0; run < mnRunCommandLimit && !mbErrorEnd; ++run) {
    mbContinue = false;
    Dispatch();
    ++mnCommandCount;
    DebugOnSnrCmdChange(static_cast<int32_t>(mpBuffer->GetPos()));
    if (!mbContinue || plat::timeGetTime() - startTime >= kRunBudgetMs) break;
  }
}

void CDIBSnrBaseScreen::LatchInput() {
  Trace("CDIBSnrBaseScreen::LatchInput");
  CInput* input = gpMainWindow ? gpMainWindow->mpInput : nullptr;
  if (!input) return;
  static constexpr uint8_t kKeys[LATCH_COUNT] = {plat::VK_LBUTTON, plat::VK_RBUTTON, plat::VK_RETURN,
                                                 plat::VK_ESCAPE, plat::VK_SPACE};
  for (int i = 0; i < LATCH_COUNT; ++i)
    if (input->mKey[kKeys[i]].bPush) mbInputLatch[i] = true;
}

void CDIBSnrBaseScreen::Update() { Trace("CDIBSnrBaseScreen::Update"); }

void CDIBSnrBaseScreen::Draw(CDIBImage* target) {
  Trace("CDIBSnrBaseScreen::Draw");
  if (mpVVram && target) mpVVram->Draw(target);
}

void CDIBSnrBaseScreen::CopyImage(CDIBImage* target) {
  Trace("CDIBSnrBaseScreen::CopyImage");
  if (mpVVram && target) mpVVram->Blt(target);
}

bool CDIBSnrBaseScreen::Save(int32_t) {
  Trace("CDIBSnrBaseScreen::Save");
  return true;
}

bool CDIBSnrBaseScreen::Load(const uint8_t*, uint32_t) {
  Trace("CDIBSnrBaseScreen::Load");
  return true;
}

void CDIBSnrBaseScreen::Dispatch() {
  Trace("CDIBSnrBaseScreen::Dispatch");
  switch (mpBuffer->IsFinish() ? CSnrBuffer::kNoCommand : mpBuffer->GetCmdID()) {
    case kCmdLPT: return MoveCmdLPT();
    case kCmdLS: return MoveCmdLS();
    case kCmdJP: return MoveCmdJP();
    case kCmdONJP: return MoveCmdONJP();
    case kCmdMOV: return MoveCmdMOV();
    case kCmdIF: return MoveCmdIF();
    case kCmdATIMES: return MoveCmdATIMES();
    case kCmdAWAIT: return MoveCmdAWAIT();
    case kCmdRANDOM: return MoveCmdRANDOM();
    case kCmdCMPSTR: return MoveCmdCMPSTR();
    case kCmdIMREAD: return MoveCmdIMREAD();
    case kCmdIMFREE: return MoveCmdIMFREE();
    case kCmdLYIMAGE: return MoveCmdLYIMAGE();
    case kCmdLYPOS: return MoveCmdLYPOS();
    case kCmdLYSIZE: return MoveCmdLYSIZE();
    case kCmdLYCOLOR: return MoveCmdLYCOLOR();
    case kCmdLYBLEND: return MoveCmdLYBLEND();
    case kCmdLYANTI: return MoveCmdLYANTI();
    case kCmdLYACTION: return MoveCmdLYACTION();
    case kCmdLYCAMSTATE: return MoveCmdLYCAMSTATE();
    case kCmdOVERLAP: return MoveCmdOVERLAP();
    case kCmdCAMMOVE: return MoveCmdCAMMOVE();
    case kCmdCURSOR: return MoveCmdCURSOR();
    case kCmdMOVIE: return MoveCmdMOVIE();
    case kCmdBGMLIST: return MoveCmdBGMLIST();
    case kCmdBGMPLAY: return MoveCmdBGMPLAY();
    case kCmdBGMSTOP: return MoveCmdBGMSTOP();
    case kCmdBGMWAIT: return MoveCmdBGMWAIT();
    case kCmdVOICELIST: return MoveCmdVOICELIST();
    case kCmdVOICEPLAY: return MoveCmdVOICEPLAY();
    case kCmdVOICESTOP: return MoveCmdVOICESTOP();
    case kCmdVOICEWAIT: return MoveCmdVOICEWAIT();
    case kCmdSEPLAY: return MoveCmdSEPLAY();
    case kCmdSESTOP: return MoveCmdSESTOP();
    case kCmdSEWAIT: return MoveCmdSEWAIT();
    case kCmdSEREAD: return MoveCmdSEREAD();
    case kCmdSEFREE: return MoveCmdSEFREE();
    case kCmdMSG: return MoveCmdMSG();
    case kCmdMWO: return MoveCmdMWO();
    case kCmdMWC: return MoveCmdMWC();
    case kCmdSELECT: return MoveCmdSELECT();
    case kCmdCHKSCEXEC: return MoveCmdCHKSCEXEC();
    case kCmdSUBTITLE: return MoveCmdSUBTITLE();
    case kCmdSETCGFLAG: return MoveCmdSETCGFLAG();
    case kCmdSETSCENEFLAG: return MoveCmdSETSCENEFLAG();
    case kCmdSETMESSKIP: return MoveCmdSETMESSKIP();
    case kCmdSELITEM: return MoveCmdSELITEM();
    case kCmdMESFTSIZE: return MoveCmdMESFTSIZE();
    case kCmdMESFTCOLOR: return MoveCmdMESFTCOLOR();
    case kCmdMESFTBLOD: return MoveCmdMESFTBLOD();
    case kCmdMESFTSHADOW: return MoveCmdMESFTSHADOW();
    case kCmdMESTXAREA: return MoveCmdMESTXAREA();
    case kCmdMESTXKINSOKU: return MoveCmdMESTXKINSOKU();
    case kCmdMESTXDOWN: return MoveCmdMESTXDOWN();
    case kCmdMESNAME: return MoveCmdMESNAME();
    case kCmdMESVPLAY: return MoveCmdMESVPLAY();
    case kCmdMESVSTOP: return MoveCmdMESVSTOP();
    case kCmdMESRUN: return MoveCmdMESRUN();
    case kCmdBLOGSAVEBEGIN: return MoveCmdBLOGSAVEBEGIN();
    case kCmdBLOGSAVEEND: return MoveCmdBLOGSAVEEND();
    case kCmdSELMAKE: return MoveCmdSELMAKE();
    case kCmdSELRUN: return MoveCmdSELRUN();
    case kCmdACTMAKE: return MoveCmdACTMAKE();
    case kCmdACTFREE: return MoveCmdACTFREE();
    case kCmdACTPLAY: return MoveCmdACTPLAY();
    case kCmdACTSTOP: return MoveCmdACTSTOP();
    case kCmdSCREENACT: return MoveCmdSCREENACT();
    case kCmdSAVESAM: return MoveCmdSAVESAM();
    case kCmdFACE: return MoveCmdFACE();
    case kCmdEND: return MoveCmdEND();
    default: return MoveCmdUnknow();
  }
}
