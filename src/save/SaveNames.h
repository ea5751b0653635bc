// The names the save data keys its records by: scenario files, pictures and
// scenes are named without their extension and compared without regard to
// case, so "s03.msd", "S03" and "S03.MSD" are one record.
#pragma once
#include <strings.h>

#include <cstring>

#include "save/SaveTypes.h"

namespace save {

// `name` cut at its first ".", at most kNameLen - 1 bytes, zero-filled.
inline void NameStem(const char* name, char (&out)[kNameLen]) {
  memset(out, 0, sizeof out);
  if (name) strncpy(out, name, kNameLen - 1);
  if (char* dot = strchr(out, '.')) *dot = 0;
}

inline bool SameName(const char* a, const char* b) { return strcasecmp(a, b) == 0; }

}  // namespace save
