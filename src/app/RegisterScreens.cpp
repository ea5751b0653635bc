#include "app/RegisterScreens.h"

#include "app/core/Trace.h"
#include "app/flow/ScreenFactory.h"
#include "scenario/interp/DIBSnrScreen.h"
#include "screens/DIBConfScreen.h"
#include "screens/DIBMovieScreen.h"
#include "screens/DIBSelectScreen.h"

void RegisterGameScreens() {
  Trace("RegisterGameScreens");
  RegisterScreen(SCREEN_SNR, &CDIBSnrScreen::Make);
  RegisterScreen(SCREEN_MOVIE, &CDIBMovieScreen::Make);
  RegisterScreen(SCREEN_SELECT, &CDIBSelectScreen::Make);
  RegisterScreen(SCREEN_CONF, &CDIBConfScreen::Make);
}
