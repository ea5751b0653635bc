// Raster: the picture waves. A 51 × 51 grid of points over its rectangle is
// displaced by sine waves along its rows, its columns or both, fading in
// after Play and out after Stop. Blended cells go through a coverage mask so
// that the edges neighbouring cells share are blended once.
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/PixelRows.h"
#include "assets/SprtVertex.h"
#include "scene/DIBCamera.h"
#include "scene/DIBSnrAction.h"
#include "scene/FrameStep.h"
#include "scene/RecordIO.h"
#include "scene/SceneMath.h"
#include "scene/SceneQuad.h"

namespace {

constexpr int kGrid = CDIBSnrAction::kRasterGrid;
constexpr int kCells = kGrid - 1;
// Pixels sampled before the blend kernel runs over them.
constexpr int kBatch = 256;
// The float nearest 1 ÷ 51, the wave's step from one grid line to the next.
constexpr double kGridStep = 0.019607844;

// Grid line i of 0 … 50 across a span of n pixels; the last one pulled in
// by a pixel so that it stays on the span.
int64_t GridLine(int i, int64_t n) { return i == kCells ? n - 1 : i * n / kCells; }

int64_t Wave(double angle, double amplitude) {
  if (angle > smath::kTwoPi) angle = smath::WrapTwoPi(angle);
  const double v = std::trunc(smath::Sin(angle) * amplitude);
  return std::isfinite(v) ? static_cast<int64_t>(std::clamp(v, -1e9, 1e9)) : 0;
}

using EdgeRow = CDIBSnrAction::RasterEdge;

void UpdateRow(EdgeRow& row, int x, int u, int v) {
  if (x < row.minX) row.minX = x, row.minU = u, row.minV = v;
  if (x > row.maxX) row.maxX = x, row.maxU = u, row.maxV = v;
}

}  // namespace

bool CDIBSnrAction::SetupRaster() {
  Trace("CDIBSnrAction::SetupRaster");
  // The wave runs over twice the period given.
  mParam.raster.nPeriod = static_cast<int32_t>(std::min<int64_t>(int64_t{mParam.raster.nPeriod} * 2, INT32_MAX));
  mnRasterPhase = mnRasterFadeIn = mnRasterFadeOut = 0;
  mRasterMask.clear();
  mnMaskWidth = 0;
  return true;
}

void CDIBSnrAction::ReleaseRaster() {
  Trace("CDIBSnrAction::ReleaseRaster");
  mRasterMask.clear();
  mRasterMask.shrink_to_fit();
  mRasterEdges.clear();
  mRasterEdges.shrink_to_fit();
  mnMaskWidth = 0;
}

void CDIBSnrAction::MoveRaster() {
  Trace("CDIBSnrAction::MoveRaster");
  const auto& p = mParam.raster;
  const int32_t step = scene::FrameStep();
  double k = 1.0;
  if (mbPlay) {
    const int32_t length = std::max(p.nFadeIn, 0);
    mnRasterFadeIn = static_cast<int32_t>(std::min<int64_t>(int64_t{mnRasterFadeIn} + step, length));
    if (mnRasterFadeIn >= length) mbStart = 1;
    if (p.nFadeIn > 0) k = static_cast<double>(mnRasterFadeIn) / p.nFadeIn + 1.0;
  } else {
    const int32_t length = std::max(p.nFadeOut, 0);
    mnRasterFadeOut = static_cast<int32_t>(std::min<int64_t>(int64_t{mnRasterFadeOut} + step, length));
    if (mnRasterFadeOut >= length) {
      mbStop = 1;
      mbActive = 0;
    }
    if (p.nFadeOut > 0) k = 2.0 - static_cast<double>(mnRasterFadeOut) / p.nFadeOut;
  }
  const int64_t phase = int64_t{mnRasterPhase} + static_cast<int64_t>(std::trunc(k * step));
  mnRasterPhase = p.nPeriod > 0 ? static_cast<int32_t>(phase % p.nPeriod) : 0;
  mbChange = 1;
}

