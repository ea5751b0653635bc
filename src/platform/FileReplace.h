// Replacing a whole file safely: the new contents go to a temporary file
// beside it ("<name>.tmpXXXXXX"), which is flushed to the disk and renamed
// over the old one, so a crash, a kill or a full disk in the middle leaves
// the previous file as it was. Saved games, the configuration save and
// "Novel.ini" are all written this way.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace plat {

// Replaces `path` with `size` bytes. False (the old file untouched, no
// temporary left behind, errno telling why) when any step fails. A path
// that is a symbolic link has the file it points to replaced.
bool WriteFileReplacing(const std::string& path, const void* data, size_t size);

// Tests stand in for a kill between writing and renaming: when the hook
// returns false the replacement stops there.
using BeforeRenameHook = bool (*)(const std::string& tempPath);
void SetBeforeRenameHook(BeforeRenameHook hook);

// True when `fileName` (no folder) is a temporary of a replacement of a
// file named `target`: `target` + ".tmp" + six letters or digits.
bool IsReplacementTemporary(const std::string& fileName, const std::string& target);

// Removes, from `dir`, the temporaries that a replacement of one of the
// files `isTarget` accepts left behind when it was killed: those whose last
// change is at least `minAgeSeconds` old (a younger one may belong to a
// replacement under way in another process). Returns how many went.
int RemoveStaleTemporaries(const std::string& dir, bool (*isTarget)(const std::string& name), int minAgeSeconds);

}  // namespace plat
