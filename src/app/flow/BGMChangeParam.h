// The music change that travels with a screen switch, filled by the screen
// that asks for the switch.
#pragma once
#include <cstdint>

// Flags.
enum : uint32_t {
  BGMCHANGE_PLAY = 1,     // play the named music
  BGMCHANGE_STOP = 2,     // stop the current music first
  BGMCHANGE_RESTART = 4,  // restart even if the named music already plays
};

struct BGMChangeParam {
  char szName[256];  // zero-terminated
  uint32_t dwFlags;
  uint32_t dwDelay;    // ms before the change starts
  uint32_t dwFadeIn;   // ms, for CBGMBuffer::Play
  uint32_t dwFadeOut;  // ms, for CBGMBuffer::Stop
};
static_assert(sizeof(BGMChangeParam) == 272, "the music change record is 272 bytes");
