// Setup-table records and the saved position.
#include <cstring>

#include "app/core/Trace.h"
#include "scenario/SnrBuffer.h"
#include "scenario/SnrParam.h"

using namespace snr;

bool CSnrBuffer::GetSetupParamList(int32_t a, int32_t b, const char* signature, const SetupDest* dest,
                                   size_t count) {
  Trace("CSnrBuffer::GetSetupParamList");
  if (!mpPos) return false;
  const uint8_t* pos = mpPos;
  const uint8_t* found = nullptr;
  const uint8_t* param = nullptr;
  const uint8_t* end = nullptr;
  while (End() - pos >= kRecordHeaderSize) {
    end = pos + kRecordHeaderSize + Get16(pos + 2);
    if (end > End()) end = End();
    if (Get16(pos) == 0) {
      const uint8_t* first = pos + kRecordHeaderSize;
      const uint8_t* second = first + ParamSpan(first, end);
      int32_t va, vb;
      if (second < end && ValueAt(first, end, va) && ValueAt(second, end, vb) && va == a && vb == b) {
        found = pos;
        param = second + ParamSpan(second, end);
        break;
      }
    }
    pos = end;
  }
  if (!found) {
    // The search has walked to the end; a list loop stops here.
    mpPos = End();
    return false;
  }
  mpPos = found;
  if (!signature) return false;
  for (size_t i = 0; signature[i]; ++i, param += ParamSpan(param, end)) {
    if (i >= count || param >= end) return false;
    const SetupDest& d = dest[i];
    switch (signature[i]) {
      case 'B':
      case 'b': {
        int32_t v;
        if (d.kind != SetupDest::kFlag || !ValueAt(param, end, v)) return false;
        *static_cast<uint8_t*>(d.ptr) = v != 0 ? 1 : 0;
        break;
      }
      case 'N':
      case 'n': {
        int32_t v;
        if (d.kind != SetupDest::kInt || !ValueAt(param, end, v)) return false;
        memcpy(d.ptr, &v, sizeof v);
        break;
      }
      case 'S':
      case 's':
        if (d.kind != SetupDest::kText || !StringParamTo(param, end, static_cast<char*>(d.ptr), d.size))
          return false;
        break;
      default:
        return false;
    }
  }
  return true;
}

uint8_t* CSnrBuffer::Save(uint8_t* dst) const {
  Trace("CSnrBuffer::Save");
  memcpy(dst, mszName, kNameSize);
  dst += kNameSize;
  Put32(dst, mpPos ? static_cast<uint32_t>(mpPos - mpData) : 0);
  Put32(dst + 4, static_cast<uint32_t>(mReturnCount));
  dst += 8;
  for (int i = 0; i < mReturnCount; ++i, dst += 4) Put32(dst, static_cast<uint32_t>(mpReturn[i] - mpData));
  return dst;
}

const uint8_t* CSnrBuffer::Load(const uint8_t* src, size_t size) {
  Trace("CSnrBuffer::Load");
  if (!src || size < kNameSize + 8) return nullptr;
  char name[kNameSize];
  memcpy(name, src, kNameSize);
  name[kNameSize - 1] = 0;
  uint32_t pos = Get32(src + kNameSize);
  int32_t count = GetS32(src + kNameSize + 4);
  if (count < 0 || count > kReturnStackSize || size < kNameSize + 8 + 4 * static_cast<size_t>(count))
    return nullptr;
  if (!Read(name)) return nullptr;
  const uint32_t first = static_cast<uint32_t>(mpBegin - mpData);
  auto valid = [&](uint32_t offset) { return offset >= first && offset <= mSize; };
  if (!valid(pos)) return nullptr;
  const uint8_t* stack = src + kNameSize + 8;
  for (int i = 0; i < count; ++i)
    if (!valid(Get32(stack + 4 * i))) return nullptr;
  mpPos = mpData + pos;
  mReturnCount = count;
  for (int i = 0; i < count; ++i) mpReturn[i] = mpData + Get32(stack + 4 * i);
  return stack + 4 * count;
}
