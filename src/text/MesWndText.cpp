// Playing a message back: typing the characters at the player's text speed,
// click and page waits, auto mode's countdown, skipping, and the text and
// window pictures they draw into.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "save/SaveData.h"
#include "text/MesCellPainter.h"
#include "text/MesWnd.h"
#include "text/profile/TextProfile.h"
#include "ui/Input.h"

namespace {

int32_t FrameTime() { return gpMainWindow ? gpMainWindow->mFrameTime : 30; }

bool KeyTable(const KeyCheck* table) {
  return gpMainWindow && gpMainWindow->mpInput && gpMainWindow->mpInput->CheckKeyTbl(table);
}

// The message font faces by font number; entry 0 is the profile's default.
const char* FontFace(int32_t fontNo) {
  static const char* const faces[] = {profile::BuildProfile().szDefaultFace};
  if (fontNo < 0 || fontNo >= static_cast<int32_t>(std::size(faces))) fontNo = 0;
  return faces[fontNo];
}

}  // namespace

int32_t CDIBMesWnd::CalcAutoTime(int32_t from) const {
  Trace("CDIBMesWnd::CalcAutoTime");
  int64_t count = 0;
  for (int32_t i = std::max(0, from); mChar && i < kCharMax; ++i) {
    const int32_t kind = mChar[i].nKind;
    if (kind == MESCHAR_END || kind == MESCHAR_PAGE || kind == MESCHAR_CLICK) break;
    if (kind == MESCHAR_WORD) ++count;
  }
  const CSaveData* save = gpMainWindow ? gpMainWindow->mpSaveData : nullptr;
  const int64_t speed = std::clamp<int32_t>(save ? save->mConfig.nAutoSpeed : 128, 0, 255);
  const MesWndSetup& s = Setup();
  const int64_t t = (255 - speed) * s.nAutoPerChar * count / 255;
  return static_cast<int32_t>(std::clamp<int64_t>(t, s.nAutoMin, s.nAutoMax));
}

void CDIBMesWnd::MoveText() {
  Trace("CDIBMesWnd::MoveText");
  CInput* input = gpMainWindow->mpInput;
  if (input->mWheel.nDelta > 0) {
    // The wheel turned up: into the backlog; nothing is played meanwhile.
    if (mnBLCount > 0) OnClickBLPREVBTN();
    return;
  }
  mbClickSpent = false;
  bool go = true;
  for (int steps = 0; go && steps < 2 * kCharMax; ++steps) {
    if (mnPC < 0 || mnPC >= kCharMax) {
      mbRun = false;
      break;
    }
    switch (mChar[mnPC].nKind) {
      case MESCHAR_END: go = MovePutNull(); break;
      case MESCHAR_PAGE: go = MovePutPage(); break;
      case MESCHAR_WORD: go = MovePutWord(); break;
      case MESCHAR_CLEAR: go = MovePutClear(); break;
      case MESCHAR_CLICK: go = MovePutClick(); break;
      case MESFUNC_PARAG: go = false; break;  // playback rests here
      case MESFUNC_BLON: mbBLRecord = true; ++mnPC; break;
      case MESFUNC_BLOFF: mbBLRecord = false; ++mnPC; break;
      default:
        // A code the window does not know ends this frame's playback and is
        // stepped over, so that it cannot stop the message for good.
        ++mnPC;
        go = false;
        break;
    }
  }
  if (mbAuto) mnAutoTime -= FrameTime();
}

bool CDIBMesWnd::MovePutNull() {
  Trace("CDIBMesWnd::MovePutNull");
  CSaveData* save = gpMainWindow ? gpMainWindow->mpSaveData : nullptr;
  if (mnMesNo >= 0 && save) save->SetKidokuFlag(mnMesNo);
  mbRun = false;
  return false;
}

