#include "app/StartScreen.h"

#include "app/core/Trace.h"
#include "app/flow/ScreenBlocks.h"
#include "app/flow/ScreenFactory.h"
#include "text/MesWnd.h"

namespace {
StartScreenFactory& Factory() {
  static StartScreenFactory factory;
  return factory;
}
}  // namespace

void SetStartScreenFactory(StartScreenFactory factory) { Factory() = std::move(factory); }

CDIBBaseScreen* GetStartGameScreen(bool* expected) {
  Trace("GetStartGameScreen");
  // The one-time set-up of the screens' shared layouts.
  CDIBMesWnd::SetupStatic();
  if (Factory()) {
    *expected = true;
    return Factory()();
  }
  // The game's own first screen is its title, opening first.
  *expected = HasScreen(SCREEN_TITLE);
  if (!*expected) return nullptr;
  TitleStartBlock block{0};
  return CreateScreen(SCREEN_TITLE, nullptr, &block);
}
