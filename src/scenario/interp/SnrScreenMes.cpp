// The scenario screen's message commands: messages and their text
// settings, the window's opening and closing, name plates and the voices
// tied to messages.
#include <cstdint>
#include <cstdio>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "audio/BGMBuffer.h"
#include "audio/VoiceBuffer.h"
#include "platform/Encoding.h"
#include "platform/Win.h"
#include "save/SaveData.h"
#include "scenario/interp/DIBSnrScreen.h"
#include "scenario/interp/SnrParams.h"
#include "scenario/interp/SnrSoundUtil.h"
#include "text/MesTextBuffer.h"
#include "text/MesWnd.h"
#include "ui/Input.h"

namespace {

// MESRUN: the message number and up to 24 texts and function codes.
constexpr int kMesRunMax = 25;

bool KeyPushed(int vk) { return gpMainWindow->mpInput && gpMainWindow->mpInput->mKey[vk].bPush; }
bool KeyDown(int vk) { return gpMainWindow->mpInput && gpMainWindow->mpInput->mKey[vk].bDown; }

// Colour 0xFFRRGGBB from three values, each taken as its low 8 bits.
uint32_t Colour(int32_t r, int32_t g, int32_t b) {
  return 0xFF000000u | (static_cast<uint32_t>(r) & 0xFF) << 16 | (static_cast<uint32_t>(g) & 0xFF) << 8 |
         (static_cast<uint32_t>(b) & 0xFF);
}

void SetSmallReq(bool on) {
  if (CBGMBuffer* music = gpMainWindow->mpBGMBuffer) music->mbSmallReq = on;
}

}  // namespace

bool CDIBSnrScreen::IntCommand(const char* command, int32_t* value) {
  Trace("CDIBSnrScreen::IntCommand");
  CSnrParams p(mpBuffer);
  if (!CheckCount(command, p, 1, 1) || !CheckKinds(command, p, "i")) return false;
  *value = p.Int(0);
  StepOn();
  mbContinue = true;
  return true;
}

bool CDIBSnrScreen::CheckWndOpen(const char* command) {
  Trace("CDIBSnrScreen::CheckWndOpen");
  if (mpMesWnd->IsOpen()) return true;
  ErrorMsg(command, plat::LocalText("メッセージウィンドウが開いている時のみ有効です。"), true);
  return false;
}

void CDIBSnrScreen::WaitMesWnd() {
  Trace("CDIBSnrScreen::WaitMesWnd");
  if (mpMesWnd->IsRun()) {
    mbContinue = false;
    return;
  }
  StepOn();
  mbContinue = true;
}

void CDIBSnrScreen::MoveCmdMSG() {
  Trace("CDIBSnrScreen::MoveCmdMSG");
  CSnrParams p(mpBuffer);
  if (!CheckCount("MSG", p, 4, 4) || !CheckKinds("MSG", p, "iiss")) return;
  // A message on a closed window would wait for clicks on text nobody
  // sees: a game loaded at a message's save point starts with the window
  // closed. The window opens first, as MWO opens it.
  if (mnExitParam == 0 && !mpMesWnd->IsOpen()) {
    mpMesWnd->Open(true);
    mnExitParam = 2;
  }
  if (mnExitParam == 2) {
    if (mpMesWnd->IsOpenCloseMove()) {
      mbContinue = false;
      return;
    }
    mnExitParam = 0;
  }
  if (mnExitParam == 0) {
    mpMesWnd->SetOutNameNo(p.Int(1));
    mpMesWnd->SetOutVFName(p.Str(2));
    mpMesWnd->AddOutFunc(MESFUNC_CLEAR);
    mpMesWnd->AddOutString(p.Str(3));
    mpMesWnd->AddOutFunc(MESFUNC_CLICK);
    mpMesWnd->OutStart(p.Int(0));
    mbClickedPast = false;
    mnExitParam = 1;
  }
  WaitMesWnd();
}

