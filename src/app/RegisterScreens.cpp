#include "app/RegisterScreens.h"

#include "app/core/Trace.h"
#include "app/flow/ScreenFactory.h"
#include "screens/DIBMovieScreen.h"

void RegisterGameScreens() {
  Trace("RegisterGameScreens");
  RegisterScreen(SCREEN_MOVIE, &CDIBMovieScreen::Make);
}
