#include "save/UnlockLists.h"

#include <algorithm>
#include <cstring>

#include "app/core/Trace.h"
#include "save/SaveData.h"
#include "save/SaveNames.h"

namespace {

bool IsNumber(const ListParam& p, int32_t value) { return !p.isString && p.value == value; }

void CopyName(char* dst, const std::string& src) {
  size_t n = std::min<size_t>(src.size(), kNameLen - 1);
  memcpy(dst, src.data(), n);
  memset(dst + n, 0, kNameLen - n);
}

}  // namespace

void FillCGList(CSaveData& s, const std::vector<ListRecord>& records) {
  memset(s.mCGList, 0, sizeof s.mCGList);
  memset(s.mCGCount, 0, sizeof s.mCGCount);
  for (const ListRecord& r : records) {
    if (r.size() < 4 || r.size() > 24 || !IsNumber(r[0], 100) || !IsNumber(r[1], 0)) continue;
    if (r[2].isString || r[3].isString) continue;
    int32_t n = r[2].value, g = r[3].value;
    if (n < 0 || n > kCGVariants || static_cast<size_t>(n) > r.size() - 4) continue;
    if (g < 0 || g >= kCGGroups || s.mCGCount[g] >= kCGEntries) continue;
    bool names = true;
    for (int32_t i = 0; i < n; ++i) names = names && r[4 + i].isString;
    if (!names) continue;
    int32_t e = s.mCGCount[g]++;
    for (int32_t i = 0; i < n; ++i) CopyName(s.mCGList[g][e][i], r[4 + i].text);
  }
}

void FillSceneList(CSaveData& s, const std::vector<ListRecord>& records) {
  memset(s.mSceneList, 0, sizeof s.mSceneList);
  memset(s.mSceneCount, 0, sizeof s.mSceneCount);
  for (const ListRecord& r : records) {
    if (r.size() != 4 || !IsNumber(r[0], 101) || !IsNumber(r[1], 0) || r[2].isString || !r[3].isString) continue;
    int32_t g = r[2].value;
    if (g < 0 || g >= kSceneGroups || s.mSceneCount[g] >= kSceneEntries) continue;
    CopyName(s.mSceneList[g][s.mSceneCount[g]++], r[3].text);
  }
}

void CSaveData::SetCGFlag(const char* name) {
  Trace("CSaveData::SetCGFlag");
  char key[kNameLen];
  save::NameStem(name, key);
  // An empty name would match every unused variant; it unlocks nothing.
  if (!key[0]) return;
  for (int g = 0; g < kCGGroups; ++g)
    for (int e = 0; e < kCGEntries; ++e)
      for (int v = 0; v < kCGVariants; ++v)
        if (save::SameName(mCGList[g][e][v], key)) {
          mCGFlag[g][e][v] = 1;
          return;
        }
}

void CSaveData::SetSceneFlag(const char* name) {
  Trace("CSaveData::SetSceneFlag");
  char key[kNameLen];
  save::NameStem(name, key);
  for (int g = 0; g < kSceneGroups; ++g)
    for (int e = 0; e < kSceneEntries && mSceneList[g][e][0]; ++e)
      if (save::SameName(mSceneList[g][e], key)) {
        mSceneFlag[g][e] = 1;
        return;
      }
}
