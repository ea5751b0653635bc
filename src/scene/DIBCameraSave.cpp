// The camera's saved-game record: flags, the 15 floats of the view in field
// order, the move's state, the 16 key zooms and the first two key
// positions. The key count and keys 2 … 15 are not part of it; loading
// leaves them as they are.
#include <cstring>

#include "app/core/Trace.h"
#include "scene/DIBCamera.h"
#include "scene/RecordIO.h"

namespace {

constexpr int kSavedKeys = 2;

struct CameraRecord {
  uint8_t bCamera, bBillboard;
  float fXYRate, fWRate;
  CVector eye, lookAt, up;
  float fZoom;
  uint8_t bChange, bMove;
  int32_t nDuration, nElapsed;
  float fKeyZoom[CDIBCamera::kMaxKeys];
  CVector keyPos[kSavedKeys];
};

CVector ReadVector(CRecordReader& in) {
  CVector v;
  v.x = in.F32();
  v.y = in.F32();
  v.z = in.F32();
  v.w = in.F32();
  return v;
}

void WriteVector(CRecordWriter& out, const CVector& v) {
  out.F32(v.x);
  out.F32(v.y);
  out.F32(v.z);
  out.F32(v.w);
}

bool Parse(const uint8_t* src, size_t size, CameraRecord* r) {
  CRecordReader in(src, size);
  r->bCamera = in.U8();
  r->bBillboard = in.U8();
  r->fXYRate = in.F32();
  r->fWRate = in.F32();
  r->eye = ReadVector(in);
  r->lookAt = ReadVector(in);
  r->up = ReadVector(in);
  r->fZoom = in.F32();
  r->bChange = in.U8();
  r->bMove = in.U8();
  r->nDuration = in.I32();
  r->nElapsed = in.I32();
  for (float& z : r->fKeyZoom) z = in.F32();
  for (CVector& p : r->keyPos) p = ReadVector(in);
  return in.Ok();
}

}  // namespace

uint8_t* CDIBCamera::Save(uint8_t* dst) const {
  Trace("CDIBCamera::Save");
  CRecordWriter out(dst);
  out.U8(mbCamera);
  out.U8(mbBillboard);
  out.F32(mfXYRate);
  out.F32(mfWRate);
  WriteVector(out, mEye);
  WriteVector(out, mLookAt);
  WriteVector(out, mUp);
  out.F32(mfZoom);
  out.U8(mbChange);
  out.U8(mbMove);
  out.I32(mnDuration);
  out.I32(mnElapsed);
  for (float z : mfKeyZoom) out.F32(z);
  for (int i = 0; i < kSavedKeys; ++i) WriteVector(out, mKeyPos[i]);
  return out.End();
}

size_t CDIBCamera::CheckRecord(const uint8_t* src, size_t size) {
  Trace("CDIBCamera::CheckRecord");
  CameraRecord r;
  return size >= kSaveSize && Parse(src, size, &r) ? kSaveSize : 0;
}

const uint8_t* CDIBCamera::Load(const uint8_t* src, size_t size) {
  Trace("CDIBCamera::Load");
  CameraRecord r;
  if (size < kSaveSize || !Parse(src, size, &r)) return nullptr;
  mbCamera = r.bCamera;
  mbBillboard = r.bBillboard;
  mfXYRate = r.fXYRate;
  mfWRate = r.fWRate;
  mEye = r.eye;
  mLookAt = r.lookAt;
  mUp = r.up;
  mfZoom = r.fZoom;
  mbChange = r.bChange;
  mbMove = r.bMove;
  mnDuration = r.nDuration;
  mnElapsed = r.nElapsed;
  memcpy(mfKeyZoom, r.fKeyZoom, sizeof mfKeyZoom);
  for (int i = 0; i < kSavedKeys; ++i) mKeyPos[i] = r.keyPos[i];
  return src + kSaveSize;
}
