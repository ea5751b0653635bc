#include "scenario/interp/SnrParams.h"

#include "app/core/Trace.h"
#include "scenario/SnrBuffer.h"
#include "scenario/SnrFormat.h"
#include "scenario/SnrParam.h"

CSnrParams::CSnrParams(CSnrBuffer* buffer) : mpBuffer(buffer) {
  Trace("CSnrParams::CSnrParams");
  if (!buffer || buffer->IsFinish()) return;
  // One walk over the record by the sizes of the encoding; every step
  // stays inside it.
  const uint8_t* p = buffer->GetParam();
  mpEnd = p + buffer->GetParamSize();
  for (; p < mpEnd; p += snr::ParamSpan(p, mpEnd)) {
    if (mCount < kKept) mParam[mCount] = p;
    ++mCount;
  }
}

const uint8_t* CSnrParams::At(int index) const {
  Trace("CSnrParams::At");
  if (index < 0 || index >= mCount) return nullptr;
  if (index < kKept) return mParam[index];
  const uint8_t* p = mParam[kKept - 1];
  for (int i = kKept - 1; i < index; ++i) p += snr::ParamSpan(p, mpEnd);
  return p;
}

bool CSnrParams::IsString(int index) const {
  Trace("CSnrParams::IsString");
  const uint8_t* p = At(index);
  return p && (*p == snr::kParamStr || *p == snr::kParamStrVar);
}

int32_t CSnrParams::Int(int index) const {
  Trace("CSnrParams::Int");
  const uint8_t* p = At(index);
  return p ? mpBuffer->GetValueParam(p) : 0;
}

const char* CSnrParams::Str(int index) const {
  Trace("CSnrParams::Str");
  if (!IsString(index)) return "";
  const char* text = mpBuffer->GetStringParam(At(index));
  return text ? text : "";
}