bool CDIBMesWnd::MovePutWord() {
  Trace("CDIBMesWnd::MovePutWord");
  int32_t len = 0;
  while (mnPC + len < kCharMax && mChar[mnPC + len].nKind == MESCHAR_WORD) ++len;
  const CSaveData* save = gpMainWindow->mpSaveData;
  const int32_t speed = std::clamp<int32_t>(save ? save->mConfig.nMesSpeed : 128, 0, 255) * 100 / 255;
  const int32_t s = std::max(10, speed);  // characters per second
  if (mnPutTarget == 0) {
    mnPutTarget = 10 * len;
    mnPutCount = 0;
    mnPutTime = 0;
  }
  bool stop = false;
  if (mbSkip || KeyTable(KeyTblSkip)) {
    mnPutTime = mnPutTarget;
  } else if (ClickPushed()) {
    mnPutTime = mnPutTarget;  // the whole run at once; the click is spent
    mbClickSpent = true;
    stop = true;
  } else if (s >= 100) {
    mnPutTime = mnPutTarget;
  }
  const int32_t reached = std::min(len, mnPutTime / 10);
  for (; mnPutCount < reached; ++mnPutCount) UpdateTextImage(mpTextImage[0].get(), mChar[mnPC + mnPutCount]);
  if (mnTextImageNo == 0) UpdateWndImage(false);
  if (stop) return false;
  if (mnPutTime < mnPutTarget) {
    mnPutTime = std::min(mnPutTarget, mnPutTime + s * FrameTime() / 100);
    return false;
  }
  PushBLBuffer(mnPC, len);
  mnPC += len;
  mnPutTime = mnPutTarget = mnPutCount = 0;
  return true;
}

bool CDIBMesWnd::MovePutClear() {
  Trace("CDIBMesWnd::MovePutClear");
  AddBLBuffer();
  UpdateEnableBLUpDownBtn();
  // The records after this one move to the top of the list.
  int32_t end = mnPC + 1;
  while (end < kCharMax && mChar[end].nKind != MESCHAR_END) ++end;
  const int32_t count = std::min(end, kCharMax - 1) - mnPC;
  memmove(mChar, mChar + mnPC + 1, sizeof(MesChar) * count);
  mChar[count].nKind = MESCHAR_END;
  mnPC = 0;
  ClearTextImage(0);
  if (mnTextImageNo == 0) UpdateWndImage(true);
  return true;
}

bool CDIBMesWnd::MovePutClick() {
  Trace("CDIBMesWnd::MovePutClick");
  mbWait = true;
  if (!OnClickWait()) return false;
  mbWait = false;
  ++mnPC;
  return true;
}

bool CDIBMesWnd::MovePutPage() {
  Trace("CDIBMesWnd::MovePutPage");
  const MesWndSetup& s = Setup();
  if (mnPageState == 0) {
    mbWait = true;
    if (!OnClickWait()) return false;
    mbWait = false;
    AddBLBuffer();
    UpdateEnableBLUpDownBtn();
    mnPageState = 1;
    mnPageTime = 0;
  }
  if (mnPageState == 1) {
    // The page scrolls up and out; skipping does not wait for it.
    const int32_t span = s.nPageScrollTime;
    if (span <= 0 || mbSkip || KeyTable(KeyTblSkip))
      mnPageTime = span;
    else
      mnPageTime = std::min(span, mnPageTime + FrameTime());
    const int32_t h = mpTextImage[0]->GetHeight();
    mnPageScroll = span > 0 ? static_cast<int32_t>(static_cast<int64_t>(mnPageTime) * h / span) : h;
    if (mnTextImageNo == 0) UpdateWndImage(true);
    if (mnPageTime < span) return false;
    mnPageState = 2;
  }
  ++mnPC;
  mnAutoTime = CalcAutoTime(mnPC);
  ClearTextImage(0);
  mnPageScroll = 0;
  if (mnTextImageNo == 0) UpdateWndImage(true);
  mnPageState = 0;
  return true;
}

bool CDIBMesWnd::OnClickWait() {
  Trace("CDIBMesWnd::OnClickWait");
  const CSaveData* save = gpMainWindow->mpSaveData;
  const bool readOnly = save && save->mConfig.nSkipMode == 1;
  const bool skipping = mbSkip && !(readOnly && !mbMesRead);
  if (skipping) return true;
  if (KeyTable(KeyTblSkip)) return true;
  if (ClickPushed()) {
    mbClickSpent = true;
    return true;
  }
  return mbAuto && mnAutoTime <= 0;
}

bool CDIBMesWnd::ClickPushed() {
  Trace("CDIBMesWnd::ClickPushed");
  return !mbClickSpent && !IsForcusInAll() && KeyTable(KeyTblNext);
}

void CDIBMesWnd::ClearTextImage(int i) {
  Trace("CDIBMesWnd::ClearTextImage");
  CDIBImage* image = GetTextImage(i);
  if (!image) return;
  image->FillFull(0);
  if (i == mnTextImageNo) {
    mDirty[0] = mDirty[1] = 0;
    mDirty[2] = image->GetWidth();
    mDirty[3] = image->GetHeight();
  }
}

