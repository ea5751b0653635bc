#include "assets/PictureWriter.h"

#include <cstring>

#include "assets/PngEncode.h"
#include "assets/SgdEncode.h"

namespace {

void Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  Put16(p, v);
  Put16(p + 2, v >> 16);
}

bool Refuse(std::string* error, const char* message) {
  if (error) *error = message;
  return false;
}

}  // namespace

bool BuildPictureFile(const uint32_t* pixels, int width, int height, uint16_t encoding,
                      const std::vector<SprtElement>& elements, int elementWidth, std::vector<uint8_t>* out,
                      std::string* error) {
  // The engine reads nothing larger; a file it would refuse is not made.
  if (!IsPictureSizeUsable(width, height))
    return Refuse(error, "picture sides must be 0 to 8192 pixels, at most 64 Mi pixels in all");
  if (elementWidth != 4 && elementWidth != 6) return Refuse(error, "elements carry 4 or 6 values");
  if (elements.size() > 0xFFFF) return Refuse(error, "at most 65535 elements");
  size_t count = static_cast<size_t>(width) * height;
  std::vector<uint8_t> data;
  switch (encoding) {
    case kPictureRaw:
      data.resize(count * 4);
      if (count) memcpy(data.data(), pixels, count * 4);
      break;
    case kPictureSGD: data = EncodeSgdPixels(pixels, count); break;
    case kPicturePNG:
      if (!EncodePngPixels(pixels, width, height, true, &data)) return Refuse(error, "PNG encoding failed");
      break;
    default: return Refuse(error, "unknown encoding");
  }
  if (data.size() > 0xFFFFFFFFu - kPictureHeaderSize) return Refuse(error, "picture data too large");

  out->assign(kPictureHeaderSize, 0);
  uint8_t* h = out->data();
  memcpy(h, "MGD ", 4);
  Put16(h + 6, 1);
  Put16(h + 12, static_cast<uint32_t>(width));
  Put16(h + 14, static_cast<uint32_t>(height));
  Put16(h + 24, encoding);
  Put32(h + 92, static_cast<uint32_t>(data.size()));
  out->insert(out->end(), data.begin(), data.end());

  size_t at = out->size();
  out->resize(at + 12 + elements.size() * elementWidth * 2, 0);
  uint8_t* e = out->data() + at;
  Put16(e + 8, static_cast<uint32_t>(elements.size()));
  Put16(e + 10, static_cast<uint32_t>(elementWidth));
  e += 12;
  for (const auto& el : elements) {
    const int16_t values[6] = {el.x, el.y, el.w, el.h, el.ox, el.oy};
    for (int i = 0; i < elementWidth; ++i, e += 2) Put16(e, static_cast<uint16_t>(values[i]));
  }
  return true;
}
