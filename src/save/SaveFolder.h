// Where the saves live. Normally the folder "SAVE" of the installation
// directory. When the installation cannot be written (a game installed
// read-only), saves and the write-back of "Novel.ini" go to a per-user
// folder, ${XDG_DATA_HOME:-~/.local/share}/veltogame/<name>-<key>/, which
// is read first; the installation's own files are still read when the
// per-user folder has none. <name> is the game folder's name, <key> eight
// hexadecimal digits of a hash of its absolute path, so that two games in
// folders of the same name keep their saves and settings apart.
#pragma once
#include <string>
#include <vector>

namespace save {

struct SaveLocation {
  std::string writeRoot;               // ends in '/'; "SAVE" is made here
  std::vector<std::string> readRoots;  // searched in order, each ends in '/'
  bool perUser = false;
};

// The pure decision for an absolute `installDir`. `xdgDataHome` and `home`
// are the environment's values (null or empty when unset; only absolute ones
// count). Without either, a read-only installation has no place to save:
// the location comes back with an empty `writeRoot`.
SaveLocation ChooseSaveLocation(const std::string& installDir, bool installWritable, const char* xdgDataHome,
                                const char* home);
// "<folder name>-<key>" of the per-user folder of an absolute `installDir`.
std::string InstallationKey(const std::string& installDir);
// `installDir` made absolute, links resolved when it exists; ends in '/'.
std::string AbsoluteInstallDir(const std::string& installDir);
// The user's home folder: HOME, else the account's record; "" when neither.
std::string UserHome();

// Creates the folder and its missing parents. False when it cannot.
bool MakeFolders(const std::string& path);

// Probes the installation directory (and its "SAVE" folder when present) by
// creating and removing a file in it.
bool CanWriteInstallDir(const std::string& installDir);

// Decides once for this installation: probes, picks the location, creates
// the per-user folder when needed and says so once on standard error.
// False, with the reason in `error`, when there is nowhere to save.
bool SetupSaveLocation(const std::string& installDir, std::string& error);
// The per-user folder of this installation (ends in '/'), whether or not it
// is in use; "" when the user has no home folder.
std::string PerUserFolder(const std::string& installDir);
// Uses exactly this location (tests, tools).
void SetSaveLocation(const SaveLocation& location);
// The location in use; before any set-up, the installation directory of
// the application object.
const SaveLocation& CurrentSaveLocation();

// The "SAVE" folder written to, ending without a separator.
std::string SaveFolderForWrite();
// The path of file `name` in the first "SAVE" folder that holds it (name
// compared without regard to case); "" when none does.
std::string FindSaveFile(const std::string& name);

// The "Novel.ini" to read and write. With a per-user location it is the
// per-user copy, made from the installation's file the first time.
std::string SetupIniPath(const std::string& installDir);

}  // namespace save