void CDIBMesWnd::UpdateTextImage(CDIBImage* image, const MesChar& ch) {
  Trace("CDIBMesWnd::UpdateTextImage");
  if (!image || !image->GetPixels() || !mpWndParts) return;
  const MesWndSetup& s = Setup();
  const int32_t cell = std::clamp(ch.nSize, 1, 400) + 2;
  const int32_t cx = ch.x - s.nTextArea[0], cy = ch.y - s.nTextArea[1];
  if (image == GetTextImage(mnTextImageNo)) {
    if (mDirty[2] <= mDirty[0] || mDirty[3] <= mDirty[1]) {
      mDirty[0] = cx;
      mDirty[1] = cy;
      mDirty[2] = cx + cell;
      mDirty[3] = cy + cell;
    } else {
      mDirty[0] = std::min(mDirty[0], cx);
      mDirty[1] = std::min(mDirty[1], cy);
      mDirty[2] = std::max(mDirty[2], cx + cell);
      mDirty[3] = std::max(mDirty[3], cy + cell);
    }
  }
  // Over the window's own background, where the glyph is drawn as it will
  // be seen; the rest of the text image stays as it is, so that a cell never
  // wipes a neighbour that reaches into it.
  const SprtElement bg = mpWndParts->DrawableElement(0);
  const uint32_t* parts = mpWndParts->GetPixels();
  const int32_t pw = mpWndParts->GetWidth();
  if (!mpPainter) mpPainter = std::make_unique<CMesCellPainter>();
  int drawn[3];
  mpPainter->Paint(image, parts ? parts + static_cast<size_t>(bg.y) * pw + bg.x : nullptr, pw, bg.w, bg.h,
                   s.nTextArea[0], s.nTextArea[1], ch, FontFace(ch.nFontNo), drawn);
}

void CDIBMesWnd::UpdateWndImage(bool full) {
  Trace("CDIBMesWnd::UpdateWndImage");
  if (!mpWndImage || !mpWndParts || !mpTextImage[0]) return;
  const MesWndSetup& s = Setup();
  CDIBImage* text = mpTextImage[mnTextImageNo].get();
  const int32_t tw = text->GetWidth(), th = text->GetHeight();
  int32_t box[4] = {mDirty[0], mDirty[1], mDirty[2], mDirty[3]};
  if (full) {
    box[0] = box[1] = 0;
    box[2] = tw;
    box[3] = th;
  }
  box[0] = std::max(box[0], 0);
  box[1] = std::max(box[1], 0);
  box[2] = std::min(box[2], tw);
  box[3] = std::min(box[3], th);
  mDirty[0] = mDirty[1] = mDirty[2] = mDirty[3] = 0;

  const SprtElement bg = mpWndParts->DrawableElement(0);
  const uint32_t* parts = mpWndParts->GetPixels();
  const int32_t pw = mpWndParts->GetWidth();
  uint32_t* wnd = mpWndImage->GetPixels();
  const int32_t ww = mpWndImage->GetWidth(), wh = mpWndImage->GetHeight();
  auto restore = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    for (int32_t y = std::max(y0, 0); y < std::min(y1, wh); ++y)
      for (int32_t x = std::max(x0, 0); x < std::min(x1, ww); ++x)
        wnd[y * ww + x] = x < bg.w && y < bg.h ? parts[(bg.y + y) * pw + bg.x + x] : 0;
  };
  if (full) restore(0, 0, bg.w, bg.h);
  if (box[2] <= box[0] || box[3] <= box[1]) {
    mbComposed = true;
    return;
  }
  const int32_t left = s.nTextArea[0], top = s.nTextArea[1];
  if (!full) restore(left + box[0], top + box[1], left + box[2], top + box[3]);
  // The shown text over it, its rows taken `mnPageScroll` lower while a page
  // scrolls away.
  const uint32_t* src = text->GetPixels();
  for (int32_t row = box[1]; row < box[3]; ++row) {
    const int32_t sy = row + mnPageScroll, y = top + row;
    if (sy < 0 || sy >= th || y < 0 || y >= wh) continue;
    for (int32_t col = box[0]; col < box[2]; ++col) {
      const int32_t x = left + col;
      const uint32_t px = src[sy * tw + col];
      if (x >= 0 && x < ww && (px >> 24)) wnd[y * ww + x] = px;
    }
  }
  mbComposed = true;
}
