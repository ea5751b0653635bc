// The first screen of the game. The game's own screens (title and the rest)
// are made here once they exist in the build; until then a program that
// embeds the engine (a test, a tool) may name its own first screen.
#pragma once
#include <functional>

class CDIBBaseScreen;

using StartScreenFactory = std::function<CDIBBaseScreen*()>;

// Replaces the first screen the game starts with (empty: the built-in one).
void SetStartScreenFactory(StartScreenFactory factory);

// Makes the first screen; null when it cannot be made. `expected` tells
// whether a first screen exists at all in this build: without one the
// screen flow runs empty and shows black.
CDIBBaseScreen* GetStartGameScreen(bool* expected);