void CDIBSnrScreen::MoveCmdMESRUN() {
  Trace("CDIBSnrScreen::MoveCmdMESRUN");
  gpMainWindow->ResetLossTime();
  CSnrParams p(mpBuffer);
  if (!CheckCount("MESRUN", p, 1, kMesRunMax) || !CheckKinds("MESRUN", p, "i*")) return;
  if (mnExitParam == 0) {
    if (!CheckWndOpen("MESRUN")) return;
    for (int i = 1; i < p.Count(); ++i) {
      if (p.IsString(i))
        mpMesWnd->AddOutString(p.Str(i));
      else
        mpMesWnd->AddOutFunc(p.Int(i));
    }
    mpMesWnd->OutStart(p.Int(0));
    mbClickedPast = false;
    mnExitParam = 1;
  }
  WaitMesWnd();
}

void CDIBSnrScreen::MoveCmdMWO() {
  Trace("CDIBSnrScreen::MoveCmdMWO");
  MoveWindowOpenClose("MWO", true);
}

void CDIBSnrScreen::MoveCmdMWC() {
  Trace("CDIBSnrScreen::MoveCmdMWC");
  MoveWindowOpenClose("MWC", false);
}

// Opens or closes the message window and waits for its animation; a window
// already in that state costs nothing, not even a frame.
void CDIBSnrScreen::MoveWindowOpenClose(const char* name, bool open) {
  Trace("CDIBSnrScreen::MoveWindowOpenClose");
  CSnrParams p(mpBuffer);
  if (!CheckCount(name, p, 0, 0)) return;
  if (mnExitParam == 0) {
    if (mpMesWnd->IsOpen() == open) {
      StepOn();
      mbContinue = true;
      return;
    }
    if (open)
      mpMesWnd->Open(true);
    else
      mpMesWnd->Close(true);
    mnExitParam = 1;
    mbContinue = false;
    return;
  }
  if (mpMesWnd->IsOpenCloseMove()) {
    mbContinue = false;
    return;
  }
  StepOn();
  mbContinue = true;
}

void CDIBSnrScreen::MoveCmdSETMESSKIP() {
  Trace("CDIBSnrScreen::MoveCmdSETMESSKIP");
  int32_t flag = 0;
  if (IntCommand("SETMESSKIP", &flag)) mpMesWnd->SetMesSkip(flag != 0);
}

void CDIBSnrScreen::MoveCmdMESNAME() {
  Trace("CDIBSnrScreen::MoveCmdMESNAME");
  int32_t name = 0;
  if (IntCommand("MESNAME", &name) && !mpMesWnd->SetOutNameNo(name))
    ErrorMsg("MESNAME", plat::LocalText("不正な名札Ｎｏです。"), false);
}

void CDIBSnrScreen::MoveCmdMESTXAREA() {
  Trace("CDIBSnrScreen::MoveCmdMESTXAREA");
  CSnrParams p(mpBuffer);
  if (!CheckCount("MESTXAREA", p, 0, 0)) return;
  // The text area is fixed by the window's layout in this game.
  StepOn();
  mbContinue = false;
}

void CDIBSnrScreen::MoveCmdMESFTSIZE() {
  Trace("CDIBSnrScreen::MoveCmdMESFTSIZE");
  int32_t size = 0;
  if (IntCommand("MESFTSIZE", &size)) mpMesWnd->GetTextBuffer()->mnFontSize = size;
}

void CDIBSnrScreen::MoveCmdMESFTCOLOR() {
  Trace("CDIBSnrScreen::MoveCmdMESFTCOLOR");
  CSnrParams p(mpBuffer);
  if (!CheckCount("MESFTCOLOR", p, 4, 4) || !CheckKinds("MESFTCOLOR", p, "i")) return;
  CMesTextBuffer* t = mpMesWnd->GetTextBuffer();
  const uint32_t colour = Colour(p.Int(1), p.Int(2), p.Int(3));
  if (p.Int(0) == 0) t->mdwColor = colour;
  if (p.Int(0) == 1) t->mdwShadowColor = colour;
  StepOn();
  mbContinue = true;
}

