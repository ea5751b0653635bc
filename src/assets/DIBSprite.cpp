#include "assets/DIBSprite.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "app/core/Trace.h"
#include "assets/FileJoin.h"

namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

}  // namespace

bool IsPictureSizeUsable(int width, int height) {
  return width >= 0 && height >= 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         int64_t{width} * height <= kMaxPicturePixels;
}

CDIBSprite::~CDIBSprite() {
  Trace("CDIBSprite::~CDIBSprite");
  CDIBSprite::Release();
}

void CDIBSprite::Release() {
  Trace("CDIBSprite::Release");
  free(mpSprtInfo);
  mpSprtInfo = nullptr;
  mnSprtInfo = mnSprtWidth = 0;
  CDIBImage::Release();
}

bool CDIBSprite::Create(int width, int height) {
  Trace("CDIBSprite::Create");
  CDIBImage::Create(width, height);
  // The image refuses sizes it cannot hold by staying empty.
  if (width > 0 && height > 0 && !GetPixels()) return false;
  if (!InitSprtInfo(1, 4)) return false;
  mpSprtInfo[0] = SprtElement{0, 0, static_cast<int16_t>(width), static_cast<int16_t>(height), 0, 0};
  return true;
}

bool CDIBSprite::InitSprtInfo(int count, int values) {
  Trace("CDIBSprite::InitSprtInfo");
  free(mpSprtInfo);
  mpSprtInfo = nullptr;
  mnSprtInfo = mnSprtWidth = 0;
  if (values <= 3 || count < 0 || count > 0xFFFF) return false;
  // Whole elements whatever the file's width, so that an element of a
  // 4-value file can be read and written like any other.
  if (count > 0) {
    mpSprtInfo = static_cast<SprtElement*>(calloc(static_cast<size_t>(count), sizeof(SprtElement)));
    if (!mpSprtInfo) return false;
  }
  mnSprtInfo = static_cast<uint16_t>(count);
  mnSprtWidth = static_cast<uint16_t>(values);
  return true;
}

void CDIBSprite::SetName(const char* name) {
  Trace("CDIBSprite::SetName");
  snprintf(mszName, sizeof mszName, "%s", name ? name : "");
}

const SprtElement* CDIBSprite::GetSprtInfo(int index) const {
  Trace("CDIBSprite::GetSprtInfo");
  return index >= 0 && index < mnSprtInfo ? &mpSprtInfo[index] : nullptr;
}

SprtElement* CDIBSprite::GetSprtInfoMutable(int index) {
  Trace("CDIBSprite::GetSprtInfoMutable");
  return index >= 0 && index < mnSprtInfo ? &mpSprtInfo[index] : nullptr;
}

SprtElement CDIBSprite::DrawableElement(int element) const {
  Trace("CDIBSprite::DrawableElement");
  // An element the picture does not have draws nothing; one read from a
  // damaged file is cut to the picture, so drawing never samples outside it.
  SprtElement e;
  const SprtElement* stored = GetSprtInfo(element);
  if (!stored) return e;
  e = *stored;
  int left = std::max<int>(e.x, 0), top = std::max<int>(e.y, 0);
  int right = std::min<int>(e.x + e.w, GetWidth()), bottom = std::min<int>(e.y + e.h, GetHeight());
  if (right <= left || bottom <= top) return SprtElement{};
  e.x = static_cast<int16_t>(left);
  e.y = static_cast<int16_t>(top);
  e.w = static_cast<int16_t>(right - left);
  e.h = static_cast<int16_t>(bottom - top);
  return e;
}

namespace {
// A quad that every drawing operation passes over: all its corners lie far
// above and left of any target, and it names only the first source pixel.
void NothingToDraw(SprtVertex& out, uint32_t color) {
  for (int i = 0; i < 4; ++i) {
    out.dst[i] = SprtPoint{-32768, -32768, 0};
    out.src[i] = SprtTexel{0, 0};
  }
  out.color = color;
}
}  // namespace

namespace {
// Where the part of an element that was cut to its picture goes along one
// axis: the stored element covers `span` destination pixels from `at` with
// its `size` source pixels; the kept part begins `cut` source pixels in and
// is `kept` long. A destination pixel i of the whole element shows source
// pixel ⌊i × size ÷ span⌋, so the kept part covers the pixels from
// ⌈cut × span ÷ size⌉ to ⌈(cut + kept) × span ÷ size⌉ (exclusive).
void CutSpan(int at, int span, int size, int cut, int kept, int& outAt, int& outSpan) {
  auto ceilDiv = [](int64_t a, int64_t b) { return static_cast<int>((a + b - 1) / b); };
  int first = ceilDiv(int64_t{cut} * span, size), end = ceilDiv(int64_t{cut + kept} * span, size);
  outAt = at + first;
  outSpan = end - first;
}
}  // namespace

void CDIBSprite::SetVertex(SprtVertex& out, int element, int x, int y, uint32_t color) {
  Trace("CDIBSprite::SetVertex");
  SprtElement e = DrawableElement(element);
  if (e.w <= 0 || e.h <= 0) return NothingToDraw(out, color);
  // A cut element keeps its visible pixels where the whole one puts them.
  const SprtElement* stored = GetSprtInfo(element);
  CDIBImage::SetVertex(out, x + (e.x - stored->x), y + (e.y - stored->y), e.x, e.y, e.w, e.h, color);
}

