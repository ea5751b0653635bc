#include <memory>
#include <vector>

#include "app/core/Trace.h"
#include "save/SaveData.h"
#include "save/UnlockLists.h"
#include "scenario/SnrBuffer.h"

namespace {

// Reads a setup file of the scenario source; false when it cannot be read.
bool ReadList(CSaveData& save, const char* name, std::vector<ListRecord>& out) {
  auto snr = std::make_unique<CSnrBuffer>();
  snr->SetValList(save.mVariable);
  for (int i = 0; i < kStrVariableCount; ++i) snr->SetStrList(i, save.mStrVariable[i]);
  if (!snr->Read(name)) return false;
  out = ReadListRecords(*snr);
  return true;
}

}  // namespace

std::vector<ListRecord> ReadListRecords(CSnrBuffer& snr) {
  std::vector<ListRecord> out;
  snr.SeekBegin(0);
  while (!snr.IsFinish()) {
    ListRecord rec;
    int count = snr.GetNumParam();
    const uint8_t* p = snr.GetParam();
    bool valid = true;
    for (int i = 0; i < count && valid; ++i) {
      ListParam param;
      param.isString = snr.IsStringParam(p);
      if (param.isString)
        param.text = snr.GetStringParam(p);
      else
        valid = snr.CheckValueParam(p, param.value);
      rec.push_back(std::move(param));
      p = snr.NextParam(p);
    }
    if (!valid) rec.clear();
    out.push_back(std::move(rec));
    snr.NextCommand();
  }
  return out;
}

bool CSaveData::ReadCGList() {
  Trace("CSaveData::ReadCGList");
  std::vector<ListRecord> records;
  bool ok = ReadList(*this, "CGLIST", records);
  FillCGList(*this, records);
  return ok;
}

bool CSaveData::ReadSceneList() {
  Trace("CSaveData::ReadSceneList");
  std::vector<ListRecord> records;
  bool ok = ReadList(*this, "SCENELIST", records);
  FillSceneList(*this, records);
  return ok;
}
