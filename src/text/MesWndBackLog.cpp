// The backlog: the last 100 pages, collected as they are typed, committed at
// each page end, and paged through with the buttons, the wheel and clicks.
#include <algorithm>
#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "audio/VoiceBuffer.h"
#include "text/MesWnd.h"
#include "ui/DIBBaseCtrl.h"
#include "ui/Input.h"

namespace {

// Backlog text is shown darker than live text: 64 less in each of red,
// green and blue, alpha kept.
uint32_t Darken(uint32_t c) {
  uint32_t out = c & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const int32_t v = static_cast<int32_t>((c >> shift) & 0xFF) - 64;
    out |= static_cast<uint32_t>(std::max(v, 0)) << shift;
  }
  return out;
}

}  // namespace

const CDIBMesWnd::BackLogPage* CDIBMesWnd::GetBackLogPage(int32_t age) const {
  Trace("CDIBMesWnd::GetBackLogPage");
  if (!mBackLog || age < 0 || age >= mnBLCount) return nullptr;
  return &mBackLog[(mnBLEnd - 1 - age + 2 * kBackLogPages) % kBackLogPages];
}

void CDIBMesWnd::PushBLBuffer(int32_t from, int32_t count) {
  Trace("CDIBMesWnd::PushBLBuffer");
  if (!mbBLRecord || !mpBLCollect || !mChar) return;
  for (int32_t i = std::max(from, 0); i < from + count && i < kCharMax; ++i) {
    const MesChar& c = mChar[i];
    if (c.nKind == MESCHAR_END || c.nKind == MESCHAR_PAGE) break;
    if (mpBLCollect->nCount >= kBackLogChars) break;
    MesChar& d = mpBLCollect->rec[mpBLCollect->nCount++];
    d = c;
    d.dwColor = Darken(c.dwColor);
    d.dwShadowColor = Darken(c.dwShadowColor);
  }
  memcpy(mpBLCollect->szVoice, mszVoice, sizeof mszVoice);
  mpBLCollect->nNameNo = mnNameNo;
}

void CDIBMesWnd::AddBLBuffer() {
  Trace("CDIBMesWnd::AddBLBuffer");
  if (!mpBLCollect || !mBackLog || mpBLCollect->nCount <= 0) return;
  mBackLog[mnBLEnd] = *mpBLCollect;
  memset(mpBLCollect, 0, sizeof *mpBLCollect);
  mpBLCollect->nNameNo = -1;
  mnBLEnd = (mnBLEnd + 1) % kBackLogPages;
  // A full backlog drops its oldest page for the new one.
  if (mnBLCount == kBackLogPages)
    mnBLTop = (mnBLTop + 1) % kBackLogPages;
  else
    ++mnBLCount;
}

void CDIBMesWnd::ShowBackLogPage() {
  Trace("CDIBMesWnd::ShowBackLogPage");
  if (!mBackLog) return;
  const BackLogPage& page = mBackLog[mnBLView];
  ClearTextImage(1);
  for (int32_t i = 0; i < std::min(page.nCount, kBackLogChars); ++i)
    if (page.rec[i].nKind == MESCHAR_WORD) UpdateTextImage(mpTextImage[1].get(), page.rec[i]);
  mnNameShow = page.nNameNo;
  UpdataNameVB();
  UpdateWndImage(true);
}

void CDIBMesWnd::LeaveBackLog() {
  Trace("CDIBMesWnd::LeaveBackLog");
  mbBLMode = false;
  mnTextImageNo = 0;
  mnNameShow = mnNameNo;
  UpdataNameVB();
  UpdateWndImage(true);
  UpdateEnableBLUpDownBtn();
}

void CDIBMesWnd::OnClickBLPREVBTN() {
  Trace("CDIBMesWnd::OnClickBLPREVBTN");
  if (!mbBLMode) {
    if (mnMode == 1 && mbRun) EnableSelButtons(false);
    if (mnBLCount == 0) return;
    mnBLView = (mnBLEnd + kBackLogPages - 1) % kBackLogPages;
    mbBLMode = true;
    mnTextImageNo = 1;
  } else {
    if (mnBLView == mnBLTop) return;
    mnBLView = (mnBLView + kBackLogPages - 1) % kBackLogPages;
  }
  ShowBackLogPage();
  UpdateEnableBLUpDownBtn();
}

void CDIBMesWnd::OnClickBLNEXTBTN() {
  Trace("CDIBMesWnd::OnClickBLNEXTBTN");
  if (!mbBLMode) return;
  if (mnBLView == (mnBLEnd + kBackLogPages - 1) % kBackLogPages) {
    LeaveBackLog();
    return;
  }
  mnBLView = (mnBLView + 1) % kBackLogPages;
  ShowBackLogPage();
  UpdateEnableBLUpDownBtn();
}

void CDIBMesWnd::MoveBackLog() {
  Trace("CDIBMesWnd::MoveBackLog");
  CInput* input = gpMainWindow->mpInput;
  if (input->mWheel.nDelta > 0)
    OnClickBLPREVBTN();
  else if (input->mWheel.nDelta < 0 || (input->CheckKeyTbl(KeyTblNext) && !IsForcusInAll()))
    OnClickBLNEXTBTN();
}

void CDIBMesWnd::UpdateEnableBLUpDownBtn() {
  Trace("CDIBMesWnd::UpdateEnableBLUpDownBtn");
  if (mbBLMode && mBackLog) {
    SetBtnEnable(MESBTN_VOICE, mBackLog[mnBLView].szVoice[0] != 0);
    SetBtnEnable(MESBTN_BLPREV, mnBLView != mnBLTop);
    SetBtnEnable(MESBTN_BLNEXT, true);
  } else {
    SetBtnEnable(MESBTN_VOICE, mszVoice[0] != 0);
    SetBtnEnable(MESBTN_BLPREV, mnBLCount > 0);
    SetBtnEnable(MESBTN_BLNEXT, false);
  }
}

void CDIBMesWnd::OnClickVOICEBTN() {
  Trace("CDIBMesWnd::OnClickVOICEBTN");
  const char* name = mbBLMode && mBackLog ? mBackLog[mnBLView].szVoice : mszVoice;
  CVoiceBuffer* voice = gpMainWindow ? gpMainWindow->mpVoiceBuffer : nullptr;
  if (!name[0] || !voice) return;
  if (voice->Read(name, false)) voice->Play(0, false);
}
