#include "scene/DIBSnrLayer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "assets/SprtVertex.h"
#include "scene/DIBCamera.h"
#include "scene/DIBSnrAction.h"
#include "scene/RecordIO.h"
#include "scene/SceneQuad.h"

namespace {

CSpriteCache* Cache() { return gpMainWindow ? gpMainWindow->mpSpriteCache : nullptr; }

uint32_t Channel(int32_t v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); }

// The record's fields after the name, as stored.
struct LayerRecord {
  uint8_t bChange;
  char szName[CDIBSnrLayer::kNameSize];
  int32_t nX, nY, nZ, nBaseWidth, nBaseHeight;
  uint32_t dwColor;
  uint8_t bBlend, bAnti;
  int32_t nAction;
  uint8_t bCamera, bBillboard;
  float fXYRate, fWRate;
};

bool Parse(const uint8_t* src, size_t size, LayerRecord* r) {
  CRecordReader in(src, size);
  r->bChange = in.U8();
  in.Text(r->szName, sizeof r->szName);
  r->nX = in.I32();
  r->nY = in.I32();
  r->nZ = in.I32();
  r->nBaseWidth = in.I32();
  r->nBaseHeight = in.I32();
  r->dwColor = in.U32();
  r->bBlend = in.U8();
  r->bAnti = in.U8();
  r->nAction = in.I32();
  r->bCamera = in.U8();
  r->bBillboard = in.U8();
  r->fXYRate = in.F32();
  r->fWRate = in.F32();
  return in.Ok() && r->nAction >= 0 && r->nAction <= CDIBSnrLayer::kActionCount;
}

}  // namespace

CDIBSnrLayer::~CDIBSnrLayer() {
  Trace("CDIBSnrLayer::~CDIBSnrLayer");
  CDIBSnrLayer::Release();
}

bool CDIBSnrLayer::Initialize(CDIBSnrAction* actions) {
  Trace("CDIBSnrLayer::Initialize");
  Release();
  mpActionTbl = actions;
  mProp = SnrLayerProp();
  return true;
}

void CDIBSnrLayer::Release() {
  Trace("CDIBSnrLayer::Release");
  if (mProp.pImage) {
    if (CSpriteCache* cache = Cache()) cache->Free(mProp.pImage);
    mProp.pImage = nullptr;
  }
}

void CDIBSnrLayer::SetDefaultProp() {
  Trace("CDIBSnrLayer::SetDefaultProp");
  Release();
  mProp = SnrLayerProp();
}

bool CDIBSnrLayer::SetImage(const char* name) {
  Trace("CDIBSnrLayer::SetImage");
  mProp.bChange = 1;
  CDIBSprite* old = mProp.pImage;
  mProp.pImage = nullptr;
  CSpriteCache* cache = Cache();
  // The new picture is taken before the old one is given back, so that
  // showing the same picture again never evicts and rereads it.
  CDIBSprite* taken = nullptr;
  if (name && name[0] && cache) taken = cache->Read(name);
  if (old && cache) cache->Free(old);
  mProp.pImage = taken;
  return taken != nullptr || !name || !name[0];
}

void CDIBSnrLayer::SetPos(int32_t x, int32_t y, int32_t z) {
  Trace("CDIBSnrLayer::SetPos");
  mProp.nX = x;
  mProp.nY = y;
  mProp.nZ = z;
  mProp.bChange = 1;
}

void CDIBSnrLayer::SetBaseSize(int32_t width, int32_t height) {
  Trace("CDIBSnrLayer::SetBaseSize");
  mProp.nBaseWidth = width;
  mProp.nBaseHeight = height;
  mProp.bChange = 1;
}

void CDIBSnrLayer::SetColor(int32_t alpha, int32_t red, int32_t green, int32_t blue) {
  Trace("CDIBSnrLayer::SetColor");
  mProp.dwColor = Channel(alpha) << 24 | Channel(red) << 16 | Channel(green) << 8 | Channel(blue);
  mProp.bChange = 1;
}

