// Writes generated sound by the extension of the path: ".ogg" Ogg Vorbis
// (what the game plays), ".wav" 16-bit PCM for listening and checking.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace gen {

bool WriteSound(const std::string& path, const std::vector<int16_t>& samples, int rate, int channels, float quality,
                std::string* error);

}  // namespace gen
