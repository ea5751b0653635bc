// Undoing PNG's per-row filters (none, sub, up, average, Paeth) for 8-bit
// pixels of 3 or 4 bytes, in place. The plain rules are the reference;
// the vector form works a whole pixel a step and gives the same bytes.
#pragma once
#include <cstddef>
#include <cstdint>

namespace png {

// Undoes filter `type` on `row` (`bytes` long) given the row above it,
// already unfiltered (zeros above the first row). False for a type PNG
// does not have, leaving the row as it was.
bool UnfilterRowReference(uint8_t type, uint8_t* row, const uint8_t* prior, size_t bytes, size_t bpp);
// The same, a pixel at a time in vector registers where the processor has
// them (every x86-64 does); bpp must be 3 or 4.
bool UnfilterRow(uint8_t type, uint8_t* row, const uint8_t* prior, size_t bytes, size_t bpp);

}  // namespace png
