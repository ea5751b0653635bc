#include "platform/Paths.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace plat {
namespace {

std::vector<std::string> Split(const std::string& name) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : name) {
    if (c == '/' || c == '\\') {
      if (!cur.empty()) parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  return parts;
}

// The entry of `dir` whose name equals `part` ignoring case, "" when none.
std::string FindEntry(const std::string& dir, const std::string& part) {
  std::string exact = dir + part;
  struct stat st;
  if (lstat(exact.c_str(), &st) == 0) return part;
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return {};
  std::string found;
  while (dirent* e = readdir(d)) {
    if (strcasecmp(e->d_name, part.c_str()) == 0) {
      found = e->d_name;
      break;
    }
  }
  closedir(d);
  return found;
}

}  // namespace

std::string WithSeparator(std::string dir) {
  for (char& c : dir)
    if (c == '\\') c = '/';
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

std::string InstalledGameDir() {
  char exe[4096];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return {};
  std::string path(exe, static_cast<size_t>(n));
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {};
  std::string dir = path.substr(0, slash + 1) + "../share/veltogame/game";
  char real[4096];
  if (!IsDirectory(dir) || !realpath(dir.c_str(), real)) return {};
  return WithSeparator(real);
}

std::string FindInstallDir(const char* commandLineDir) {
  if (commandLineDir && *commandLineDir) return WithSeparator(commandLineDir);
  if (const char* env = getenv("VELTO_INSTPATH"); env && *env) return WithSeparator(env);
  // An installed program knows where its game was installed, as the
  // installer's registry entry would tell.
  if (std::string installed = InstalledGameDir(); !installed.empty()) return installed;
  char buf[4096];
  if (getcwd(buf, sizeof buf)) return WithSeparator(buf);
  return "./";
}

std::string ResolveCaseInsensitive(const std::string& dir, const std::string& name) {
  std::string base = WithSeparator(dir);
  auto parts = Split(name);
  if (parts.empty()) return {};
  std::string path = base;
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string entry = FindEntry(path, parts[i]);
    if (entry.empty()) return {};
    path += entry;
    if (i + 1 < parts.size()) path += '/';
  }
  return path;
}

std::string ResolveForWrite(const std::string& dir, const std::string& name) {
  std::string path = WithSeparator(dir);
  auto parts = Split(name);
  bool missing = false;
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string entry = missing ? std::string() : FindEntry(path, parts[i]);
    if (entry.empty()) {
      missing = true;
      entry = parts[i];
    }
    path += entry;
    if (i + 1 < parts.size()) path += '/';
  }
  return path;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirectory(const std::string& path) { return mkdir(path.c_str(), 0755) == 0 || IsDirectory(path); }

}  // namespace plat
