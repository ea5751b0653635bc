// The game's screens, made known to the screen factory by kind.
#pragma once

// Registers every screen of the game; called once at start-up, before the
// first screen is made.
void RegisterGameScreens();
