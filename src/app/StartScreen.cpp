#include "app/StartScreen.h"

#include "app/core/Trace.h"
#include "app/flow/ScreenBlocks.h"
#include "app/flow/ScreenFactory.h"
#include "scenario/interp/DIBSnrBaseScreen.h"
#include "screens/DIBConfScreen.h"
#include "text/MesWnd.h"

#include <cstdio>

namespace {
StartScreenFactory& Factory() {
  static StartScreenFactory factory;
  return factory;
}
}  // namespace

void SetStartScreenFactory(StartScreenFactory factory) { Factory() = std::move(factory); }

namespace {

CDIBBaseScreen* StartScenarioScreen(const char* name) {
  SnrStartBlock block{};
  snprintf(block.szScenario, sizeof block.szScenario, "%s", name);
  if (HasScreen(SCREEN_SNR)) return CreateScreen(SCREEN_SNR, nullptr, &block);
  auto* screen = new CDIBSnrBaseScreen(nullptr);
  if (screen->Initialize(&block) && screen->ReadScenario(block.szScenario)) return screen;
  delete screen;
  return nullptr;
}

}  // namespace

CDIBBaseScreen* GetStartGameScreen(bool* expected, const char* startScenario) {
  Trace("GetStartGameScreen");
  // The one-time set-up of the screens' shared layouts.
  CDIBConfScreen::SetupStatic();
  CDIBMesWnd::SetupStatic();
  if (Factory()) {
    *expected = true;
    return Factory()();
  }
  if (startScenario && *startScenario) {
    *expected = true;
    return StartScenarioScreen(startScenario);
  }
  // The game's own first screen is its title, opening first.
  *expected = HasScreen(SCREEN_TITLE);
  if (!*expected) return nullptr;
  TitleStartBlock block{0};
  return CreateScreen(SCREEN_TITLE, nullptr, &block);
}
