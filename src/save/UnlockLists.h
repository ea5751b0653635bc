// The gallery and scene lists as records of parameters, and the rules that
// turn "CGLIST" and "SCENELIST" records into list entries.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class CSaveData;
class CSnrBuffer;

struct ListParam {
  bool isString = false;
  int32_t value = 0;
  std::string text;
};
using ListRecord = std::vector<ListParam>;

// Gallery records: at most 24 parameters, the numbers 100 and 0, a variant
// count n (at most 20), a group g (0..19), then n names; each record is the
// next entry of its group (at most 100). Other records are skipped.
void FillCGList(CSaveData& save, const std::vector<ListRecord>& records);
// Scene records: exactly the number 101, the number 0, a group g (0..19) and
// a name; each is the next entry of its group (at most 20).
void FillSceneList(CSaveData& save, const std::vector<ListRecord>& records);

// Every record of a loaded setup file, from its start, as parameters. A
// record with a malformed parameter is kept empty so that no rule takes it.
std::vector<ListRecord> ReadListRecords(CSnrBuffer& snr);
