// The start blocks of the screens made through the screen factory, one
// struct per kind, laid out as the screens read them. The layout lives here
// so that any opener can fill it without knowing the screen's class.
#pragma once
#include <cstdint>

class CBaseGame;

// SCREEN_TITLE: 0 when the program starts (the opening plays first), 1 when
// the title is shown again after a game (the menu is shown at once).
struct TitleStartBlock {
  uint8_t bAfterGame;
};

// SCREEN_SNR: a new story from a scenario file, or a saved game restored.
struct SnrStartBlock {
  int32_t nLoad;           // non-zero: restore the saved game of nSlot
  int32_t nSlot;           // the save slot to restore
  char szScenario[256];    // the scenario file to start (without nLoad)
  char szReturnBGM[64];    // music to return to when the story ends; "" = none
};
static_assert(sizeof(SnrStartBlock) == 328, "the scenario screen's start block is 328 bytes");

// SCREEN_SAVELOAD: the mode byte.
enum : uint8_t { SAVELOAD_SAVE = 0, SAVELOAD_LOAD = 1 };
struct SaveLoadStartBlock {
  uint8_t bMode;
};

// SCREEN_OPTION: the block is not read.
struct OptionStartBlock {
  uint8_t bUnused;
};

// SCREEN_SELECT: built by the choice command.
struct SelectStartBlock {
  int32_t nVar;            // the scenario variable that receives the result
  char szBack[260];        // background picture; "" = none
  int32_t nCount;          // number of choices, at least 1
  int32_t nItem[256];      // item numbers; the first nCount are used
};

// SCREEN_CONF: a question answered through the receiver's Reaction.
struct ConfStartBlock {
  int32_t nMessage;        // message number 0 … 4
  CBaseGame* pReceiver;    // receives Reaction(nCode, answer); normally the opener
  int32_t nCode;           // handed back unchanged
};

// SCREEN_OMAKE: the title music, restarted on return when it has stopped.
struct OmakeStartBlock {
  char szReturnBGM[64];
};

// SCREEN_MOVIE.
struct MovieStartBlock {
  char szMovie[64];        // movie file name
  bool bGrab;              // true: the program draws the frames; false: the video window
  bool bSkip;              // the player may cut the movie short
  char szReturnBGM[64];    // music to start when returning; "" = none
};
