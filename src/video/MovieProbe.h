// What a movie file holds and whether this build can play it, for the
// game maker's tool.
#pragma once
#include <cstdint>
#include <string>

#include "video/MovieDecoder.h"

struct MovieProbe {
  uint64_t size = 0;          // bytes
  bool bOpened = false;       // the container and the picture decoder open
  std::string error;          // why not, or why it cannot be played
  MovieFormat format;
  int pictures = 0;           // pictures decoded by the check (at most a few)
  bool bSound = false;        // sound came out of the audio decoder
  bool bPlayable = false;     // the player can show it
};

// Opens `path` the way the player does and decodes its first pictures.
// False when the file cannot be read at all.
bool ProbeMovie(const std::string& path, MovieProbe* out);