void CDIBSnrAction::DrawRaster(const LayerDrawParam* param) {
  Trace("CDIBSnrAction::DrawRaster");
  const auto& p = mParam.raster;
  const double amplitude = p.nAmplitude;
  double a = 0.0;
  if (mbActive && mbPlay) a = p.nFadeIn > 0 ? amplitude * mnRasterFadeIn / p.nFadeIn : amplitude;
  else if (mbActive) a = p.nFadeOut > 0 ? amplitude * (1.0 - static_cast<double>(mnRasterFadeOut) / p.nFadeOut) : amplitude;
  const double share = amplitude != 0.0 ? a / amplitude : 1.0;
  const double f = ((1.0 - share) + 1.0) * smath::kTwoPi * kGridStep;
  const double q = p.nPeriod > 0 ? (1.0 - static_cast<double>(mnRasterPhase) / p.nPeriod) * smath::kTwoPi
                                 : smath::kTwoPi;

  const int64_t w = param->nWidth, h = param->nHeight;
  const int64_t pw = param->pImage->GetWidth(), ph = param->pImage->GetHeight();
  const bool moveX = p.nMode == 0 || p.nMode == 2, moveY = p.nMode == 1 || p.nMode == 2;
  int64_t px[kGrid][kGrid], py[kGrid][kGrid];
  int16_t u[kGrid], v[kGrid];
  for (int i = 0; i < kGrid; ++i) {
    u[i] = scene::Clamp16(GridLine(i, pw));
    v[i] = scene::Clamp16(GridLine(i, ph));
  }
  for (int r = 0; r < kGrid; ++r) {
    const int64_t rowTerm = moveX ? Wave(f * r + q, a) : 0;
    for (int c = 0; c < kGrid; ++c) {
      const int64_t colTerm = moveY ? Wave(f * c + q, a) : 0;
      px[r][c] = param->nX + GridLine(c, w) + rowTerm;
      py[r][c] = param->nY + GridLine(r, h) + colTerm;
    }
  }
  std::vector<SprtVertex> cells(static_cast<size_t>(kCells) * kCells);
  for (int r = 0; r < kCells; ++r) {
    for (int c = 0; c < kCells; ++c) {
      SprtVertex& cell = cells[static_cast<size_t>(r) * kCells + c];
      scene::SetPoint(cell.dst[0], px[r][c], py[r][c], param->nZ);
      scene::SetPoint(cell.dst[1], px[r][c + 1], py[r][c + 1], param->nZ);
      scene::SetPoint(cell.dst[2], px[r + 1][c + 1], py[r + 1][c + 1], param->nZ);
      scene::SetPoint(cell.dst[3], px[r + 1][c], py[r + 1][c], param->nZ);
      cell.src[0] = SprtTexel{u[c], v[r]};
      cell.src[1] = SprtTexel{u[c + 1], v[r]};
      cell.src[2] = SprtTexel{u[c + 1], v[r + 1]};
      cell.src[3] = SprtTexel{u[c], v[r + 1]};
      cell.color = param->dwColor;
    }
  }
  if (!param->bBlend) {
    DrawQuads(param, param->pImage, cells.data(), static_cast<int>(cells.size()));
    return;
  }
  if (param->pCamera) param->pCamera->Transform(cells.data(), static_cast<int>(cells.size()));
  // Every draw starts from a clear mask, so each target pixel is blended at
  // most once per draw whatever the colour.
  CDIBImage* target = param->pTarget;
  const size_t need = static_cast<size_t>(target->GetWidth()) * static_cast<size_t>(target->GetHeight());
  if (mRasterMask.size() != need || mnMaskWidth != target->GetWidth()) {
    mRasterMask.assign(need, 0);
    mnMaskWidth = target->GetWidth();
  } else {
    std::fill(mRasterMask.begin(), mRasterMask.end(), 0);
  }
  for (const SprtVertex& cell : cells) {
    if (param->pCamera && CDIBCamera::IsCleared(cell)) continue;
    BltRaster(param->pImage, target, cell);
  }
}