void CDIBSnrLayer::SetBlend(bool blend) {
  Trace("CDIBSnrLayer::SetBlend");
  mProp.bBlend = blend ? 1 : 0;
  mProp.bChange = 1;
}

void CDIBSnrLayer::SetAnti(bool anti) {
  Trace("CDIBSnrLayer::SetAnti");
  mProp.bAnti = anti ? 1 : 0;
  mProp.bChange = 1;
}

void CDIBSnrLayer::SetAction(int32_t action) {
  Trace("CDIBSnrLayer::SetAction");
  // A number beyond the table would also make the saved game unreadable.
  mProp.nAction = action >= 1 && action <= kActionCount ? action : 0;
  mProp.bChange = 1;
}

void CDIBSnrLayer::SetCameraState(bool camera, bool billboard, float xyRate, float wRate) {
  Trace("CDIBSnrLayer::SetCameraState");
  mProp.bCamera = camera ? 1 : 0;
  mProp.bBillboard = billboard ? 1 : 0;
  mProp.fXYRate = std::isfinite(xyRate) ? xyRate : 1.0f;
  mProp.fWRate = std::isfinite(wRate) ? wRate : 1.0f;
  mProp.bChange = 1;
}

const SnrLayerProp* CDIBSnrLayer::GetProp() const {
  Trace("CDIBSnrLayer::GetProp");
  return &mProp;
}

bool CDIBSnrLayer::IsChanged() const {
  Trace("CDIBSnrLayer::IsChanged");
  return mProp.bChange != 0;
}

const char* CDIBSnrLayer::GetImageName() const {
  Trace("CDIBSnrLayer::GetImageName");
  return mProp.pImage ? mProp.pImage->GetName() : "";
}

CDIBSnrAction* CDIBSnrLayer::GetAction() const {
  Trace("CDIBSnrLayer::GetAction");
  if (!mpActionTbl || mProp.nAction < 1 || mProp.nAction > kActionCount) return nullptr;
  return &mpActionTbl[mProp.nAction - 1];
}

void CDIBSnrLayer::Move() {
  Trace("CDIBSnrLayer::Move");
  const CDIBSnrAction* action = GetAction();
  mProp.bChange = action && action->IsUpdate() ? 1 : 0;
}

void CDIBSnrLayer::Draw(CDIBImage* target, CDIBCamera* camera) {
  Trace("CDIBSnrLayer::Draw");
  CDIBSprite* image = mProp.pImage;
  if (!image || !image->GetPixels() || !target || !target->GetPixels()) return;
  if (camera) camera->SetLayerState(mProp.bCamera != 0, mProp.bBillboard != 0, mProp.fXYRate, mProp.fWRate);
  const int32_t width = mProp.nBaseWidth != 0 ? mProp.nBaseWidth : image->GetWidth();
  const int32_t height = mProp.nBaseHeight != 0 ? mProp.nBaseHeight : image->GetHeight();
  if (CDIBSnrAction* action = GetAction()) {
    LayerDrawParam param;
    param.pTarget = target;
    param.nX = mProp.nX;
    param.nY = mProp.nY;
    param.nZ = mProp.nZ;
    param.pImage = image;
    param.nWidth = width;
    param.nHeight = height;
    param.dwColor = mProp.dwColor;
    param.bBlend = mProp.bBlend;
    param.bAnti = mProp.bAnti;
    param.pCamera = camera;
    action->Draw(&param);
    return;
  }
  SprtVertex quad;
  scene::SetRectQuad(quad, image, mProp.nX, mProp.nY, mProp.nZ, width, height, mProp.dwColor);
  if (camera) {
    camera->Transform(&quad, 1);
    if (CDIBCamera::IsCleared(quad)) return;
  }
  scene::DrawByRule(image, target, quad, mProp.bBlend != 0, mProp.bAnti != 0);
}

