#include "save/SaveData.h"

#include <cstring>
#include <new>
#include <string>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "platform/Paths.h"

CSaveData::CSaveData() { Trace("CSaveData::CSaveData"); }

CSaveData::~CSaveData() {
  Trace("CSaveData::~CSaveData");
  Release();
}

bool CSaveData::Initialize() {
  Trace("CSaveData::Initialize");
  Release();
  ReadCGList();
  ReadSceneList();
  mpStateBuf = new (std::nothrow) uint8_t[kStateBufSize]();
  if (!mpStateBuf) return false;
  mdwStateSize = 0;
  mpSumImage = new (std::nothrow) CDIBImage;
  if (!mpSumImage || !mpSumImage->Create(kSumWidth, kSumHeight)) return false;
  mSumType = 0;
  SetSumValue(0xFFFFFFFFu);
  if (!LoadConfig()) mConfig = ConfigRecord{};
  return true;
}

void CSaveData::Release() {
  Trace("CSaveData::Release");
  delete[] mpStateBuf;
  mpStateBuf = nullptr;
  mdwStateSize = 0;
  delete mpSumImage;
  mpSumImage = nullptr;
  FreePictures();
  FreeKidoku();
}

void CSaveData::FreeKidoku() {
  Trace("CSaveData::FreeKidoku");
  for (KidokuData& k : mKidoku) {
    k.pFlags.reset();
    k.dwSize = 0;
    memset(k.szName, 0, sizeof k.szName);
  }
}

uint32_t CSaveData::GetSumValue() const {
  Trace("CSaveData::GetSumValue");
  const auto* b = reinterpret_cast<const uint8_t*>(mSumParam);
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

void CSaveData::SetSumValue(uint32_t value) {
  Trace("CSaveData::SetSumValue");
  memset(mSumParam, 0, sizeof mSumParam);
  for (int i = 0; i < 4; ++i) mSumParam[i] = static_cast<char>(value >> (8 * i));
}

bool CSaveData::CreateDirectoryA(const char* path) {
  Trace("CSaveData::CreateDirectoryA");
  if (!path || !*path) return false;
  std::string p(path);
  std::string prefix;
  for (size_t i = 0; i <= p.size(); ++i) {
    bool sep = i < p.size() && (p[i] == '/' || p[i] == '\\');
    if (sep || i == p.size()) {
      // The root and a drive letter ("C:") are never made.
      bool drive = !prefix.empty() && prefix.back() == ':';
      if (!prefix.empty() && !drive && prefix.find_first_not_of('/') != std::string::npos) {
        if (!plat::IsDirectory(prefix)) {
          if (plat::FileExists(prefix) || !plat::MakeDirectory(prefix)) return false;
        }
      }
    }
    if (i < p.size()) prefix += sep ? '/' : p[i];
  }
  return plat::IsDirectory(prefix);
}

bool CSaveData::IsExistFile(const char* path) {
  Trace("CSaveData::IsExistFile");
  return path && plat::IsDirectory(path);
}
