// The start blocks of the screens made through the screen factory, one
// struct per kind, laid out as the screens read them. A screen's own header
// may add helpers; the layout lives here so that any opener can fill it.
#pragma once
#include <cstdint>

// SCREEN_TITLE: 0 when the program starts (the opening plays first), 1 when
// the title is shown again after a game (the menu is shown at once).
struct TitleStartBlock {
  uint8_t bAfterGame;
};
