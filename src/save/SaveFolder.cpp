#include "save/SaveFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/core/MainWindow.h"
#include "platform/FileReplace.h"
#include "platform/Paths.h"
#include "save/SaveFileIO.h"

namespace save {
namespace {

SaveLocation gLocation;
bool gLocationSet = false;

std::string GameFolderName(const std::string& installDir) {
  std::string dir = plat::WithSeparator(installDir);
  while (!dir.empty() && dir.back() == '/') dir.pop_back();
  size_t slash = dir.find_last_of('/');
  std::string name = slash == std::string::npos ? dir : dir.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") {
    char buf[4096];
    if (getcwd(buf, sizeof buf)) {
      std::string cwd = buf;
      name = cwd.substr(cwd.find_last_of('/') + 1);
    }
  }
  return name.empty() ? std::string("game") : name;
}

bool ProbeWrite(const std::string& dir) {
  std::string probe = dir + ".velto-write-XXXXXX";
  int fd = mkstemp(probe.data());
  if (fd < 0) return false;
  close(fd);
  unlink(probe.c_str());
  return true;
}

}  // namespace

std::string InstallationKey(const std::string& installDir) {
  std::string inst = plat::WithSeparator(installDir.empty() ? std::string("./") : installDir);
  // FNV-1a: short, and the same on every machine and in every build.
  uint32_t hash = 2166136261u;
  for (unsigned char c : inst) hash = (hash ^ c) * 16777619u;
  char hex[9];
  snprintf(hex, sizeof hex, "%08x", hash);
  return GameFolderName(inst) + "-" + hex;
}

std::string AbsoluteInstallDir(const std::string& installDir) {
  std::string inst = plat::WithSeparator(installDir.empty() ? std::string("./") : installDir);
  if (char* real = realpath(inst.c_str(), nullptr)) {
    std::string out = plat::WithSeparator(real);
    free(real);
    return out;
  }
  if (inst[0] == '/') return inst;
  char buf[4096];
  return getcwd(buf, sizeof buf) ? plat::WithSeparator(buf) + inst : inst;
}

std::string UserHome() {
  if (const char* home = getenv("HOME"); home && *home) return home;
  // HOME may be unset (services, some launchers): the account's own record
  // still names the home folder.
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buf(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd pw{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir && *found->pw_dir)
    return found->pw_dir;
  return {};
}

SaveLocation ChooseSaveLocation(const std::string& installDir, bool installWritable, const char* xdgDataHome,
                                const char* home) {
  SaveLocation loc;
  std::string inst = plat::WithSeparator(installDir.empty() ? std::string("./") : installDir);
  if (installWritable) {
    loc.writeRoot = inst;
    loc.readRoots = {inst};
    return loc;
  }
  // Never a shared, world-writable place such as /tmp: without a data or
  // home folder there is nowhere to save.
  std::string base;
  if (xdgDataHome && *xdgDataHome && xdgDataHome[0] == '/')
    base = plat::WithSeparator(xdgDataHome);
  else if (home && home[0] == '/')
    base = plat::WithSeparator(home) + ".local/share/";
  else
    return loc;
  loc.writeRoot = base + "veltogame/" + InstallationKey(inst) + "/";
  loc.readRoots = {loc.writeRoot, inst};
  loc.perUser = true;
  return loc;
}

bool MakeFolders(const std::string& path) {
  std::string prefix;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      if (!prefix.empty() && !plat::IsDirectory(prefix) && !plat::MakeDirectory(prefix)) return false;
    }
    if (i < path.size()) prefix += path[i];
  }
  return true;
}

bool CanWriteInstallDir(const std::string& installDir) {
  std::string inst = plat::WithSeparator(installDir.empty() ? std::string("./") : installDir);
  if (!ProbeWrite(inst)) return false;
  std::string saveDir = plat::ResolveCaseInsensitive(inst, "SAVE");
  if (!saveDir.empty() && plat::IsDirectory(saveDir) && !ProbeWrite(saveDir + "/")) return false;
  return true;
}

bool SetupSaveLocation(const std::string& installDir, std::string& error) {
  const std::string home = UserHome();
  SaveLocation loc = ChooseSaveLocation(AbsoluteInstallDir(installDir), CanWriteInstallDir(installDir),
                                        getenv("XDG_DATA_HOME"), home.c_str());
  if (loc.writeRoot.empty()) {
    error = "the game folder " + installDir +
            " cannot be written, and there is no home folder (HOME is unset and the account has none) to keep "
            "the saves and settings in";
    return false;
  }
  if (loc.perUser && !(gLocationSet && gLocation.perUser && gLocation.writeRoot == loc.writeRoot)) {
    MakeFolders(loc.writeRoot);
    fprintf(stderr, "veltogame: the installation folder %s cannot be written; saves and settings go to %s\n",
            installDir.c_str(), loc.writeRoot.c_str());
  }
  SetSaveLocation(loc);
  return true;
}

std::string PerUserFolder(const std::string& installDir) {
  return ChooseSaveLocation(AbsoluteInstallDir(installDir), false, getenv("XDG_DATA_HOME"), UserHome().c_str())
      .writeRoot;
}

void SetSaveLocation(const SaveLocation& location) {
  gLocation = location;
  gLocationSet = true;
}

const SaveLocation& CurrentSaveLocation() {
  if (!gLocationSet) {
    // Follows the installation directory until a location is set up.
    static SaveLocation fallback;
    std::string inst = plat::WithSeparator(gszInstallDir[0] ? std::string(gszInstallDir) : std::string("./"));
    fallback.writeRoot = inst;
    fallback.readRoots = {inst};
    fallback.perUser = false;
    return fallback;
  }
  return gLocation;
}

std::string SaveFolderForWrite() {
  const SaveLocation& loc = CurrentSaveLocation();
  std::string existing = plat::ResolveCaseInsensitive(loc.writeRoot, "SAVE");
  if (!existing.empty()) return existing;
  return loc.writeRoot + "SAVE";
}

std::string FindSaveFile(const std::string& name) {
  for (const std::string& root : CurrentSaveLocation().readRoots) {
    std::string folder = plat::ResolveCaseInsensitive(root, "SAVE");
    if (folder.empty() || !plat::IsDirectory(folder)) continue;
    std::string file = plat::ResolveCaseInsensitive(folder + "/", name);
    if (!file.empty() && plat::FileExists(file)) return file;
  }
  return {};
}

std::string SetupIniPath(const std::string& installDir) {
  std::string inst = plat::WithSeparator(installDir.empty() ? std::string("./") : installDir);
  std::string installIni = plat::ResolveCaseInsensitive(inst, "Novel.ini");
  if (installIni.empty()) installIni = inst + "Novel.ini";
  const SaveLocation& loc = CurrentSaveLocation();
  if (!loc.perUser) return installIni;
  std::string userIni = loc.writeRoot + "Novel.ini";
  if (!plat::FileExists(userIni) && plat::FileExists(installIni)) {
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(installIni, 1 << 20, bytes)) {
      MakeFolders(loc.writeRoot);
      plat::WriteFileReplacing(userIni, bytes.data(), bytes.size());
    }
  }
  return userIni;
}

}  // namespace save
