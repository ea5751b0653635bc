// How screens are made for the screen factory: the class's setup
// table is read first where it has one (a table that cannot be read leaves
// the built-in layout), then the screen is initialized from its start
// block. Null when it cannot be made; the screen has shown its own box.
#pragma once
#include <new>

class CBaseGame;
class CDIBBaseScreen;

// The body of a screen class's static Make, the maker RegisterScreen takes.
template <class Screen, class Block>
CDIBBaseScreen* MakeScreen(CBaseGame* parent, const void* startBlock) {
  if constexpr (requires { Screen::SetupStatic(); }) {
    if (!Screen::IsSetupLoaded()) Screen::SetupStatic();
  }
  auto* screen = new (std::nothrow) Screen(parent);
  if (!screen) return nullptr;
  if (!screen->Initialize(static_cast<const Block*>(startBlock))) {
    delete screen;
    return nullptr;
  }
  return screen;
}

