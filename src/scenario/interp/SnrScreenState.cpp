// The scenario screen's state record in the save data's state buffer: the
// virtual screen, the scenario position, the load point that wrote it, the
// wait state and the message text settings, in that order.
#include <cstdint>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "save/ByteIO.h"
#include "save/SaveData.h"
#include "scenario/SnrBuffer.h"
#include "scenario/interp/DIBSnrScreen.h"
#include "scene/DIBSnrVVram.h"
#include "text/MesTextBuffer.h"
#include "text/MesWnd.h"

namespace {

static_assert(CDIBSnrVVram::kSaveSizeMax + CSnrBuffer::kSaveSizeMax + CDIBSnrScreen::kTailSize <= kStateBufSize,
              "the whole state fits the save data's state buffer");

uint8_t* PutU8(uint8_t* p, bool v) {
  *p = v ? 1 : 0;
  return p + 1;
}

uint8_t* PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
  return p + 4;
}

uint8_t* PutI32(uint8_t* p, int32_t v) { return PutU32(p, static_cast<uint32_t>(v)); }

}  // namespace

bool CDIBSnrScreen::Save(int32_t loadPoint) {
  Trace("CDIBSnrScreen::Save");
  CSaveData* save = gpMainWindow->mpSaveData;
  if (!save || !save->mpStateBuf || !mpVVram || !mpBuffer || !mpMesWnd || !mpMesWnd->GetTextBuffer()) return false;
  uint8_t* const start = save->mpStateBuf;
  uint8_t* p = mpVVram->Save(start);
  p = mpBuffer->Save(p);
  p = PutI32(p, loadPoint);
  p = PutU32(p, mWaitTime);
  p = PutU32(p, mWaitCount);
  const CMesTextBuffer& t = *mpMesWnd->GetTextBuffer();
  p = PutU8(p, t.mbKinsoku);
  p = PutU8(p, t.mbDownStr);
  for (int32_t v : {t.mnLeft, t.mnTop, t.mnRight, t.mnBottom, t.mnLineSpace, t.mnCharSpace, t.mnFontNo, t.mnFontSize})
    p = PutI32(p, v);
  p = PutU32(p, t.mdwColor);
  p = PutU32(p, t.mdwShadowColor);
  p = PutU8(p, t.mbBold);
  p = PutU8(p, t.mbShadow);
  save->mdwStateSize = static_cast<uint32_t>(p - start);
  return true;
}

bool CDIBSnrScreen::Load(const uint8_t* src, uint32_t size) {
  Trace("CDIBSnrScreen::Load");
  if (!src || !mpVVram || !mpBuffer || !mpMesWnd || !mpMesWnd->GetTextBuffer()) return false;
  if (size > kStateBufSize) size = kStateBufSize;
  const uint8_t* const end = src + size;
  const uint8_t* p = mpVVram->Load(src, size);
  if (!p || p > end) return false;
  p = mpBuffer->Load(p, static_cast<size_t>(end - p));
  if (!p || p > end) return false;

  CByteReader r(p, static_cast<size_t>(end - p));
  const int32_t loadPoint = r.I32();
  const uint32_t waitTime = r.U32(), waitCount = r.U32();
  const bool kinsoku = r.U8() != 0, downStr = r.U8() != 0;
  int32_t area[4], lineSpace, charSpace, fontNo, fontSize;
  for (int32_t& v : area) v = r.I32();
  lineSpace = r.I32();
  charSpace = r.I32();
  fontNo = r.I32();
  fontSize = r.I32();
  const uint32_t color = r.U32(), shadowColor = r.U32();
  const bool bold = r.U8() != 0, shadow = r.U8() != 0;
  if (!r.Ok() || !mpBuffer->JumpToLoadPoint(0, loadPoint)) return false;

  mnExitParam = 0;
  mWaitTime = waitTime;
  mWaitCount = waitCount;
  CMesTextBuffer& t = *mpMesWnd->GetTextBuffer();
  t.mbKinsoku = kinsoku;
  t.mbDownStr = downStr;
  t.mnLeft = area[0];
  t.mnTop = area[1];
  t.mnRight = area[2];
  t.mnBottom = area[3];
  t.mnLineSpace = lineSpace;
  t.mnCharSpace = charSpace;
  t.mnFontNo = fontNo;
  t.mnFontSize = fontSize;
  t.mdwColor = color;
  t.mdwShadowColor = shadowColor;
  t.mbBold = bold;
  t.mbShadow = shadow;
  return true;
}
