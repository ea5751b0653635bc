// Turns a score into sound: each note is synthesised by its instrument and
// mixed into the song; a looping song is rendered round a ring, so that
// the tails of the last notes and the reverb sound over its start and the
// piece loops without a seam when the player restarts it at sample 0.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gen/Score.h"

namespace gen {

// Interleaved 16-bit samples of the song (song.channels of them a frame).
bool RenderSong(const Song& song, std::vector<int16_t>* out, std::string* error);
// One note of an instrument, mono, at `rate`, lasting `gateSamples` before
// its release; the result includes the release.
std::vector<float> RenderNote(const Instrument& in, double midi, double velocity, int64_t gateSamples, int rate);

}  // namespace gen
