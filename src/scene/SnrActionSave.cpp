// The action's saved-game record: the flags, the kind and the parameter
// block (217 bytes), then the kind's own part.
#include <cstring>

#include "app/core/Trace.h"
#include "scene/DIBSnrAction.h"
#include "scene/RecordIO.h"

namespace {

// Bytes of each kind's own part.
size_t KindPartSize(int32_t kind) {
  switch (kind) {
    case SNRACT_2DROT: return 8;
    case SNRACT_SCROLL: return 4;
    case SNRACT_RASTER: return 12;
    case SNRACT_RAIN: return 4 + CDIBSnrAction::kDropNameSize;
    default: return 0;
  }
}

struct RecordHead {
  uint8_t bActive, bPlay;
  int32_t nKind;
  uint8_t bChange, bStart, bStop;
  SnrActionParam param;
};

bool ParseHead(CRecordReader& in, RecordHead* h) {
  h->bActive = in.U8();
  h->bPlay = in.U8();
  h->nKind = in.I32();
  h->bChange = in.U8();
  h->bStart = in.U8();
  h->bStop = in.U8();
  in.Bytes(&h->param, sizeof h->param);
  return in.Ok();
}

}  // namespace

uint8_t* CDIBSnrAction::Save(uint8_t* dst) const {
  Trace("CDIBSnrAction::Save");
  CRecordWriter out(dst);
  out.U8(mbActive);
  out.U8(mbPlay);
  out.I32(mnKind);
  out.U8(mbChange);
  out.U8(mbStart);
  out.U8(mbStop);
  out.Bytes(&mParam, sizeof mParam);
  uint8_t* end = out.End();
  switch (mnKind) {
    case SNRACT_2DROT: Save2DRot(end); break;
    case SNRACT_SCROLL: SaveScroll(end); break;
    case SNRACT_RASTER: SaveRaster(end); break;
    case SNRACT_RAIN: SaveRain(end); break;
    case SNRACT_FIRE: SaveFire(end); break;
    default: break;
  }
  return end;
}

size_t CDIBSnrAction::CheckRecord(const uint8_t* src, size_t size) {
  Trace("CDIBSnrAction::CheckRecord");
  CRecordReader in(src, size);
  RecordHead h;
  if (!ParseHead(in, &h)) return 0;
  // The block starts with the kind it was set up with; a released action
  // has both at 0.
  if (h.nKind < SNRACT_NONE || h.nKind >= SNRACT_KIND_COUNT || h.param.nKind != h.nKind) return 0;
  if (!CheckParam(h.param)) return 0;
  const size_t part = KindPartSize(h.nKind);
  if (in.Left() < part) return 0;
  if (h.nKind == SNRACT_RAIN) {
    // The drop picture's name must end within its field.
    if (!memchr(in.Here() + 4, 0, kDropNameSize)) return 0;
  }
  return kRecordHeadSize + part;
}

const uint8_t* CDIBSnrAction::Load(const uint8_t* src, size_t size) {
  Trace("CDIBSnrAction::Load");
  const size_t length = CheckRecord(src, size);
  if (length == 0) return nullptr;
  Release();
  CRecordReader in(src, size);
  RecordHead h;
  ParseHead(in, &h);
  mbActive = h.bActive;
  mbPlay = h.bPlay;
  mnKind = h.nKind;
  mbChange = h.bChange;
  mbStart = h.bStart;
  mbStop = h.bStop;
  mParam = h.param;
  const uint8_t* at = in.Here();
  switch (mnKind) {
    case SNRACT_2DROT: Load2DRot(at); break;
    case SNRACT_SCROLL: LoadScroll(at); break;
    case SNRACT_RASTER: LoadRaster(at); break;
    case SNRACT_RAIN: LoadRain(at); break;
    case SNRACT_FIRE: LoadFire(at); break;
    default: break;
  }
  return src + length;
}
