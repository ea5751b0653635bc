// 2DRot: the picture turns about its centre, one turn per period, for a
// number of turns or endlessly, in either direction.
#include <cmath>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/SprtVertex.h"
#include "scene/DIBSnrAction.h"
#include "scene/FrameStep.h"
#include "scene/RecordIO.h"
#include "scene/SceneMath.h"
#include "scene/SceneQuad.h"

bool CDIBSnrAction::Setup2DRot() {
  Trace("CDIBSnrAction::Setup2DRot");
  mnRotTime = 0;
  mnRotTurns = 0;
  return true;
}

void CDIBSnrAction::Release2DRot() { Trace("CDIBSnrAction::Release2DRot"); }

void CDIBSnrAction::Move2DRot() {
  Trace("CDIBSnrAction::Move2DRot");
  BeginMove();
  const int32_t period = mParam.rot.nPeriod, turns = mParam.rot.nTurns;
  if (turns > 0 && mnRotTurns >= turns) return;
  // Without a positive period the picture cannot turn; it holds still.
  if (period <= 0) return;
  mnRotTime = scene::AddClamped(mnRotTime, scene::FrameStep());
  if (mnRotTime >= period) {
    mnRotTime -= period;
    if (mnRotTurns < INT32_MAX) ++mnRotTurns;
    if (turns > 0 && mnRotTurns >= turns) mnRotTime = 0;
  }
  mbChange = 1;
}

void CDIBSnrAction::Draw2DRot(const LayerDrawParam* param) {
  Trace("CDIBSnrAction::Draw2DRot");
  const int32_t period = mParam.rot.nPeriod;
  const double turn = period > 0 ? static_cast<double>(mnRotTime) / period : 0.0;
  const double g = mParam.rot.nDirection == 0 ? turn * smath::kTwoPi : (1.0 - turn) * smath::kTwoPi;
  SprtVertex quad;
  PlainQuad(param, param->nX, param->nY, param->nZ, quad);
  if (g != 0.0) {
    const int64_t w = param->nWidth, h = param->nHeight;
    const int64_t hw = w / 2, hh = h / 2;
    const int64_t corners[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    for (int i = 0; i < 4; ++i) {
      const double dx = static_cast<double>(corners[i][0] - hw), dy = static_cast<double>(corners[i][1] - hh);
      const double angle = smath::WrapTwoPi(smath::Atan2(-dy, dx));
      const double r = std::sqrt(dx * dx + dy * dy);
      double a = g + angle;
      if (a > smath::kTwoPi) a -= smath::kTwoPi;
      const double px = std::trunc(static_cast<double>(hw) + smath::Cos(a) * r);
      const double py = std::trunc(static_cast<double>(hh) - smath::Sin(a) * r);
      scene::SetPoint(quad.dst[i], param->nX + static_cast<int64_t>(px), param->nY + static_cast<int64_t>(py),
                      param->nZ);
    }
  }
  DrawQuads(param, param->pImage, &quad, 1);
}

void CDIBSnrAction::Save2DRot(uint8_t*& dst) const {
  Trace("CDIBSnrAction::Save2DRot");
  CRecordWriter out(dst);
  out.I32(mnRotTime);
  out.I32(mnRotTurns);
  dst = out.End();
}

void CDIBSnrAction::Load2DRot(const uint8_t*& src) {
  Trace("CDIBSnrAction::Load2DRot");
  CRecordReader in(src, 8);
  mnRotTime = in.I32();
  mnRotTurns = in.I32();
  src = in.Here();
}
