#include "app/StartScreen.h"

#include "app/core/Trace.h"

namespace {
StartScreenFactory& Factory() {
  static StartScreenFactory factory;
  return factory;
}
}  // namespace

void SetStartScreenFactory(StartScreenFactory factory) { Factory() = std::move(factory); }

CDIBBaseScreen* GetStartGameScreen(bool* expected) {
  Trace("GetStartGameScreen");
  *expected = static_cast<bool>(Factory());
  return *expected ? Factory()() : nullptr;
}
