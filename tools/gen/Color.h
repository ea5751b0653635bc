// Colours in generator sources: "#rgb", "#rrggbb" or "#rrggbbaa" (alpha
// last, as the web writes it) or "0xAARRGGBB" (as the engine stores it).
#pragma once
#include <cstdint>
#include <string>

namespace gen {

// False when `text` is not one of the forms above.
bool ParseColor(const std::string& text, uint32_t* argb);
// "#rrggbb" for opaque colours, else "#rrggbbaa".
std::string FormatColor(uint32_t argb);
// Each channel a + (b - a) * t, rounded; t is clamped to 0 … 1.
uint32_t MixColor(uint32_t a, uint32_t b, double t);

}  // namespace gen
