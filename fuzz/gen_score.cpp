// The score language on hostile scores: parsing, and one short note of the
// song's first instrument rendered.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gen/Preprocess.h"
#include "gen/Score.h"
#include "gen/Synth.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  gen::CPreprocessor pre;
  std::vector<gen::SourceLine> lines;
  std::string error;
  if (!pre.RunText("fuzz.score", text, &lines, &error) || lines.size() > 2000) return 0;
  gen::Song song;
  if (!gen::ParseScore(lines, &song, &error) || song.instruments.empty()) return 0;
  const gen::Instrument& in = song.instruments.begin()->second;
  // Long envelopes are allowed; the fuzzer only renders a short gate.
  if (in.release + in.decay * 4 < 2000) gen::RenderNote(in, song.tracks[0].notes.empty() ? 60 : song.tracks[0].notes[0].midi, 1, 400, 8000);
  return 0;
}
