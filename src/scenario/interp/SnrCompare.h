// The comparisons of the scenario's IF and CMPSTR commands.
#pragma once
#include <cstdint>

namespace snr {

// IF operator codes.
enum IfOperator : int32_t {
  kIfEqual = 0,
  kIfNotEqual = 1,
  kIfLess = 2,
  kIfGreater = 3,
  kIfLessEqual = 4,
  kIfGreaterEqual = 5,
};

// The code of an operator written as text ("==", "<>", the full-width "≦"
// in the build's encoding …), ignoring letter case; -1 when the text is
// none of them.
int32_t IfOperatorCode(const char* text);

// Whether `left` `code` `right` holds (signed); false for a code outside 0–5.
bool IfHolds(int32_t code, int32_t left, int32_t right);

// Same length and equal ignoring the case of single-byte ASCII letters. The
// second byte of a double-byte character is compared as it stands, so two
// different characters never compare equal.
bool SameTextIgnoringCase(const char* a, const char* b);

}  // namespace snr
