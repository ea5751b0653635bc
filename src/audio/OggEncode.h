// Making Ogg Vorbis files: for velto-tool and for the sounds the tests and
// benchmarks generate.
#pragma once
#include <cstdint>
#include <vector>

// Encodes interleaved 16-bit samples. False when the encoder refuses the
// rate or channel count.
bool EncodeOggVorbis(const std::vector<int16_t>& samples, uint32_t rate, uint32_t channels,
                     std::vector<uint8_t>& out, float quality = 0.4f);

// A sine tone of `freq` Hz lasting `ms` milliseconds (every channel the
// same), at `amplitude` of full scale.
std::vector<int16_t> MakeTone(double freq, uint32_t ms, uint32_t rate, uint32_t channels, double amplitude = 0.5);

bool EncodeOggTone(double freq, uint32_t ms, uint32_t rate, uint32_t channels, std::vector<uint8_t>& out);
