// The virtual screen's saved-game record: the front page index, the screen
// action, the 256 action records, the 32 layer records (page 0, then page
// 1) and the two camera records. The transition is not saved. A record is
// checked whole before anything is taken from it.
#include <new>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBDisplay.h"
#include "scene/DIBOverlap.h"
#include "scene/DIBSnrVVram.h"
#include "scene/RecordIO.h"

uint8_t* CDIBSnrVVram::Save(uint8_t* dst) const {
  Trace("CDIBSnrVVram::Save");
  CRecordWriter out(dst);
  out.I32(mnFront);
  out.I32(mnScreenAction);
  uint8_t* at = out.End();
  for (int i = 0; i < kActionCount; ++i) {
    if (mpAction) {
      at = mpAction[i].Save(at);
    } else {
      CDIBSnrAction empty;
      at = empty.Save(at);
    }
  }
  for (const auto& page : mLayer)
    for (const CDIBSnrLayer& layer : page) at = layer.Save(at);
  for (const CDIBCamera& camera : mCamera) at = camera.Save(at);
  return at;
}

size_t CDIBSnrVVram::CheckRecord(const uint8_t* src, size_t size) {
  Trace("CDIBSnrVVram::CheckRecord");
  if (!src) return 0;
  CRecordReader head(src, size);
  const int32_t front = head.I32();
  const int32_t screenAction = head.I32();
  if (!head.Ok() || (front != 0 && front != 1) || screenAction < 0 || screenAction > kActionCount) return 0;
  size_t at = 8;
  for (int i = 0; i < kActionCount; ++i) {
    const size_t n = CDIBSnrAction::CheckRecord(src + at, size - at);
    if (n == 0) return 0;
    at += n;
  }
  for (int i = 0; i < 2 * kLayerCount; ++i) {
    if (CDIBSnrLayer::CheckRecord(src + at, size - at) == 0) return 0;
    at += CDIBSnrLayer::kSaveSize;
  }
  for (int i = 0; i < 2; ++i) {
    if (CDIBCamera::CheckRecord(src + at, size - at) == 0) return 0;
    at += CDIBCamera::kSaveSize;
  }
  return at;
}

const uint8_t* CDIBSnrVVram::Load(const uint8_t* src, size_t size) {
  Trace("CDIBSnrVVram::Load");
  // Every part is checked before the running state is touched.
  if (!mpAction || CheckRecord(src, size) == 0) return nullptr;
  CRecordReader head(src, size);
  const int32_t front = head.I32();
  const int32_t screenAction = head.I32();

  // A transition in flight belongs to the state being replaced; ending it
  // through Move would swap the restored pages.
  mpOverlap.reset(new (std::nothrow) CDIBOverlap);
  mnFront = front;
  mnScreenAction = screenAction;
  const uint8_t* p = src + 8;
  const uint8_t* end = src + size;
  for (int i = 0; i < kActionCount; ++i) p = mpAction[i].Load(p, static_cast<size_t>(end - p));
  for (auto& page : mLayer)
    for (CDIBSnrLayer& layer : page) p = layer.Load(p, static_cast<size_t>(end - p));
  for (CDIBCamera& camera : mCamera) p = camera.Load(p, static_cast<size_t>(end - p));

  Compose(0);
  Compose(1);
  if (gpMainWindow && gpMainWindow->mpDisplay) gpMainWindow->mpDisplay->InvalidateAll();
  return p;
}
