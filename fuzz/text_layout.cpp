// The message layout over arbitrary bytes and areas: the first 24 bytes set
// the text area, sizes and switches (so areas narrower than a character,
// inverted or huge ones come up), the rest is split into text and function
// records. Conversion must end, stay inside its output and always end the
// list.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "text/MesTextBuffer.h"
#include "text/profile/TextProfile.h"

namespace {

int32_t Take(const uint8_t*& p, const uint8_t* end) {
  int32_t v = 0;
  if (end - p >= 2) {
    v = static_cast<int16_t>(p[0] | p[1] << 8);
    p += 2;
  }
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* p = data;
  const uint8_t* end = data + size;
  CMesTextBuffer buffer;
  buffer.SetProfile(size && (data[0] & 1) ? &profile::GbkProfile() : &profile::SjisProfile());
  buffer.mbKinsoku = size && (data[0] & 2);
  buffer.mbDownStr = size && (data[0] & 4);
  if (size) ++p;
  buffer.mnLeft = Take(p, end);
  buffer.mnTop = Take(p, end);
  buffer.mnRight = Take(p, end);
  buffer.mnBottom = Take(p, end);
  buffer.mnFontSize = Take(p, end);
  buffer.mnLineSpace = Take(p, end);
  buffer.mnCharSpace = Take(p, end);
  buffer.ResetPen();
  const int capacity = 1 + (end - p > 0 ? *p++ % 200 : 0);

  // Records: a byte below 0x20 starts a function record of that kind; any
  // other run of bytes up to the next such byte is a text record.
  std::vector<MesSrc> src;
  while (p < end && src.size() < 64) {
    MesSrc s;
    memset(&s, 0, sizeof s);
    if (*p < 0x20) {
      s.nFunc = *p++ - 4;
    } else {
      s.bText = 1;
      size_t n = 0;
      while (p < end && *p >= 0x20 && n < sizeof s.szText - 1) s.szText[n++] = static_cast<char>(*p++);
    }
    src.push_back(s);
  }
  // Exactly sized, so a write past the room is caught.
  std::vector<MesChar> out(capacity);
  buffer.Convert(src.data(), static_cast<int>(src.size()), out.data(), capacity);
  bool ended = false;
  for (const MesChar& c : out) ended = ended || c.nKind == MESCHAR_END;
  if (!ended) __builtin_trap();
  // The per-string step straight over the input, unterminated data copied
  // into a terminated buffer.
  std::vector<char> text(data, data + size);
  text.push_back(0);
  std::vector<MesChar> cells(kMesCells);
  if (buffer.Convert(text.data(), cells.data(), kMesCells) > kMesCells) __builtin_trap();
  return 0;
}
