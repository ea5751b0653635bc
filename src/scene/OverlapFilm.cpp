// Effect 13, Film: the old picture turns into a flickering old film (phase
// one fades the film in, phase two shows only the film), then the film
// folds away into a line over the new picture (phase three).
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "scene/DIBFilm.h"
#include "scene/DIBOverlap.h"
#include "scene/OverlapArea.h"
#include "ui/EffectParam.h"

namespace {

constexpr int kCells = 5;
constexpr uint32_t kTint = 0x00FFAB50u;

enum class FilmPhase { In, Only, Out };

FilmPhase PhaseAt(const OverlapArea& area, int32_t elapsed) {
  if (elapsed < area.nPhase[0]) return FilmPhase::In;
  if (int64_t{elapsed} < int64_t{area.nPhase[0]} + area.nPhase[1]) return FilmPhase::Only;
  return FilmPhase::Out;
}

// Where and how strongly the film shows at `elapsed`.
void PlaceFilm(OverlapArea& area, int32_t elapsed) {
  CDIBFilm& film = *area.pFilm;
  const int w = film.GetCellWidth(), h = film.GetCellHeight();
  switch (PhaseAt(area, elapsed)) {
    case FilmPhase::In:
      area.nFilmAlpha = static_cast<uint32_t>(int64_t{elapsed} * 255 / area.nPhase[0]);
      film.SetDrawParam(0, 0, w, h, area.nFilmAlpha << 24 | kTint);
      break;
    case FilmPhase::Only:
      film.SetDrawParam(0, 0, w, h, area.nFilmAlpha << 24 | kTint);
      break;
    case FilmPhase::Out: {
      const int64_t into = int64_t{elapsed} - area.nPhase[0] - area.nPhase[1];
      const double x = area.nPhase[2] > 0 ? std::clamp(static_cast<double>(into) / area.nPhase[2], 0.0, 1.0) : 1.0;
      const int fw = static_cast<int>((1 - std::sin(x * std::numbers::pi) * 0.6) * w);
      const int fh = static_cast<int>((1 - std::sin(x * std::numbers::pi / 2)) * h);
      const uint32_t alpha = static_cast<uint32_t>(255 - x * 128);
      film.SetDrawParam((w - fw) / 2, (h - fh) / 2, fw, fh, alpha << 24 | kTint);
      break;
    }
  }
}

}  // namespace

void CDIBOverlap::InitFilm(const EffectParam* param) {
  Trace("CDIBOverlap::InitFilm");
  EffectParamReader read(param);
  char frameName[256], scratchName[256];
  read.Name(frameName);
  read.Name(scratchName);
  int32_t phase[3];
  int64_t span = 0;
  for (int32_t& p : phase) {
    p = std::max(read.Int(), 0);
    span += p;
  }
  StartEffect(EFFECT_FILM, static_cast<int32_t>(std::min<int64_t>(span, INT32_MAX)));
  OverlapArea& area = NewArea();
  std::copy(phase, phase + 3, area.nPhase);
  // Without a duration the new picture shows at once: no film to make.
  if (span <= 0 || !mpOldImage || !mpOldImage->GetPixels()) {
    area.bMissing = true;
    return;
  }
  // Pictures without a name, or that cannot be read, are left out of the
  // film.
  CDIBSprite* frame = ReadPicture(frameName, 0);
  CDIBSprite* scratch = ReadPicture(scratchName, 1);
  area.pFilm = std::make_unique<CDIBFilm>();
  if (!area.pFilm->Initialize(mpOldImage->GetWidth(), mpOldImage->GetHeight(), kCells, frame, scratch) ||
      !area.pFilm->MakeAnmCell(mpOldImage)) {
    area.pFilm.reset();
    area.bMissing = true;
    return;
  }
  area.pFilm->SetMove(true);
  PlaceFilm(area, 0);
}

void CDIBOverlap::MoveFilm() {
  Trace("CDIBOverlap::MoveFilm");
  if (!mpArea || !mpArea->pFilm) return;
  PlaceFilm(*mpArea, mnTime);
  mpArea->pFilm->Move();
}

void CDIBOverlap::DrawFilm(CDIBImage* target) {
  Trace("CDIBOverlap::DrawFilm");
  if (!mpArea || mpArea->bMissing) {
    CopyNew(target);
    return;
  }
  switch (PhaseAt(*mpArea, mnTime)) {
    case FilmPhase::In: CopyOld(target); break;
    case FilmPhase::Only: break;
    case FilmPhase::Out: CopyNew(target); break;
  }
  mpArea->pFilm->Draw(target);
}

void CDIBOverlap::ReleaseFilm() {
  Trace("CDIBOverlap::ReleaseFilm");
  ReleaseArea();
}