void CDIBSnrAction::BltRaster(CDIBImage* src, CDIBImage* dst, const SprtVertex& vertex) {
  Trace("CDIBSnrAction::BltRaster");
  if (!src || !src->GetPixels() || !dst || !dst->GetPixels()) return;
  const int dw = dst->GetWidth(), dh = std::min(dst->GetHeight(), CDIBImage::kEdgeRows);
  const size_t maskNeed = static_cast<size_t>(dst->GetWidth()) * static_cast<size_t>(dst->GetHeight());
  if (mRasterMask.size() != maskNeed || mnMaskWidth != dw) {
    mRasterMask.assign(maskNeed, 0);
    mnMaskWidth = dw;
  }
  const int sw = src->GetWidth(), sh = src->GetHeight();
  SprtVertex q = vertex;
  for (SprtTexel& t : q.src) {
    t.u = static_cast<int16_t>(std::clamp<int>(t.u, 0, std::min(sw - 1, 32767)));
    t.v = static_cast<int16_t>(std::clamp<int>(t.v, 0, std::min(sh - 1, 32767)));
  }
  // The quad's rows within the target, each with its leftmost and rightmost
  // x and the source position there.
  int top = dh, bottom = -1;
  for (const SprtPoint& pt : q.dst) {
    top = std::min<int>(top, pt.y);
    bottom = std::max<int>(bottom, pt.y);
  }
  top = std::max(top, 0);
  bottom = std::min(bottom, dh - 1);
  if (top > bottom) return;
  // The edge table lives with the action: a wave draws 2500 cells a frame.
  const size_t rowCount = static_cast<size_t>(bottom - top + 1);
  if (mRasterEdges.size() < rowCount) mRasterEdges.resize(rowCount);
  EdgeRow* rows = mRasterEdges.data();
  for (size_t i = 0; i < rowCount; ++i) rows[i] = EdgeRow{32767, -32768, 0, 0, 0, 0};
  for (int i = 0; i < 4; ++i) {
    const SprtPoint& a = q.dst[i];
    const SprtPoint& b = q.dst[(i + 1) & 3];
    const SprtTexel& ta = q.src[i];
    const SprtTexel& tb = q.src[(i + 1) & 3];
    if ((a.y < top && b.y < top) || (a.y > bottom && b.y > bottom)) continue;
    if (a.y == b.y) {
      UpdateRow(rows[static_cast<size_t>(a.y - top)], a.x, ta.u, ta.v);
      UpdateRow(rows[static_cast<size_t>(b.y - top)], b.x, tb.u, tb.v);
      continue;
    }
    const bool down = a.y < b.y;
    const SprtPoint& p0 = down ? a : b;
    const SprtPoint& p1 = down ? b : a;
    const SprtTexel& t0 = down ? ta : tb;
    const SprtTexel& t1 = down ? tb : ta;
    const int n = p1.y - p0.y;
    const int64_t dx = (int64_t{p1.x} - p0.x) * 65536 / n, du = (int64_t{t1.u} - t0.u) * 65536 / n,
                  dv = (int64_t{t1.v} - t0.v) * 65536 / n;
    const int first = std::max<int>(p0.y, top), last = std::min<int>(p1.y, bottom);
    const int64_t skip = first - p0.y;
    int64_t x = p0.x * int64_t{65536} + dx * skip, uu = t0.u * int64_t{65536} + du * skip,
            vv = t0.v * int64_t{65536} + dv * skip;
    for (int y = first; y <= last; ++y, x += dx, uu += du, vv += dv)
      UpdateRow(rows[static_cast<size_t>(y - top)], static_cast<int>(x >> 16), static_cast<int>(uu >> 16),
                static_cast<int>(vv >> 16));
  }
  const uint32_t* sp = src->GetPixels();
  const uint32_t m = q.color;
  const pix::RowKernels& kernels = pix::Rows();
  uint32_t samples[kBatch];
  for (int y = top; y <= bottom; ++y) {
    const EdgeRow& row = rows[static_cast<size_t>(y - top)];
    if (row.maxX < row.minX || row.maxX < 0 || row.minX >= dw) continue;
    const int n = row.maxX - row.minX + 1;
    const int64_t du = (int64_t{row.maxU} - row.minU + 1) * 65536 / n;
    const int64_t dv = (int64_t{row.maxV} - row.minV + 1) * 65536 / n;
    int64_t uu = row.minU * int64_t{65536}, vv = row.minV * int64_t{65536};
    int x = row.minX;
    if (x < 0) {
      uu += du * -int64_t{x};
      vv += dv * -int64_t{x};
      x = 0;
    }
    const int end = std::min(row.maxX, dw - 1);
    uint32_t* d = dst->GetPixels() + static_cast<size_t>(y) * dw;
    uint8_t* mark = mRasterMask.data() + static_cast<size_t>(y) * dw;
    // Runs of pixels not yet blended are sampled, marked, and blended by
    // the image buffer's row kernel (the blend rule, pixel for pixel).
    while (x <= end) {
      if (mark[x]) {
        ++x;
        uu += du;
        vv += dv;
        continue;
      }
      const int first = x;
      int run = 0;
      for (; x <= end && !mark[x] && run < kBatch; ++x, ++run, uu += du, vv += dv) {
        mark[x] = 1;
        const int64_t su = std::clamp<int64_t>(uu >> 16, 0, sw - 1), sv = std::clamp<int64_t>(vv >> 16, 0, sh - 1);
        samples[run] = sp[static_cast<size_t>(sv) * sw + static_cast<size_t>(su)];
      }
      kernels.blend(d + first, samples, static_cast<size_t>(run), m);
    }
  }
}

void CDIBSnrAction::SaveRaster(uint8_t*& dst) const {
  Trace("CDIBSnrAction::SaveRaster");
  CRecordWriter out(dst);
  out.I32(mnRasterPhase);
  out.I32(mnRasterFadeIn);
  out.I32(mnRasterFadeOut);
  dst = out.End();
}

void CDIBSnrAction::LoadRaster(const uint8_t*& src) {
  Trace("CDIBSnrAction::LoadRaster");
  CRecordReader in(src, 12);
  mnRasterPhase = in.I32();
  mnRasterFadeIn = in.I32();
  mnRasterFadeOut = in.I32();
  src = in.Here();
  // A fresh coverage mask, made at the first draw (a saved game may hold
  // many waving actions that are never drawn).
  mRasterMask.clear();
  mnMaskWidth = 0;
}
