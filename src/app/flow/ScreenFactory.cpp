#include "app/flow/ScreenFactory.h"

#include "app/core/Trace.h"

namespace {
ScreenMaker gMakers[SCREEN_KIND_COUNT] = {};

bool Valid(ScreenKind kind) { return kind >= 0 && kind < SCREEN_KIND_COUNT; }
}  // namespace

void RegisterScreen(ScreenKind kind, ScreenMaker maker) {
  if (Valid(kind)) gMakers[kind] = maker;
}

bool HasScreen(ScreenKind kind) { return Valid(kind) && gMakers[kind] != nullptr; }

ScreenMaker GetScreenMaker(ScreenKind kind) { return Valid(kind) ? gMakers[kind] : nullptr; }

CDIBBaseScreen* CreateScreen(ScreenKind kind, CBaseGame* parent, const void* startBlock) {
  Trace("CreateScreen");
  if (!HasScreen(kind)) return nullptr;
  return gMakers[kind](parent, startBlock);
}

void ClearScreenMakers() {
  for (ScreenMaker& m : gMakers) m = nullptr;
}
