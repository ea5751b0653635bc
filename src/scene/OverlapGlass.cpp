// Effect 10, Glass: the old picture shatters into 9 × 9 pieces that fly
// away turning in space (mode 0 outwards from the middle, 1 to 4 up, down,
// left, right) and uncover the new picture; a piece showing its back is
// drawn at half brightness.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "platform/Random.h"
#include "scene/DIBOverlap.h"
#include "scene/OverlapArea.h"
#include "scene/OverlapSpace.h"
#include "ui/EffectParam.h"

namespace {

constexpr int kPieces = 9;
constexpr double kPieceWidth = 88.77778, kPieceHeight = 66.55556;
// The point the pieces fly away from, and the distance they fly.
constexpr float kBurstX = 320, kBurstY = 240, kFlight = 800;
constexpr uint32_t kFront = 0xFFFFFFFFu, kBack = 0xFF808080u;

float TurningRate() {
  return static_cast<float>((plat::Rand() % 1000) * 0.001 * 4 * std::numbers::pi - 2 * std::numbers::pi);
}

int16_t Point(double v) { return static_cast<int16_t>(std::clamp(v, -32000.0, 32000.0)); }

}  // namespace

void CDIBOverlap::InitGlass(const EffectParam* param) {
  Trace("CDIBOverlap::InitGlass");
  EffectParamReader read(param);
  const int32_t span = read.Int();
  const int32_t mode = read.Int();
  StartEffect(EFFECT_GLASS, span);
  OverlapArea& area = NewArea();
  area.nMode = (mode >= 0 && mode <= 4) ? mode : 0;
  const int maxU = mpOldImage && mpOldImage->GetPixels() ? mpOldImage->GetWidth() - 1 : 0;
  const int maxV = mpOldImage && mpOldImage->GetPixels() ? mpOldImage->GetHeight() - 1 : 0;
  area.pieces.resize(kPieces * kPieces);
  for (int i = 0; i < kPieces; ++i) {
    for (int j = 0; j < kPieces; ++j) {
      GlassPiece& piece = area.pieces[static_cast<size_t>(i) * kPieces + j];
      piece.fLeft = static_cast<float>(j * kPieceWidth);
      piece.fTop = static_cast<float>(i * kPieceHeight);
      piece.fRight = static_cast<float>((j + 1) * kPieceWidth);
      piece.fBottom = static_cast<float>((i + 1) * kPieceHeight);
      const float dx = (piece.fLeft + piece.fRight) / 2 - kBurstX;
      const float dy = (piece.fTop + piece.fBottom) / 2 - kBurstY;
      ovl::Vec dir;
      switch (area.nMode) {
        case 1: dir = ovl::Vec{dx * 0.001f, -1, 0.1f, 0}; break;
        case 2: dir = ovl::Vec{dx * 0.001f, 1, 0.1f, 0}; break;
        case 3: dir = ovl::Vec{-1, dy * 0.001f, 0.1f, 0}; break;
        case 4: dir = ovl::Vec{1, dy * 0.001f, 0.1f, 0}; break;
        default: dir = ovl::Normalize3(ovl::Vec{dx, dy, -5, 0}); break;
      }
      piece.fDir[0] = dir.x;
      piece.fDir[1] = dir.y;
      piece.fDir[2] = dir.z;
      for (float& rate : piece.fRate) rate = TurningRate();
      const int16_t u0 = static_cast<int16_t>(std::min(static_cast<int>(piece.fLeft), maxU));
      const int16_t v0 = static_cast<int16_t>(std::min(static_cast<int>(piece.fTop), maxV));
      const int16_t u1 = static_cast<int16_t>(std::min(static_cast<int>(piece.fRight), maxU));
      const int16_t v1 = static_cast<int16_t>(std::min(static_cast<int>(piece.fBottom), maxV));
      piece.vertex.src[0] = SprtTexel{u0, v0};
      piece.vertex.src[1] = SprtTexel{u1, v0};
      piece.vertex.src[2] = SprtTexel{u1, v1};
      piece.vertex.src[3] = SprtTexel{u0, v1};
    }
  }
  // The first frame is drawn before the first move.
  MoveGlass();
}

void CDIBOverlap::MoveGlass() {
  Trace("CDIBOverlap::MoveGlass");
  if (!mpArea) return;
  const float s = static_cast<float>(std::sin(Progress() * std::numbers::pi / 2));
  const ovl::Mat view = ovl::View(ovl::Vec{0, 0, -1000, 0}, ovl::Vec{}, ovl::Vec{0, 1, 0, 0});
  const ovl::Mat look = ovl::Mul(view, ovl::Projection(static_cast<float>(std::numbers::pi / 2), 1000, 0.0001f, 1));
  for (GlassPiece& piece : mpArea->pieces) {
    const ovl::Mat turn =
        ovl::Mul(ovl::Mul(ovl::RotZ(s * piece.fRate[0]), ovl::RotX(s * piece.fRate[1])), ovl::RotY(s * piece.fRate[2]));
    const float hw = (piece.fRight - piece.fLeft) / 2, hh = (piece.fBottom - piece.fTop) / 2;
    const float cx = piece.fLeft + hw + piece.fDir[0] * kFlight * s - 400;
    const float cy = piece.fTop + hh + piece.fDir[1] * kFlight * s - 300;
    const float cz = piece.fDir[2] * kFlight * s;
    const float corner[4][2] = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}};
    for (int k = 0; k < 4; ++k) {
      ovl::Vec p = ovl::Apply(ovl::Vec{corner[k][0], corner[k][1], 0, 1}, turn);
      p = ovl::Apply(ovl::Vec{p.x + cx, p.y + cy, p.z + cz, 1}, look);
      SprtPoint& at = piece.vertex.dst[k];
      if (p.z == 0) {
        at = SprtPoint{400, 300, 0};
      } else {
        const double g = p.z * 0.001;
        at = SprtPoint{Point(p.x / g + 400.5), Point(p.y / g + 300.5), 0};
      }
    }
    // Corners that run the other way round show the piece's back.
    const SprtPoint* d = piece.vertex.dst;
    const int64_t cross = int64_t{d[1].x - d[0].x} * (d[2].y - d[1].y) - int64_t{d[1].y - d[0].y} * (d[2].x - d[1].x);
    piece.vertex.color = cross < 0 ? kBack : kFront;
  }
}

void CDIBOverlap::DrawGlass(CDIBImage* target) {
  Trace("CDIBOverlap::DrawGlass");
  CopyNew(target);
  if (!mpArea || !target || !target->GetPixels() || !mpOldImage || !mpOldImage->GetPixels()) return;
  for (const GlassPiece& piece : mpArea->pieces) mpOldImage->StretchBltFast(target, piece.vertex, false);
}

void CDIBOverlap::ReleaseGlass() {
  Trace("CDIBOverlap::ReleaseGlass");
  ReleaseArea();
}