void CDIBSnrScreen::MoveCmdMESFTBLOD() {
  Trace("CDIBSnrScreen::MoveCmdMESFTBLOD");
  int32_t flag = 0;
  if (IntCommand("MESFTBLOD", &flag)) mpMesWnd->GetTextBuffer()->mbBold = flag != 0;
}

void CDIBSnrScreen::MoveCmdMESFTSHADOW() {
  Trace("CDIBSnrScreen::MoveCmdMESFTSHADOW");
  int32_t flag = 0;
  if (IntCommand("MESFTSHADOW", &flag)) mpMesWnd->GetTextBuffer()->mbShadow = flag != 0;
}

void CDIBSnrScreen::MoveCmdMESTXKINSOKU() {
  Trace("CDIBSnrScreen::MoveCmdMESTXKINSOKU");
  int32_t flag = 0;
  if (IntCommand("MESTXKINSOKU", &flag)) mpMesWnd->GetTextBuffer()->mbKinsoku = flag != 0;
}

void CDIBSnrScreen::MoveCmdMESTXDOWN() {
  Trace("CDIBSnrScreen::MoveCmdMESTXDOWN");
  int32_t flag = 0;
  if (IntCommand("MESTXDOWN", &flag)) mpMesWnd->GetTextBuffer()->mbDownStr = flag != 0;
}

void CDIBSnrScreen::MoveCmdMESVPLAY() {
  Trace("CDIBSnrScreen::MoveCmdMESVPLAY");
  CSnrParams p(mpBuffer);
  if (!CheckCount("MESVPLAY", p, 2, 2) || !CheckKinds("MESVPLAY", p, "is")) return;
  const int32_t mesNo = p.Int(0);
  char file[256];
  snprintf(file, sizeof file, "%s", p.Str(1));
  mpMesWnd->SetOutVFName(file);
  CSaveData* save = gpMainWindow->mpSaveData;
  const bool wasRead = save->CheckKidokuFlag(mesNo);
  save->SetKidokuFlag(mesNo);
  // Skipping only over read text does not skip a line heard for the first time.
  const bool skipping = mbSkip && !(save->mConfig.nSkipMode == 1 && !wasRead);
  if (!KeyDown(plat::VK_CONTROL) && !skipping) {
    CVoiceBuffer* voice = gpMainWindow->mpVoiceBuffer;
    if (!file[0]) {
      SetSmallReq(false);
    } else if (voice && snr::HasSoundDevice()) {
      if (voice->Read(file, false)) {
        voice->Play(0, false);
        SetSmallReq(true);
      } else {
        ErrorRead("MESVPLAY", file, false);
      }
    }
  }
  StepOn();
  mbContinue = true;
}

void CDIBSnrScreen::MoveCmdMESVSTOP() {
  Trace("CDIBSnrScreen::MoveCmdMESVSTOP");
  CSnrParams p(mpBuffer);
  if (!CheckCount("MESVSTOP", p, 0, 0)) return;
  CVoiceBuffer* voice = gpMainWindow->mpVoiceBuffer;
  if (voice && (KeyPushed(plat::VK_RETURN) || KeyPushed(plat::VK_LBUTTON) || KeyDown(plat::VK_CONTROL))) voice->Stop(0);
  // In auto mode the line is heard out before the story goes on.
  if (mpMesWnd->IsAuto() && !mbClickedPast && voice && voice->mbPlay) {
    mbVoiceWait = true;
    mbContinue = false;
    return;
  }
  mbVoiceWait = false;
  mpMesWnd->SetOutVFName("");
  if (voice) voice->Stop(0);
  StepOn();
  SetSmallReq(false);
  mbContinue = true;
}