void CDIBSprite::SetStretchVertex(SprtVertex& out, int element, int x, int y, int w, int h, uint32_t color) {
  Trace("CDIBSprite::SetStretchVertex");
  SprtElement drawable = DrawableElement(element);
  if (drawable.w <= 0 || drawable.h <= 0) return NothingToDraw(out, color);
  const SprtElement* e = &drawable;
  const SprtElement* stored = GetSprtInfo(element);
  if (w > 0 && h > 0 && (e->x != stored->x || e->y != stored->y || e->w != stored->w || e->h != stored->h)) {
    // Cut: the kept part is stretched over its share of the destination,
    // not over the whole of it.
    CutSpan(x, w, stored->w, e->x - stored->x, e->w, x, w);
    CutSpan(y, h, stored->h, e->y - stored->y, e->h, y, h);
    if (w <= 0 || h <= 0) return NothingToDraw(out, color);
  }
  CDIBImage::SetVertex(out, x, y, 0, 0, w, h, color);
  auto p = [](int v) { return static_cast<int16_t>(v); };
  out.src[0] = SprtTexel{e->x, e->y};
  out.src[1] = SprtTexel{p(e->x + e->w - 1), e->y};
  out.src[2] = SprtTexel{p(e->x + e->w - 1), p(e->y + e->h - 1)};
  out.src[3] = SprtTexel{e->x, p(e->y + e->h - 1)};
}

bool CDIBSprite::Read(CFileJoin* source, const char* name) {
  Trace("CDIBSprite::Read");
  SetName(name);
  if (!source || !name || !source->Open(name)) {
    Trace("オープンエラー");
    return false;
  }
  uint32_t size = source->GetSize();
  auto* file = static_cast<uint8_t*>(malloc(size ? size : 1));
  if (!file) {
    Trace("メモリ確保失敗");
    source->Close();
    return false;
  }
  uint32_t got = source->Read(file, size);
  source->Close();
  bool ok = false;
  if (got != size)
    Trace("オープンエラー");
  else
    ok = ReadFromMemory(file, size);
  free(file);
  return ok;
}

bool CDIBSprite::ReadFromMemory(const uint8_t* file, size_t size) {
  Trace("CDIBSprite::ReadFromMemory");
  if (!file || size < kPictureHeaderSize) {
    Trace("フォーマットエラー");
    return false;
  }
  uint16_t format = Le16(file + 6);
  if (format >= 2 && format <= 5) {
    Trace("フォーマットエラー");
    return false;
  }
  // A few bytes may declare a picture of gigabytes: refused before any of
  // it is allocated, whatever the encoding.
  if (!IsPictureSizeUsable(Le16(file + 12), Le16(file + 14)) || !Create(Le16(file + 12), Le16(file + 14))) {
    Trace("イメージ作成失敗");
    return false;
  }
  mEncoding = Le16(file + 24);
  size_t at = DecodeMain(file, size, mEncoding, Le32(file + 92));
  if (!at) {
    Trace("デコード失敗");
    return false;
  }
  return ReadElements(file, size, at);
}

bool CDIBSprite::ReadElements(const uint8_t* file, size_t size, size_t at) {
  Trace("CDIBSprite::ReadElements");
  // 8 bytes the reader ignores, the count and the values per element.
  if (at > size || size - at < 12) {
    Trace("スプライト要素数エラー");
    return false;
  }
  uint16_t count = Le16(file + at + 8), width = Le16(file + at + 10);
  const uint8_t* p = file + at + 12;
  if ((width != 4 && width != 6) || static_cast<size_t>(count) * width * 2 > size - at - 12) {
    Trace("スプライト要素数エラー");
    return false;
  }
  if (!InitSprtInfo(count, width)) {
    Trace("メモリ確保失敗");
    return false;
  }
  for (int i = 0; i < count; ++i, p += width * 2) {
    SprtElement& e = mpSprtInfo[i];
    e.x = static_cast<int16_t>(Le16(p));
    e.y = static_cast<int16_t>(Le16(p + 2));
    e.w = static_cast<int16_t>(Le16(p + 4));
    e.h = static_cast<int16_t>(Le16(p + 6));
    if (width == 6) {
      e.ox = static_cast<int16_t>(Le16(p + 8));
      e.oy = static_cast<int16_t>(Le16(p + 10));
    }
  }
  return true;
}

size_t CDIBSprite::DecodeMain(const uint8_t* file, size_t size, uint16_t encoding, uint32_t dataSize) {
  Trace("CDIBSprite::DecodeMain");
  // The encoded data must lie inside the file.
  if (dataSize > size - kPictureHeaderSize) return 0;
  switch (encoding) {
    case kPictureRaw: return DecodeNone(file, size, dataSize);
    case kPictureSGD: return DecodeSGD(file, size, dataSize);
    case kPicturePNG: return DecodePNG(file, size, dataSize);
    default: return 0;
  }
}

size_t CDIBSprite::DecodeNone(const uint8_t* file, size_t, uint32_t dataSize) {
  Trace("CDIBSprite::DecodeNone");
  size_t bytes = static_cast<size_t>(GetWidth()) * GetHeight() * 4;
  if (dataSize < bytes) return 0;
  if (bytes) memcpy(GetPixels(), file + kPictureHeaderSize, bytes);
  return kPictureHeaderSize + dataSize;
}
