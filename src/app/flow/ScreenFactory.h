// Where a lower subsystem must open a screen that a higher one implements
// (the message window opens the save/load screen, the scenario screen opens
// the movie screen, every game screen opens the confirmation screen), it asks
// this factory for the screen by kind. The application registers the real
// screens at start-up; tests register their own. Each kind's start block is
// declared beside this header (ScreenBlocks.h), so that the opener can fill it
// without knowing the screen's class.
#pragma once

class CBaseGame;
class CDIBBaseScreen;

enum ScreenKind : int {
  SCREEN_TITLE = 0,
  SCREEN_SNR,       // the scenario screen
  SCREEN_SAVELOAD,
  SCREEN_OPTION,
  SCREEN_SELECT,    // the choice screen
  SCREEN_CONF,      // the confirmation screen
  SCREEN_OMAKE,     // the extras screen
  SCREEN_MOVIE,
  SCREEN_KIND_COUNT
};

// Constructs the screen with its parent and initialises it with the start
// block; returns null (having deleted what it made) when either fails.
using ScreenMaker = CDIBBaseScreen* (*)(CBaseGame* parent, const void* startBlock);

// Registers (or, with null, withdraws) the maker of one kind.
void RegisterScreen(ScreenKind kind, ScreenMaker maker);
bool HasScreen(ScreenKind kind);
// The registered maker of a kind, or null (tests wrap the real makers).
ScreenMaker GetScreenMaker(ScreenKind kind);
// Null when the kind is not registered or the screen cannot be made; the
// caller then does what it does for a screen that cannot be created.
CDIBBaseScreen* CreateScreen(ScreenKind kind, CBaseGame* parent, const void* startBlock);
// Withdraws every maker (tests, and the end of the program).
void ClearScreenMakers();
