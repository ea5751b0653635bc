// A small speech-like synthesiser for the voices of a game made without
// recordings: the text is read as syllables (kana as they sound, other
// characters as syllables drawn from the character), each made of a
// consonant (bursts, hiss, nasal murmur) and a vowel (a glottal pulse train
// shaped by formant resonators), sung along a pitch contour with the
// speaker's pitch, formants and pace. Chinese text is read with tones.
// The result sounds like speech in an unknown language, which is all a
// demo's voices need.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace gen {

struct Speaker {
  double pitch = 220;     // Hz of a calm voice
  double formant = 1.0;   // formant scale: 1 a woman, about 0.85 a man
  double speed = 1.0;     // syllables faster (> 1) or slower
  double breath = 0.06;   // breathiness 0 … 1
  double expressive = 1;  // how far the pitch moves
};

// Speaker presets by name: "girl", "woman", "boy", "man", "old".
bool SpeakerPreset(const std::string& name, Speaker* out);

// Renders `text` (UTF-8) as mono 16-bit samples at `rate`.
std::vector<int16_t> RenderVoice(const std::string& text, const Speaker& speaker, int rate);

}  // namespace gen
