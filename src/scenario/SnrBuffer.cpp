#include "scenario/SnrBuffer.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "scenario/Scramble.h"
#include "scenario/SnrParam.h"

using namespace snr;

CSnrBuffer::CSnrBuffer() { Trace("CSnrBuffer::CSnrBuffer"); }

CSnrBuffer::~CSnrBuffer() {
  Trace("CSnrBuffer::~CSnrBuffer");
  Release();
}

bool CSnrBuffer::ReadMemory(const char* name, const void* data, size_t size, const char* phrase) {
  Trace("CSnrBuffer::ReadMemory");
  Release();
  if (!data || size > UINT32_MAX) return false;
  uint8_t* copy = new (std::nothrow) uint8_t[size ? size : 1];
  if (!copy) return false;
  if (size) memcpy(copy, data, size);
  return Attach(name, copy, static_cast<uint32_t>(size), phrase);
}

bool CSnrBuffer::Attach(const char* name, uint8_t* data, uint32_t size, const char* phrase) {
  Trace("CSnrBuffer::Attach");
  Release();
  mpData = data;
  mSize = size;
  auto hasMagic = [&] { return mSize >= kMagicSize && memcmp(mpData, kMagic, kMagicSize) == 0; };
  if (!hasMagic()) {
    ScrambleBlocks(mpData, mSize, phrase ? phrase : GameTitle());
    if (!hasMagic()) {
      Release();
      return false;
    }
  }
  // The tables must fit before the end of the file; the counts are summed
  // in 64 bits so that no choice of them can wrap.
  if (mSize < kLabelOffset) {
    Release();
    return false;
  }
  uint64_t words = Get32(mpData + kLabelCountOffset);
  for (int k = 0; k < kTableCount; ++k) words += Get32(mpData + kTableSizeOffset + 4 * k);
  if (kLabelOffset + 4 * words > mSize) {
    Release();
    return false;
  }
  mpHeader = mpData;
  mLabelCount = Get32(mpData + kLabelCountOffset);
  mpLabel = mpData + kLabelOffset;
  const uint8_t* table = mpLabel + 4 * static_cast<size_t>(mLabelCount);
  for (int k = 0; k < kTableCount; ++k) {
    mLoadPointCount[k] = Get32(mpData + kTableSizeOffset + 4 * k);
    mpLoadPoint[k] = table;
    table += 4 * static_cast<size_t>(mLoadPointCount[k]);
  }
  mpBegin = table;
  mpPos = mpBegin;
  snprintf(mszName, sizeof mszName, "%s", name ? name : "");
  return true;
}

void CSnrBuffer::Release() {
  Trace("CSnrBuffer::Release");
  delete[] mpData;
  mpData = nullptr;
  mSize = 0;
  mpHeader = mpLabel = mpBegin = mpPos = nullptr;
  for (auto& p : mpLoadPoint) p = nullptr;
  for (auto& c : mLoadPointCount) c = 0;
  mLabelCount = 0;
  mReturnCount = 0;
}

uint32_t CSnrBuffer::GetCommandSize() const {
  Trace("CSnrBuffer::GetCommandSize");
  return mpBegin ? static_cast<uint32_t>(End() - mpBegin) : 0;
}

uint32_t CSnrBuffer::GetLabelOffset(uint32_t index) const {
  Trace("CSnrBuffer::GetLabelOffset");
  return index < mLabelCount ? Get32(mpLabel + 4 * static_cast<size_t>(index)) : 0;
}

uint32_t CSnrBuffer::GetLoadPointCount(int table) const {
  Trace("CSnrBuffer::GetLoadPointCount");
  return table >= 0 && table < kTableCount ? mLoadPointCount[table] : 0;
}

uint32_t CSnrBuffer::GetLoadPointOffset(int table, uint32_t entry) const {
  Trace("CSnrBuffer::GetLoadPointOffset");
  if (entry >= GetLoadPointCount(table)) return 0;
  return Get32(mpLoadPoint[table] + 4 * static_cast<size_t>(entry));
}

bool CSnrBuffer::SeekBegin(uint32_t offset) {
  Trace("CSnrBuffer::SeekBegin");
  if (!mpBegin || offset > GetCommandSize()) return false;
  mpPos = mpBegin + offset;
  return true;
}

uint32_t CSnrBuffer::GetPos() const {
  Trace("CSnrBuffer::GetPos");
  return mpPos ? static_cast<uint32_t>(mpPos - mpBegin) : 0;
}

bool CSnrBuffer::JumpToLabel(int index) {
  Trace("CSnrBuffer::JumpToLabel");
  if (index < 0 || static_cast<uint32_t>(index) >= mLabelCount) return false;
  return SeekBegin(GetLabelOffset(static_cast<uint32_t>(index)));
}

bool CSnrBuffer::JumpToLoadPoint(int table, int entry) {
  Trace("CSnrBuffer::JumpToLoadPoint");
  if (entry < 0 || static_cast<uint32_t>(entry) >= GetLoadPointCount(table)) return false;
  return SeekBegin(GetLoadPointOffset(table, static_cast<uint32_t>(entry)));
}

const uint8_t* CSnrBuffer::RecordEnd() const {
  Trace("CSnrBuffer::RecordEnd");
  if (!mpPos || End() - mpPos < kRecordHeaderSize) return End();
  const uint8_t* end = mpPos + kRecordHeaderSize + Get16(mpPos + 2);
  return end < End() ? end : End();
}

void CSnrBuffer::NextCommand() {
  Trace("CSnrBuffer::NextCommand");
  if (mpPos) mpPos = RecordEnd();
}

bool CSnrBuffer::IsFinish() const {
  Trace("CSnrBuffer::IsFinish");
  return !mpPos || End() - mpPos < kRecordHeaderSize;
}

uint16_t CSnrBuffer::GetCmdID() const {
  Trace("CSnrBuffer::GetCmdID");
  return IsFinish() ? kNoCommand : Get16(mpPos);
}

const uint8_t* CSnrBuffer::GetParam() const {
  Trace("CSnrBuffer::GetParam");
  return IsFinish() ? End() : mpPos + kRecordHeaderSize;
}

uint32_t CSnrBuffer::GetParamSize() const {
  Trace("CSnrBuffer::GetParamSize");
  return IsFinish() ? 0 : static_cast<uint32_t>(RecordEnd() - GetParam());
}

bool CSnrBuffer::InRecord(const uint8_t* param) const {
  Trace("CSnrBuffer::InRecord");
  return mpPos && param >= GetParam() && param < RecordEnd();
}

int CSnrBuffer::GetNumParam() const {
  Trace("CSnrBuffer::GetNumParam");
  int count = 0;
  const uint8_t* end = RecordEnd();
  for (const uint8_t* p = GetParam(); p && p < end; p += ParamSpan(p, end)) ++count;
  return count;
}

const uint8_t* CSnrBuffer::NextParam(const uint8_t* param) const {
  Trace("CSnrBuffer::NextParam");
  if (!InRecord(param)) return RecordEnd();
  return param + ParamSpan(param, RecordEnd());
}

void CSnrBuffer::SetValList(int32_t* list) {
  Trace("CSnrBuffer::SetValList");
  mpValList = list;
}

void CSnrBuffer::SetStrList(int index, char* text) {
  Trace("CSnrBuffer::SetStrList");
  if (index >= 0 && index < kStrVarCount) mpStrList[index] = text;
}