bool CDIBSnrLayer::GetBlit(CDIBCamera* camera, LayerBlit* out) {
  Trace("CDIBSnrLayer::GetBlit");
  *out = LayerBlit();
  CDIBSprite* image = mProp.pImage;
  if (!image || !image->GetPixels()) return true;
  if (GetAction()) return false;
  if (camera) camera->SetLayerState(mProp.bCamera != 0, mProp.bBillboard != 0, mProp.fXYRate, mProp.fWRate);
  const int32_t width = mProp.nBaseWidth != 0 ? mProp.nBaseWidth : image->GetWidth();
  const int32_t height = mProp.nBaseHeight != 0 ? mProp.nBaseHeight : image->GetHeight();
  SprtVertex quad;
  scene::SetRectQuad(quad, image, mProp.nX, mProp.nY, mProp.nZ, width, height, mProp.dwColor);
  if (camera) {
    camera->Transform(&quad, 1);
    if (CDIBCamera::IsCleared(quad)) return true;
  }
  if (!scene::IsUnscaledRect(quad)) return false;
  out->op = mProp.bBlend ? LayerBlit::kBlend : mProp.dwColor == 0xFFFFFFFFu ? LayerBlit::kCopy : LayerBlit::kOpaque;
  out->pSrc = image;
  out->x = quad.dst[0].x;
  out->y = quad.dst[0].y;
  out->sx = quad.src[0].u;
  out->sy = quad.src[0].v;
  out->w = quad.dst[1].x - quad.dst[0].x + 1;
  out->h = quad.dst[3].y - quad.dst[0].y + 1;
  out->color = mProp.dwColor;
  return true;
}

uint8_t* CDIBSnrLayer::Save(uint8_t* dst) const {
  Trace("CDIBSnrLayer::Save");
  CRecordWriter out(dst);
  out.U8(mProp.bChange);
  out.Text(GetImageName(), kNameSize);
  out.I32(mProp.nX);
  out.I32(mProp.nY);
  out.I32(mProp.nZ);
  out.I32(mProp.nBaseWidth);
  out.I32(mProp.nBaseHeight);
  out.U32(mProp.dwColor);
  out.U8(mProp.bBlend);
  out.U8(mProp.bAnti);
  out.I32(mProp.nAction);
  out.U8(mProp.bCamera);
  out.U8(mProp.bBillboard);
  out.F32(mProp.fXYRate);
  out.F32(mProp.fWRate);
  return out.End();
}

size_t CDIBSnrLayer::CheckRecord(const uint8_t* src, size_t size) {
  Trace("CDIBSnrLayer::CheckRecord");
  LayerRecord r;
  return Parse(src, size, &r) ? kSaveSize : 0;
}

const uint8_t* CDIBSnrLayer::Load(const uint8_t* src, size_t size) {
  Trace("CDIBSnrLayer::Load");
  LayerRecord r;
  if (!Parse(src, size, &r)) return nullptr;
  Release();
  // A picture that cannot be read any more leaves the layer empty; the
  // rest of the game goes on.
  CSpriteCache* cache = Cache();
  mProp.pImage = r.szName[0] && cache ? cache->Read(r.szName) : nullptr;
  mProp.bChange = r.bChange;
  mProp.nX = r.nX;
  mProp.nY = r.nY;
  mProp.nZ = r.nZ;
  mProp.nBaseWidth = r.nBaseWidth;
  mProp.nBaseHeight = r.nBaseHeight;
  mProp.dwColor = r.dwColor;
  mProp.bBlend = r.bBlend;
  mProp.bAnti = r.bAnti;
  mProp.nAction = r.nAction;
  mProp.bCamera = r.bCamera;
  mProp.bBillboard = r.bBillboard;
  mProp.fXYRate = r.fXYRate;
  mProp.fWRate = r.fWRate;
  return src + kSaveSize;
}
