// The score language of the music generator: a song with instruments
// (simple synthesis) and tracks of notes in a small music macro language.
// See docs/music.md.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gen/Preprocess.h"

namespace gen {

// Ticks of a quarter note: a 32nd is 6, an eighth triplet 16.
constexpr int kTicksPerQuarter = 48;

enum class Wave { kSine, kTriangle, kSquare, kSaw, kNoise, kFM, kPluck, kKick, kSnare, kHat, kPad };

struct Instrument {
  Wave wave = Wave::kSine;
  double attack = 5, decay = 200, sustain = 0.6, release = 150;  // ms, level
  double cutoff = 0;        // Hz of the low-pass filter; 0 = none
  double resonance = 0.7;   // filter q
  double highpass = 0;      // Hz; 0 = none
  double detune = 0;        // cents between unison voices
  int voices = 1;
  double vibrato = 0;       // cents
  double vibratoRate = 5;   // Hz
  double tremolo = 0;       // 0 … 1
  double tremoloRate = 4;   // Hz
  double ratio = 2;         // FM: modulator frequency ÷ carrier
  double index = 2;         // FM: modulation depth at the start
  double indexDecay = 300;  // FM: ms for the depth to fall to a third
  double glide = 0;         // semitones the pitch starts away from the note
  double glideTime = 60;    // ms
  double gain = 1;
  double pulseWidth = 0.5;  // square
};

struct NoteEvent {
  int64_t tick = 0;
  int64_t length = 0;   // ticks the note sounds (before its release)
  double midi = 60;     // note number; fractional for detuned notes
  double velocity = 1;  // 0 … 1
};

struct Track {
  std::string instrument;
  double volume = 0.7;
  double pan = 0;  // -1 left … 1 right
  std::vector<NoteEvent> notes;
  int64_t end = 0;  // ticks of the whole track
};

struct Song {
  int rate = 44100;
  int channels = 2;
  double tempo = 120;   // quarters a minute
  bool loop = true;     // the end flows into the start: tails wrap round
  int64_t length = 0;   // ticks; 0 = the longest track rounded up to a bar
  int beatsPerBar = 4;
  double reverb = 0.2;  // 0 … 1 wet
  double room = 0.75;   // 0 … 1 reverb length
  double tail = 1500;   // ms of silence allowed after the last note (no loop)
  double peak = 0.85;   // the loudest sample, of full scale
  double quality = 0.4; // Ogg Vorbis quality
  std::map<std::string, Instrument> instruments;
  std::vector<Track> tracks;
};

// Reads a preprocessed score. False with "FILE:LINE: message".
bool ParseScore(const std::vector<SourceLine>& lines, Song* song, std::string* error);
// Reads one line of the note language into `track` from tick `*tick`, with
// the track's state (octave, length, velocity, gate) kept across lines.
struct MmlState {
  int octave = 4;
  int length = kTicksPerQuarter;
  double velocity = 100.0 / 127.0;
  int gate = 8;  // of 8
  int64_t tick = 0;
};
bool ParseMml(const std::string& text, MmlState* state, Track* track, std::string* error);

}  // namespace gen
