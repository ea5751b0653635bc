#include "app/RegisterScreens.h"

#include "app/core/Trace.h"
#include "app/flow/ScreenFactory.h"
#include "scenario/interp/DIBSnrScreen.h"
#include "screens/DIBConfScreen.h"
#include "screens/DIBMovieScreen.h"
#include "screens/DIBOmakeScreen.h"
#include "screens/DIBOptionScreen.h"
#include "screens/DIBSaveLoadScreen.h"
#include "screens/DIBSelectScreen.h"
#include "screens/DIBTitleScreen.h"

void RegisterGameScreens() {
  Trace("RegisterGameScreens");
  RegisterScreen(SCREEN_TITLE, &CDIBTitleScreen::Make);
  RegisterScreen(SCREEN_SAVELOAD, &CDIBSaveLoadScreen::Make);
  RegisterScreen(SCREEN_OPTION, &CDIBOptionScreen::Make);
  RegisterScreen(SCREEN_SNR, &CDIBSnrScreen::Make);
  RegisterScreen(SCREEN_MOVIE, &CDIBMovieScreen::Make);
  RegisterScreen(SCREEN_SELECT, &CDIBSelectScreen::Make);
  RegisterScreen(SCREEN_CONF, &CDIBConfScreen::Make);
  RegisterScreen(SCREEN_OMAKE, &CDIBOmakeScreen::Make);
}
