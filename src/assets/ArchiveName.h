// The order of names inside archives. Archives are built on the desktop
// platform sorted by its case-insensitive string comparison (lstrcmpiA),
// and lookup bisects that order, so we must compare the same way. That
// order is not ASCII order: punctuation sorts before digits and digits
// before letters ("." < "_" < "0" < "A"), letter case is ignored, and the
// hyphen and apostrophe are passed over at first ("BG-02" sorts after
// "BG01"), deciding only between names otherwise equal.
#pragma once
#include <cstddef>

// < 0, 0 or > 0 as `a` sorts before, equal to or after `b`. Each name ends
// at its length or at its first NUL byte, whichever comes first.
int CompareArchiveName(const char* a, size_t aLength, const char* b, size_t bLength);
int CompareArchiveName(const char* a, const char* b);
