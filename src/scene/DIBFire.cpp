#include "scene/DIBFire.h"

#include <algorithm>
#include <cstdlib>

#include "app/core/Trace.h"
#include "platform/Random.h"

CDIBFire::~CDIBFire() { Trace("CDIBFire::~CDIBFire"); }

bool CDIBFire::Initialize() {
  Trace("CDIBFire::Initialize");
  Release();
  if (!Create(kWidth, kHeight)) return false;
  mHeat.assign(static_cast<size_t>(kWidth) * kHeight, 0);
  FillFull(0);
  SetDrawParam(0, 0, kWidth, kHeight, 0xFFFFFFFFu, 0, 0, 0);
  return true;
}

void CDIBFire::Release() {
  Trace("CDIBFire::Release");
  mHeat.clear();
  mbRun = false;
  mCarry = 0;
  CDIBImage::Release();
}

void CDIBFire::SetMove(bool run, bool clear) {
  Trace("CDIBFire::SetMove");
  mbRun = run;
  if (!run) mCarry = 0;
  if (clear && !mHeat.empty()) {
    std::fill(mHeat.begin(), mHeat.end(), 0);
    FillFull(0);
  }
}

void CDIBFire::SetDrawParam(int x, int y, int width, int height, uint32_t color, int addRed, int addGreen,
                            int addBlue) {
  Trace("CDIBFire::SetDrawParam");
  // The inner part of the grid, inset by a tenth on each side, is what shows:
  // the edges, where the averaging has no neighbours, never do.
  SetVertex(mDrawVertex, x, y, 0, 0, width, height, color);
  const int16_t left = kWidth / 10, top = kHeight / 10;
  const int16_t right = kWidth - kWidth / 10, bottom = kHeight - kHeight / 10;
  mDrawVertex.src[0] = SprtTexel{left, top};
  mDrawVertex.src[1] = SprtTexel{right, top};
  mDrawVertex.src[2] = SprtTexel{right, bottom};
  mDrawVertex.src[3] = SprtTexel{left, bottom};
  mAddRed = addRed;
  mAddGreen = addGreen;
  mAddBlue = addBlue;
}

namespace {
// The palette itself, for the per-cell loop, which records its own one step
// rather than one for every cell.
uint32_t PaletteColour(int32_t heat) {
  const int32_t h = std::clamp(heat, 0, CDIBFire::kMaxHeat);
  if (h < 256) return static_cast<uint32_t>(h) << 16;
  if (h < 512) return 0xFF0000u | static_cast<uint32_t>(h - 256) << 8;
  return 0xFFFF00u | static_cast<uint32_t>(h - 512);
}
}  // namespace

uint32_t CDIBFire::Palette(int32_t heat) {
  Trace("CDIBFire::Palette");
  return PaletteColour(heat);
}

int32_t CDIBFire::Feed(int) {
  Trace("CDIBFire::Feed");
  if (plat::Rand() % 100 < 40) return plat::Rand() % 1000 + mBaseHeat;
  return 0;
}

int32_t CDIBFireEx::Feed(int x) {
  Trace("CDIBFireEx::Feed");
  const int32_t half = mShapeWidth / 2;
  if (half <= 0) return 0;
  const int64_t e = (static_cast<int64_t>(half) - std::abs(static_cast<int64_t>(x) - mCentre)) * 40 / half;
  if (e <= 40 && plat::Rand() % 100 < e) return plat::Rand() % 1000 + mBaseHeat;
  return 0;
}

void CDIBFire::Tick() {
  Trace("CDIBFire::Tick");
  if (mHeat.empty()) return;
  int32_t* bottom = &mHeat[static_cast<size_t>(kHeight - 1) * kWidth];
  for (int x = 0; x < kWidth; ++x) bottom[x] = Feed(x);
  const bool coolCold = CoolsColdCells();
  for (int y = 1; y <= kHeight - 2; ++y) {
    const int32_t* row = &mHeat[static_cast<size_t>(y) * kWidth];
    const int32_t* below = row + kWidth;
    int32_t* up = &mHeat[static_cast<size_t>(y - 1) * kWidth];
    for (int x = 1; x <= kWidth - 2; ++x) {
      const int64_t sum = static_cast<int64_t>(below[x]) + row[x - 1] + row[x + 1] + row[x];
      if (sum == 0 && !coolCold) continue;
      const int64_t average = sum / 4;
      up[x] = average < 8 ? 0 : static_cast<int32_t>(average - 7);
    }
  }
}

void CDIBFire::UpdateImage() {
  Trace("CDIBFire::UpdateImage");
  uint32_t* pixels = GetPixels();
  if (!pixels || mHeat.empty()) return;
  const bool add = mAddRed != 0 || mAddGreen != 0 || mAddBlue != 0;
  for (size_t i = 0; i < mHeat.size(); ++i) {
    const int32_t heat = mHeat[i];
    if (heat <= 0) {
      pixels[i] = 0;
      continue;
    }
    const int32_t h = std::min(heat, kMaxHeat);
    uint32_t colour = PaletteColour(h);
    uint32_t alpha = static_cast<uint32_t>(h * 128 / kMaxHeat);
    if (add) {
      const int r = std::clamp(static_cast<int>((colour >> 16) & 0xFF) + mAddRed, 0, 255);
      const int g = std::clamp(static_cast<int>((colour >> 8) & 0xFF) + mAddGreen, 0, 255);
      const int b = std::clamp(static_cast<int>(colour & 0xFF) + mAddBlue, 0, 255);
      colour = static_cast<uint32_t>(r << 16 | g << 8 | b);
      alpha = 255;
    }
    pixels[i] = alpha << 24 | colour;
  }
}

void CDIBFire::Move(int32_t ms) {
  Trace("CDIBFire::Move");
  if (!mbRun) {
    mCarry = 0;
    return;
  }
  if (ms < 0) ms = 0;
  const int64_t total = static_cast<int64_t>(mCarry) + ms;
  const int64_t ticks = total / kTickMs;
  mCarry = static_cast<int32_t>(total % kTickMs);
  // Long before this many ticks every cell has been replaced from the fed
  // row; running more would only stall the frame.
  for (int64_t i = 0; i < std::min<int64_t>(ticks, kMaxTicksPerMove); ++i) Tick();
  if (ticks > 0) UpdateImage();
}

void CDIBFire::Draw(CDIBImage* target) {
  Trace("CDIBFire::Draw");
  if (!mbRun || !target || !GetPixels()) return;
  StretchBltBlend(target, mDrawVertex, false);
}
