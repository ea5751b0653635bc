// Sound effects by the scenario's effect numbers 0–255: reading into a
// slot, freeing, playing (from a slot, or a file once), stopping, waiting.
#include <cstdio>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "audio/SEBuffer.h"
#include "save/SaveData.h"
#include "scenario/SnrBuffer.h"
#include "scenario/interp/DIBSnrBaseScreen.h"
#include "scenario/interp/SnrParams.h"
#include "scenario/interp/SnrSoundUtil.h"

namespace {

// The channel of a handle, or null for an empty slot or a freed channel.
SeChannel* ChannelOf(CSEBuffer* se, int32_t handle) {
  if (!se || handle < 1 || handle > CSEBuffer::kChannels) return nullptr;
  SeChannel* channel = &se->mSeChannel[handle - 1];
  return channel->buffer ? channel : nullptr;
}

}  // namespace

void CDIBSnrBaseScreen::MoveCmdSEREAD() {
  Trace("CDIBSnrBaseScreen::MoveCmdSEREAD");
  CSnrParams p(mpBuffer);
  if (!CheckCount("SEREAD", p, 2, 2) || !CheckKinds("SEREAD", p, "is")) return;
  int32_t slot = p.Int(0);
  if (!CheckRange("SEREAD", 1, slot, 0, kSlotCount - 1)) return;
  mbContinue = false;
  CSEBuffer* se = gpMainWindow->mpSEBuffer;
  int32_t& handle = gpMainWindow->mpSaveData->mSEHandle[slot];
  if (se && handle > 0) se->Free(handle);
  handle = 0;
  if (se && snr::HasSoundDevice()) {
    char name[256];
    snprintf(name, sizeof name, "%s", p.Str(1));
    handle = se->Read(name);
    if (handle <= 0) {
      handle = 0;
      ErrorRead("SEREAD", name, false);
    }
  }
  StepOn();
}

void CDIBSnrBaseScreen::MoveCmdSEFREE() {
  Trace("CDIBSnrBaseScreen::MoveCmdSEFREE");
  CSnrParams p(mpBuffer);
  if (!CheckCount("SEFREE", p, 1, 1) || !CheckKinds("SEFREE", p, "i")) return;
  int32_t slot = p.Int(0);
  if (!CheckRange("SEFREE", 1, slot, 0, kSlotCount - 1)) return;
  int32_t& handle = gpMainWindow->mpSaveData->mSEHandle[slot];
  if (handle > 0 && gpMainWindow->mpSEBuffer) gpMainWindow->mpSEBuffer->Free(handle);
  handle = 0;
  StepOn();
  mbContinue = false;
}

void CDIBSnrBaseScreen::MoveCmdSEPLAY() {
  Trace("CDIBSnrBaseScreen::MoveCmdSEPLAY");
  CSnrParams p(mpBuffer);
  if (!CheckCount("SEPLAY", p, 3, 4)) return;
  bool once = p.Count() == 3;  // a file played once, or a slot
  if (!CheckKinds("SEPLAY", p, once ? "sii" : "iiii")) return;
  mbContinue = false;
  CSEBuffer* se = gpMainWindow->mpSEBuffer;
  int32_t* slotHandle = nullptr;
  if (!once) {
    int32_t slot = p.Int(0);
    if (!CheckRange("SEPLAY", 1, slot, 0, kSlotCount - 1)) return;
    slotHandle = &gpMainWindow->mpSaveData->mSEHandle[slot];
  }
  if (!se || !snr::HasSoundDevice()) return StepOn();
  bool hurry = IsHurry();
  if (mnExitParam == 0) {
    uint32_t fadeIn = hurry ? 0 : snr::Millis(p.Int(1));
    if (once) {
      char name[256];
      snprintf(name, sizeof name, "%s", p.Str(0));
      mnSEWaitHandle = se->PlayAutoFree(name, fadeIn);
      if (mnSEWaitHandle <= 0) {
        mnSEWaitHandle = 0;
        ErrorRead("SEPLAY", name, false);
        return StepOn();
      }
    } else if (*slotHandle > 0) {
      se->Play(*slotHandle, fadeIn, p.Int(3) != 0);
    }
    if (p.Int(2) != 0) {
      mnExitParam = 1;
      return;
    }
    return StepOn();
  }
  // A one-shot channel frees itself when it ends; it is then no longer
  // fading in.
  SeChannel* channel = ChannelOf(se, once ? mnSEWaitHandle : *slotHandle);
  if (channel && hurry) channel->fadeSkip = true;
  if (channel && channel->playing && channel->fadeMode == 1) return;
  if (once) mnSEWaitHandle = 0;
  StepOn();
}

void CDIBSnrBaseScreen::MoveCmdSESTOP() {
  Trace("CDIBSnrBaseScreen::MoveCmdSESTOP");
  CSnrParams p(mpBuffer);
  if (!CheckCount("SESTOP", p, 3, 3) || !CheckKinds("SESTOP", p, "iii")) return;
  int32_t slot = p.Int(0);
  if (!CheckRange("SESTOP", 1, slot, 0, kSlotCount - 1)) return;
  mbContinue = false;
  CSEBuffer* se = gpMainWindow->mpSEBuffer;
  int32_t handle = gpMainWindow->mpSaveData->mSEHandle[slot];
  if (mnExitParam == 0) {
    if (se && handle > 0) se->Stop(handle, IsHurry() ? 0 : snr::Millis(p.Int(1)));
    if (p.Int(2) != 0) {
      mnExitParam = 1;
      return;
    }
    return StepOn();
  }
  if (ChannelOf(se, handle) && se->IsPlay(handle)) return;
  StepOn();
}

void CDIBSnrBaseScreen::MoveCmdSEWAIT() {
  Trace("CDIBSnrBaseScreen::MoveCmdSEWAIT");
  CSnrParams p(mpBuffer);
  if (!CheckCount("SEWAIT", p, 2, 2) || !CheckKinds("SEWAIT", p, "ii")) return;
  int32_t slot = p.Int(0);
  if (!CheckRange("SEWAIT", 1, slot, 0, kSlotCount - 1)) return;
  int32_t mode = p.Int(1);
  // Any other mode could never end.
  if (mode < 0 || mode > 2) return ErrorParam("SEWAIT", 2);
  mbContinue = false;
  CSEBuffer* se = gpMainWindow->mpSEBuffer;
  int32_t handle = gpMainWindow->mpSaveData->mSEHandle[slot];
  SeChannel* channel = ChannelOf(se, handle);
  if (!channel || !se->IsPlay(handle)) return StepOn();
  bool hurry = IsHurry();
  if (mode == 2) {
    if (hurry) se->Stop(handle, 0);
    if (se->IsPlay(handle)) return;
    return StepOn();
  }
  if (hurry) channel->fadeSkip = true;
  if (se->GetFadeMode(handle) == (mode == 0 ? 1 : 2)) return;
  StepOn();
}
