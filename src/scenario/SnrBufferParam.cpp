// Decoding of the current command's parameters.
#include <cstring>

#include "app/core/Trace.h"
#include "platform/Encoding.h"
#include "scenario/SnrBuffer.h"
#include "scenario/SnrParam.h"

using namespace snr;

namespace {

// Appends whole characters to a bounded, terminated buffer; the first one
// that does not fit stops all further output, so no character is split.
class TextOut {
 public:
  TextOut(char* out, size_t size) : mOut(out), mLimit(size ? size - 1 : 0) {
    if (size) out[0] = 0;
  }
  void Put(const uint8_t* c, size_t len) {
    if (mFull || mN + len > mLimit) {
      mFull = true;
      return;
    }
    memcpy(mOut + mN, c, len);
    mN += len;
    mOut[mN] = 0;
  }
  // Copies a text up to its terminator or `end`, a character at a time.
  void PutText(const uint8_t* t, const uint8_t* end) {
    while (t < end && *t && !mFull) {
      size_t len = plat::IsLeadByte(*t) && end - t >= 2 && t[1] ? 2 : 1;
      Put(t, len);
      t += len;
    }
  }

 private:
  char* mOut;
  size_t mLimit;
  size_t mN = 0;
  bool mFull = false;
};

}  // namespace

bool CSnrBuffer::IsStringParam(const uint8_t* param) const {
  Trace("CSnrBuffer::IsStringParam");
  return InRecord(param) && (*param == kParamStr || *param == kParamStrVar);
}

bool CSnrBuffer::ValueAt(const uint8_t* param, const uint8_t* end, int32_t& value) const {
  Trace("CSnrBuffer::ValueAt");
  value = 0;
  if (!param || param >= end || !ParamWhole(param, end)) return false;
  switch (*param) {
    case kParamInt:
      value = GetS32(param + 1);
      return true;
    case kParamVar: {
      uint32_t index = Get32(param + 1);
      if (!mpValList || index >= static_cast<uint32_t>(kValueCount)) return false;
      value = mpValList[index];
      return true;
    }
    case kParamExpr:
      return EvalExpr(param + 1, end, mpValList, value) == ExprFault::kNone;
    case kParamStr:
    case kParamStrVar:
      return false;  // a text is no number
    default:
      // Any other type byte is a parameter of its own, one byte long, whose
      // value is 0.
      return true;
  }
}

bool CSnrBuffer::CheckValueParam(const uint8_t* param, int32_t& value) const {
  Trace("CSnrBuffer::CheckValueParam");
  if (!InRecord(param)) {
    value = 0;
    return false;
  }
  return ValueAt(param, RecordEnd(), value);
}

int32_t CSnrBuffer::GetValueParam(const uint8_t* param) const {
  Trace("CSnrBuffer::GetValueParam");
  int32_t value;
  CheckValueParam(param, value);
  return value;
}

void CSnrBuffer::ExpandText(const uint8_t* text, const uint8_t* end, char* out, size_t size) const {
  Trace("CSnrBuffer::ExpandText");
  TextOut dst(out, size);
  const uint8_t* t = text;
  while (t < end && *t) {
    if (*t != kEscape) {
      size_t len = plat::IsLeadByte(*t) && end - t >= 2 && t[1] ? 2 : 1;
      dst.Put(t, len);
      t += len;
      continue;
    }
    if (end - t >= 2 && t[1] == kEscape) {
      dst.Put(t, 1);
      t += 2;
      continue;
    }
    if (end - t >= 3 && t[1] && t[2]) {
      int index = (Get16(t + 1) & 0x7FFF) - 1;
      if (index >= 0 && index < kStrVarCount && mpStrList[index]) {
        const uint8_t* var = reinterpret_cast<const uint8_t*>(mpStrList[index]);
        dst.PutText(var, var + kStrVarSize);
      }
      t += 3;
      continue;
    }
    // An "&" cut off by the end of the text stands for itself.
    dst.Put(t, 1);
    ++t;
  }
}

bool CSnrBuffer::StringParamTo(const uint8_t* param, const uint8_t* end, char* out, size_t size) const {
  Trace("CSnrBuffer::StringParamTo");
  if (!param || param >= end || !size) return false;
  if (*param == kParamStr) {
    ExpandText(param + 1, TextEnd(param + 1, end), out, size);
    return true;
  }
  if (*param != kParamStrVar) return false;
  TextOut dst(out, size);
  if (end - param >= 5) {
    uint32_t index = Get32(param + 1);
    if (index < static_cast<uint32_t>(kStrVarCount) && mpStrList[index]) {
      const uint8_t* var = reinterpret_cast<const uint8_t*>(mpStrList[index]);
      dst.PutText(var, var + kStrVarSize);
    }
  }
  return true;
}

const char* CSnrBuffer::GetStringParam(const uint8_t* param) {
  Trace("CSnrBuffer::GetStringParam");
  if (InRecord(param)) {
    // Expanded into a scratch copy first: a string variable may be the
    // very buffer being written.
    char text[kParamTextSize];
    if (StringParamTo(param, RecordEnd(), text, sizeof text)) memcpy(mszParam, text, sizeof text);
  }
  return mszParam;
}
