// The transition record a screen switch carries: the effect number and the
// effect's parameters in order, each a 32-bit integer or a 256-byte picture
// name. Screens fill it (GetCallEffectParam), the screen flow and the
// transitions read it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

struct EffectParam {
  int32_t nEffect;
  uint8_t bParam[524];
};
static_assert(sizeof(EffectParam) == 528, "the effect record is 528 bytes");

// Reads the parameters in order; reads past the end give 0 and "".
class EffectParamReader {
 public:
  explicit EffectParamReader(const EffectParam* param) : mpParam(param) {}
  int32_t Int() {
    int32_t v = 0;
    if (mpParam && mPos + 4 <= sizeof mpParam->bParam) memcpy(&v, mpParam->bParam + mPos, 4);
    mPos += 4;
    return v;
  }
  // Copies a name into `out` (256 bytes), always terminated.
  void Name(char (&out)[256]) {
    out[0] = 0;
    if (mpParam && mPos + 256 <= sizeof mpParam->bParam) {
      memcpy(out, mpParam->bParam + mPos, 255);
      out[255] = 0;
    }
    mPos += 256;
  }

 private:
  const EffectParam* mpParam;
  size_t mPos = 0;
};

// Fills a record in order; the rest stays zero.
class EffectParamWriter {
 public:
  EffectParamWriter(EffectParam* param, int32_t effect) : mpParam(param) {
    memset(param, 0, sizeof *param);
    param->nEffect = effect;
  }
  EffectParamWriter& Int(int32_t v) {
    if (mPos + 4 <= sizeof mpParam->bParam) memcpy(mpParam->bParam + mPos, &v, 4);
    mPos += 4;
    return *this;
  }
  EffectParamWriter& Name(const char* name) {
    if (mPos + 256 <= sizeof mpParam->bParam && name) strncpy(reinterpret_cast<char*>(mpParam->bParam + mPos), name, 255);
    mPos += 256;
    return *this;
  }

 private:
  EffectParam* mpParam;
  size_t mPos = 0;
};
