// Writing parameters back as scenario source: the forms the compiler reads,
// chosen so that compiling them gives the very same bytes. What the plain
// forms cannot express comes out in a raw form ("<..>" bytes, "@(..)"
// expression pairs, "\xHH" text bytes).
#pragma once
#include <cstdint>
#include <string>

#include "scenario/TextCodec.h"

namespace snr {

// Label numbers below `labelCount` in label positions are written "*L<n>".
struct RenderLabels {
  uint32_t labelCount = 0;
};

// A text (without its terminator), in quotes.
std::string RenderText(const uint8_t* text, const uint8_t* end, TextCodec& codec);

// All parameters in [first, end), separated by ", ". `id` selects which
// parameters are labels and, with `varPositions` (a named command, not a raw
// CMD record), which name variables ("$n" for the literal n, "$[$n]" for the
// variable parameter n).
std::string RenderParams(uint16_t id, const uint8_t* first, const uint8_t* end, TextCodec& codec,
                         const RenderLabels& labels, bool varPositions = true);

}  // namespace snr
