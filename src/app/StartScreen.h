// The first screen of the game: the title screen registered with the screen
// factory, unless a program that embeds the engine (a test, a tool) names
// its own first screen here.
#pragma once
#include <functional>

class CDIBBaseScreen;

using StartScreenFactory = std::function<CDIBBaseScreen*()>;

// Replaces the first screen the game starts with (empty: the built-in one).
void SetStartScreenFactory(StartScreenFactory factory);

// Makes the first screen; null when it cannot be made. `expected` tells
// whether a first screen exists at all in this build: without one the
// screen flow runs empty and shows black. `startScenario` (a game maker's
// --start) begins a new game from that scenario instead of the title: on
// the game's scenario screen when one is registered, otherwise on the bare
// interpreter, which plays the story's pictures, sound and logic.
CDIBBaseScreen* GetStartGameScreen(bool* expected, const char* startScenario = nullptr);
