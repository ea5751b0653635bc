#include "ui/FrameSheet.h"

#include "app/core/Trace.h"
#include "assets/DIBSprite.h"

namespace frames {

bool Get(CDIBSprite* sprite, int32_t frame, Rect* out) {
  Trace("frames::Get");
  const SprtElement* e = sprite ? sprite->GetSprtInfo(frame) : nullptr;
  if (!e) return false;
  *out = Rect{e->x, e->y, e->w, e->h};
  return true;
}

bool SetVertex(CDIBSprite* sprite, SprtVertex* out, int32_t frame, int32_t x, int32_t y, uint32_t color) {
  Trace("frames::SetVertex");
  Rect r;
  if (!Get(sprite, frame, &r)) {
    *out = SprtVertex{};
    return false;
  }
  sprite->SetVertex(*out, frame, x, y, color);
  return true;
}

}  // namespace frames
