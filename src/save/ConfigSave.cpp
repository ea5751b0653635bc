#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "app/core/Trace.h"
#include "platform/FileReplace.h"
#include "platform/Paths.h"
#include "save/ConfigFile.h"
#include "save/SaveData.h"
#include "save/SaveFileIO.h"
#include "save/SaveFolder.h"

namespace {

constexpr const char* kConfigName = "CONFIG.SAV";
// Far beyond 1000 records of any real scenario; a larger file is damaged.
constexpr size_t kMaxConfigSize = 64u << 20;

// The file to replace in `folder`: an existing one of any case, else the
// name as written.
std::string TargetIn(const std::string& folder, const char* name) {
  std::string found = plat::ResolveCaseInsensitive(folder + "/", name);
  return found.empty() ? folder + "/" + name : found;
}

}  // namespace

bool CSaveData::SaveConfig() {
  Trace("CSaveData::SaveConfig");
  std::string folder = save::SaveFolderForWrite();
  if (!IsExistFile(folder.c_str()) && !CreateDirectoryA(folder.c_str())) return false;
  auto data = std::make_unique<ConfigFileData>();
  memcpy(data->globals, mVariable + kGameVariableCount, sizeof data->globals);
  for (const KidokuData& k : mKidoku) {
    if (!k.pFlags) continue;
    data->kidoku.push_back({k.szName, std::vector<uint8_t>(k.pFlags.get(), k.pFlags.get() + k.dwSize)});
  }
  memcpy(data->cgFlag, mCGFlag, sizeof mCGFlag);
  memcpy(data->sceneFlag, mSceneFlag, sizeof mSceneFlag);
  data->config = mConfig;
  std::vector<uint8_t> bytes = BuildConfigFile(*data);
  return plat::WriteFileReplacing(TargetIn(folder, kConfigName), bytes.data(), bytes.size());
}

bool CSaveData::LoadConfig() {
  Trace("CSaveData::LoadConfig");
  std::string path = save::FindSaveFile(kConfigName);
  if (path.empty()) return false;
  std::vector<uint8_t> bytes;
  auto data = std::make_unique<ConfigFileData>();
  std::string why = "larger than any settings file";
  bool damaged = save::FileSize(path) > kMaxConfigSize;
  if (!damaged) {
    // A file that cannot be opened (permissions) is unusable, not damaged.
    if (!save::ReadWholeFile(path, kMaxConfigSize, bytes)) return false;
    damaged = !ParseConfigFile(bytes.data(), bytes.size(), *data, &why);
  }
  if (damaged) {
    // A damaged file is kept aside rather than overwritten at shutdown, and
    // play starts from the defaults.
    std::string aside = path + ".bad";
    bool moved = rename(path.c_str(), aside.c_str()) == 0;
    fprintf(stderr, "veltogame: %s is damaged (%s)%s%s\n", path.c_str(), why.c_str(),
            moved ? "; kept as " : "", moved ? aside.c_str() : "");
    memset(mVariable + kGameVariableCount, 0, sizeof(int32_t) * (kVariableCount - kGameVariableCount));
    FreeKidoku();
    memset(mCGFlag, 0, sizeof mCGFlag);
    memset(mSceneFlag, 0, sizeof mSceneFlag);
    mConfig = ConfigRecord{};
    return false;
  }
  memcpy(mVariable + kGameVariableCount, data->globals, sizeof data->globals);
  FreeKidoku();
  for (size_t i = 0; i < data->kidoku.size(); ++i) {
    KidokuData& k = mKidoku[i];
    const ConfigKidoku& src = data->kidoku[i];
    strncpy(k.szName, src.name.c_str(), kNameLen - 1);
    // An empty block leaves the record free; its first flag makes a new one.
    if (src.bits.empty()) continue;
    k.pFlags.reset(new (std::nothrow) uint8_t[src.bits.size()]);
    if (!k.pFlags) continue;
    memcpy(k.pFlags.get(), src.bits.data(), src.bits.size());
    k.dwSize = static_cast<uint32_t>(src.bits.size());
  }
  memcpy(mCGFlag, data->cgFlag, sizeof mCGFlag);
  memcpy(mSceneFlag, data->sceneFlag, sizeof mSceneFlag);
  mConfig = data->config;
  return true;
}
