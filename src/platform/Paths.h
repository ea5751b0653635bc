// Where the game lives, and finding its files when their names' case differs
// from what the data asks for (game data made on case-blind systems).
#pragma once
#include <string>

namespace plat {

// The installation directory: `commandLineDir` when given, else the
// environment variable VELTO_INSTPATH, else the game installed beside the
// program (InstalledGameDir), else the current directory. Always ends in
// '/'.
std::string FindInstallDir(const char* commandLineDir);
// The game folder an installation puts beside the program,
// <program's folder>/../share/veltogame/game/; "" when there is none.
std::string InstalledGameDir();

// Ensures a trailing '/' on a non-empty path (and turns '\' into '/').
std::string WithSeparator(std::string dir);

// Finds `name` (which may contain '/' or '\' separators) under `dir`, each
// component matched without regard to ASCII case. An exact match wins.
// Returns the full path of the existing file, or "" when there is none.
std::string ResolveCaseInsensitive(const std::string& dir, const std::string& name);

// Like ResolveCaseInsensitive, but when the file does not exist yet returns
// the path to create (the folders resolved where they exist).
std::string ResolveForWrite(const std::string& dir, const std::string& name);

bool FileExists(const std::string& path);
bool IsDirectory(const std::string& path);
bool MakeDirectory(const std::string& path);

}  // namespace plat
