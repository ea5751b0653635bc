#include "gen/Figure.h"

#include <cmath>
#include <vector>

#include "app/core/Trace.h"
#include "gen/Color.h"
#include "gen/Shapes.h"

namespace gen {

namespace {

struct Named {
  const char* name;
  int value;
};

const Named kHair[] = {{"long", 0}, {"twintail", 1}, {"ponytail", 2}, {"bob", 3}, {"short", 4}, {"old", 5}};
const Named kOutfit[] = {{"sailor", 0}, {"blouse", 1}, {"yukata", 2}, {"shirt", 3}, {"apron", 4}};
const Named kExpr[] = {{"neutral", 0}, {"smile", 1}, {"laugh", 2},  {"sad", 3}, {"angry", 4},
                       {"surprised", 5}, {"closed", 6}, {"wink", 7}, {"shy", 8}};

template <size_t N>
bool Lookup(const Named (&table)[N], const std::string& value, int* out) {
  for (const Named& n : table)
    if (value == n.name) {
      *out = n.value;
      return true;
    }
  return false;
}

// Draws the figure in its own units (a head about 125 wide, the hair's top
// at y = 0) mapped onto the canvas.
class CFigurePainter {
 public:
  CFigurePainter(CCanvas& canvas, const FigureSpec& spec) : mCanvas(canvas), mSpec(spec) {}
  void Draw();

 private:
  Point P(float x, float y) const { return Point{mSpec.x + x * mSpec.scale, mSpec.y + y * mSpec.scale}; }
  float S(float v) const { return v * mSpec.scale; }
  void Fill(const Shape& shape, const Paint& paint, float opacity = 1, float feather = 0);
  void Shaded(const Shape& shape, uint32_t inner, float depth, float darken = 0.28f);
  void Line(std::vector<Point> pts, float width, uint32_t color, float opacity = 1);
  void Curve(Point a, Point c, Point b, float width, uint32_t color, float opacity = 1);
  Shape Path(std::initializer_list<float> spec);
  void BackHair();
  void Body();
  void Face();
  void Eye(float side);
  void Brow(float side);
  void Mouth();
  void FrontHair();
  void Extras();

  CCanvas& mCanvas;
  const FigureSpec& mSpec;
};

void CFigurePainter::Fill(const Shape& shape, const Paint& paint, float opacity, float feather) {
  Trace("CFigurePainter::Fill");
  ShapeStyle style;
  style.paint = paint;
  style.opacity = opacity;
  style.feather = S(feather);
  style.smooth = mSpec.smooth;
  DrawShape(mCanvas, shape, style);
}

void CFigurePainter::Shaded(const Shape& shape, uint32_t inner, float depth, float darken) {
  Trace("CFigurePainter::Shaded");
  Paint p;
  p.kind = PaintKind::kShade;
  p.depth = S(depth);
  p.stops = {PremulFromArgb(MixColor(inner, 0xFF201020, darken)), PremulFromArgb(inner), PremulFromArgb(inner)};
  Fill(shape, p);
}

void CFigurePainter::Line(std::vector<Point> pts, float width, uint32_t color, float opacity) {
  Trace("CFigurePainter::Line");
  Fill(MakeStroke(std::move(pts), S(width)), SolidPaint(color), opacity);
}

void CFigurePainter::Curve(Point a, Point c, Point b, float width, uint32_t color, float opacity) {
  Trace("CFigurePainter::Curve");
  std::vector<Point> pts{a};
  AddQuadratic(a, c, b, &pts);
  Line(std::move(pts), width, color, opacity);
}

// A closed path in figure units: 'M' x y, 'L' x y, 'Q' cx cy x y, 'C' c1x
// c1y c2x c2y x y, with the letters given as their character codes.
Shape CFigurePainter::Path(std::initializer_list<float> spec) {
  Trace("CFigurePainter::Path");
  std::vector<float> v(spec);
  std::vector<Point> pts;
  Point cur;
  for (size_t i = 0; i < v.size();) {
    char op = static_cast<char>(v[i++]);
    if (op == 'M' || op == 'L') {
      cur = P(v[i], v[i + 1]);
      pts.push_back(cur);
      i += 2;
    } else if (op == 'Q') {
      Point b = P(v[i + 2], v[i + 3]);
      AddQuadratic(cur, P(v[i], v[i + 1]), b, &pts);
      cur = b;
      i += 4;
    } else {
      Point b = P(v[i + 4], v[i + 5]);
      AddCubic(cur, P(v[i], v[i + 1]), P(v[i + 2], v[i + 3]), b, &pts);
      cur = b;
      i += 6;
    }
  }
  return MakePolygon(std::move(pts));
}

constexpr float M = 'M', L = 'L', Q = 'Q', C = 'C';

void CFigurePainter::BackHair() {
  Trace("CFigurePainter::BackHair");
  uint32_t hair = mSpec.hairColor;
  switch (mSpec.hair) {
    case HairStyle::kLong:
      Shaded(Path({M, -76, 70, C, -104, 200, -96, 330, -122, 452, L, -70, 432, L, -30, 458, L, 0, 440, L, 30, 458, L, 70,
                   432, L, 122, 452, C, 96, 330, 104, 200, 76, 70}),
             hair, 46, 0.4f);
      break;
    case HairStyle::kTwinTail:
      for (float sd : {-1.0f, 1.0f})
        Shaded(Path({M, sd * 58, 52, C, sd * 158, 84, sd * 178, 268, sd * 138, 440, Q, sd * 126, 392, sd * 108, 428, C,
                     sd * 128, 262, sd * 112, 140, sd * 52, 96}),
               hair, 30, 0.4f);
      break;
    case HairStyle::kPonyTail:
      Shaded(Path({M, 24, 26, C, 150, 10, 164, 210, 112, 392, Q, 100, 340, 84, 372, C, 112, 210, 100, 92, 18, 60}), hair,
             26, 0.4f);
      break;
    case HairStyle::kBob:
      Shaded(Path({M, -84, 88, C, -96, 160, -88, 204, -72, 222, L, -40, 208, L, 40, 208, L, 72, 222, C, 88, 204, 96, 160,
                   84, 88}),
             hair, 30, 0.4f);
      break;
    case HairStyle::kShort:
    case HairStyle::kOld:
      break;
  }
  if (mSpec.hair != HairStyle::kOld) Shaded(MakeEllipse(P(0, 92).x, P(0, 92).y, S(80), S(76), 0), hair, 30, 0.35f);
}

void CFigurePainter::Body() {
  Trace("CFigurePainter::Body");
  uint32_t skin = mSpec.skinColor, cloth = mSpec.outfitColor, accent = mSpec.accentColor;
  Shaded(MakeRect(P(-15, 140).x, P(-15, 140).y, S(30), S(66), 0, 0), skin, 10, 0.2f);
  Fill(MakeEllipse(P(0, 180).x, P(0, 180).y, S(15), S(7), 0), SolidPaint(MixColor(skin, 0xFF804040, 0.35f)), 0.5f, 3);
  bool sailor = mSpec.outfit == Outfit::kSailor;
  uint32_t body = sailor ? 0xFFF4F4F8 : cloth;
  Shape torso = Path({M, -24, 192, C, -70, 198, -110, 214, -122, 266, L, -140, 640, L, 140, 640, L, 122, 266, C, 110, 214,
                      70, 198, 24, 192});
  Shaded(torso, body, 44, 0.3f);
  switch (mSpec.outfit) {
    case Outfit::kSailor:
      for (float sd : {-1.0f, 1.0f}) {
        Shaded(Path({M, sd * 20, 190, L, sd * 96, 208, L, sd * 126, 258, L, sd * 6, 326, L, 0, 306, L, sd * 18, 200}),
               cloth, 12, 0.3f);
        Line({P(sd * 94, 218), P(sd * 114, 256), P(sd * 10, 316)}, 2.5f, 0xFFF4F4F8);
      }
      Fill(Path({M, 0, 310, L, -32, 294, L, -28, 328}), SolidPaint(accent));
      Fill(Path({M, 0, 310, L, 32, 294, L, 28, 328}), SolidPaint(accent));
      Fill(Path({M, -5, 310, L, -18, 370, L, -6, 364, L, 0, 376, L, 6, 364, L, 18, 370, L, 5, 310}),
           SolidPaint(MixColor(accent, 0xFF000000, 0.15f)));
      Fill(MakeEllipse(P(0, 311).x, P(0, 311).y, S(7), S(7), 0), SolidPaint(MixColor(accent, 0xFF000000, 0.25f)));
      break;
    case Outfit::kBlouse:
      for (float sd : {-1.0f, 1.0f})
        Shaded(Path({M, sd * 12, 192, L, sd * 64, 206, L, sd * 16, 250}), 0xFFFAFAFA, 6, 0.2f);
      for (int i = 0; i < 4; ++i)
        Fill(MakeEllipse(P(0, 268 + i * 50).x, P(0, 268 + i * 50).y, S(4), S(4), 0), SolidPaint(0xFFF0F0F0));
      break;
    case Outfit::kYukata: {
      for (int i = 0; i < 24; ++i) {
        float fx = -130 + static_cast<float>((i * 53) % 260), fy = 220 + static_cast<float>((i * 97) % 400);
        if (ShapeDistance(torso, P(fx, fy).x, P(fx, fy).y) > -S(14)) continue;
        for (int k = 0; k < 5; ++k) {
          float a = static_cast<float>(k) * 1.2566f;
          Point c = P(fx + 8 * std::cos(a), fy + 8 * std::sin(a));
          Fill(MakeEllipse(c.x, c.y, S(5.5f), S(5.5f), 0), SolidPaint(MixColor(cloth, 0xFFFFFFFF, 0.55f)), 0.8f);
        }
        Fill(MakeEllipse(P(fx, fy).x, P(fx, fy).y, S(3), S(3), 0), SolidPaint(MixColor(accent, 0xFFFFFFFF, 0.3f)));
      }
      Fill(Path({M, -20, 192, L, 20, 192, L, 0, 236}), SolidPaint(0xFFF6F2EA));
      Shaded(Path({M, 14, 190, L, 28, 192, L, -2, 280, L, -12, 262}), MixColor(accent, 0xFF000000, 0.2f), 4, 0.2f);
      Shaded(Path({M, -28, 192, L, -14, 190, L, 30, 330, L, 16, 340}), accent, 4, 0.2f);
      Shaded(MakeRect(P(-132, 420).x, P(-132, 420).y, S(264), S(62), 0, 0), accent, 12, 0.3f);
      Line({P(-130, 436), P(130, 436)}, 3, MixColor(accent, 0xFFFFFFFF, 0.5f));
      break;
    }
    case Outfit::kShirt:
      Shaded(Path({M, -26, 192, L, 0, 290, L, 26, 192}), 0xFFF2F0EA, 8, 0.2f);
      for (float sd : {-1.0f, 1.0f}) Fill(Path({M, sd * 4, 192, L, sd * 34, 196, L, sd * 18, 232}), SolidPaint(0xFFFFFFFF));
      for (int i = 0; i < 4; ++i)
        Fill(MakeEllipse(P(8, 320 + i * 56).x, P(8, 320 + i * 56).y, S(5), S(5), 0), SolidPaint(MixColor(cloth, 0xFF000000, 0.4f)));
      break;
    case Outfit::kApron:
      Shaded(Path({M, -96, 330, Q, 0, 300, 96, 330, L, 110, 640, L, -110, 640}), 0xFFFBFAF4, 20, 0.15f);
      for (float sd : {-1.0f, 1.0f}) Line({P(sd * 84, 334), P(sd * 60, 200)}, 12, 0xFFFBFAF4);
      break;
  }
}

void CFigurePainter::Face() {
  Trace("CFigurePainter::Face");
  uint32_t skin = mSpec.skinColor;
  for (float sd : {-1.0f, 1.0f}) Shaded(MakeEllipse(P(sd * 60, 110).x, P(sd * 60, 110).y, S(10), S(16), 0), skin, 8, 0.3f);
  Shaded(Path({M, -62, 92, C, -64, 140, -30, 168, 0, 174, C, 30, 168, 64, 140, 62, 92, C, 62, 40, -62, 40, -62, 92}), skin,
         14, 0.22f);
  float t = mSpec.turn * 8;
  Line({P(t + 2, 127), P(t, 131)}, 1.6f, MixColor(skin, 0xFF603030, 0.5f), 0.8f);
  bool blush = mSpec.blush || mSpec.expression == Expression::kLaugh || mSpec.expression == Expression::kShy;
  if (blush)
    for (float sd : {-1.0f, 1.0f})
      Fill(MakeEllipse(P(sd * 40 + t, 134).x, P(sd * 40 + t, 134).y, S(14), S(6), 0), SolidPaint(0xFFFF7070), 0.45f, 6);
}

void CFigurePainter::Eye(float sd) {
  Trace("CFigurePainter::Eye");
  Expression ex = mSpec.expression;
  uint32_t lash = MixColor(mSpec.hairColor, 0xFF100808, 0.7f);
  float k = mSpec.hair == HairStyle::kOld ? 0.7f : mSpec.hair == HairStyle::kShort ? 0.85f : 1.0f;
  float e = sd * 27 + mSpec.turn * 10, y = 114;
  bool closedArc = ex == Expression::kClosed || (ex == Expression::kWink && sd < 0);
  if (ex == Expression::kLaugh || closedArc) {
    float dir = closedArc ? 1.0f : -1.0f;
    Curve(P(e - 15 * k, y - 2), P(e, y - 2 + dir * 11 * k), P(e + 15 * k, y - 2), 3.6f, lash);
    return;
  }
  bool surprised = ex == Expression::kSurprised;
  float wy = surprised ? 18 : 16;
  Shaded(MakeEllipse(P(e, y).x, P(e, y).y, S(17 * k), S(wy * k), 0), 0xFFFFFFFF, 5, 0.12f);
  float ix = e + mSpec.turn * 3 + (ex == Expression::kShy ? -sd * 0 - 5 : 0);
  float iy = y + 2 + (ex == Expression::kSad ? 3 : 0);
  float irx = (surprised ? 9 : 12.5f) * k, iry = (surprised ? 12 : 15.5f) * k;
  Paint iris;
  iris.kind = PaintKind::kLinear;
  iris.x0 = P(0, iy - iry).x;
  iris.y0 = P(0, iy - iry).y;
  iris.x1 = iris.x0;
  iris.y1 = P(0, iy + iry).y;
  iris.stops = {PremulFromArgb(MixColor(mSpec.eyeColor, 0xFF000010, 0.6f)), PremulFromArgb(mSpec.eyeColor),
                PremulFromArgb(MixColor(mSpec.eyeColor, 0xFFFFFFFF, 0.45f))};
  Fill(MakeEllipse(P(ix, iy).x, P(ix, iy).y, S(irx), S(iry), 0), iris);
  Fill(MakeEllipse(P(ix, iy - 1).x, P(ix, iy - 1).y, S(irx * 0.48f), S(iry * 0.55f), 0),
       SolidPaint(MixColor(mSpec.eyeColor, 0xFF000000, 0.75f)));
  Fill(MakeEllipse(P(ix - 5 * k, iy - 8 * k).x, P(ix - 5 * k, iy - 8 * k).y, S(4.2f * k), S(4.2f * k), 0), SolidPaint(0xFFFFFFFF));
  Fill(MakeEllipse(P(ix + 4.5f * k, iy + 7 * k).x, P(ix + 4.5f * k, iy + 7 * k).y, S(2 * k), S(2 * k), 0),
       SolidPaint(0xFFFFFFFF), 0.8f);
  // The upper lid: in anger it slants down towards the nose and hides the
  // top of the eye.
  float inner = ex == Expression::kAngry ? 6 : ex == Expression::kSad ? -2 : 0;
  float outer = ex == Expression::kSad ? 4 : 0;
  if (ex == Expression::kAngry)
    Fill(Path({M, e - sd * 20, y - 20, L, e + sd * 20, y - 20, L, e + sd * 20, y - 14, L, e - sd * 20, y - 6}),
         SolidPaint(mSpec.skinColor));
  Curve(P(e - sd * 18 * k, y - 8 + inner), P(e - sd * 3 * k, y - wy * k - 4 + inner / 2 + outer / 2),
        P(e + sd * 19 * k, y - 10 + outer), 5, lash);
  Line({P(e + sd * 18 * k, y - 10 + outer), P(e + sd * 23 * k, y - 4 + outer)}, 3, lash);
  Curve(P(e - sd * 12 * k, y + 15 * k), P(e, y + 18 * k), P(e + sd * 13 * k, y + 13 * k), 1.6f, lash, 0.6f);
}

void CFigurePainter::Brow(float sd) {
  Trace("CFigurePainter::Brow");
  Expression ex = mSpec.expression;
  float e = sd * 27 + mSpec.turn * 10;
  float inner = 0, outer = 0;
  if (ex == Expression::kSad || ex == Expression::kShy) inner = -6, outer = 2;
  if (ex == Expression::kAngry) inner = 6, outer = -4;
  if (ex == Expression::kSurprised) inner = -8, outer = -7;
  uint32_t c = MixColor(mSpec.hairColor, 0xFF000000, 0.35f);
  float w = mSpec.hair == HairStyle::kOld ? 6 : 3.4f;
  Curve(P(e - sd * 13, 88 + inner), P(e, 82 + (inner + outer) / 2), P(e + sd * 15, 87 + outer), w, c);
}

void CFigurePainter::Mouth() {
  Trace("CFigurePainter::Mouth");
  float m = mSpec.turn * 8, y = 149;
  uint32_t lip = 0xFFA0524A, inside = 0xFFB04850;
  switch (mSpec.expression) {
    case Expression::kNeutral:
    case Expression::kClosed:
      Curve(P(m - 8, y - 1), P(m, y + 3), P(m + 8, y - 1), 2.4f, lip);
      break;
    case Expression::kSmile:
    case Expression::kWink:
    case Expression::kLaugh: {
      float w = mSpec.expression == Expression::kLaugh ? 15 : 11, d = mSpec.expression == Expression::kLaugh ? 22 : 15;
      Fill(Path({M, m - w, y - 3, Q, m, y, m + w, y - 3, Q, m + w * 0.6f, y + d, m, y + d, Q, m - w * 0.6f, y + d, m - w,
                 y - 3}),
           SolidPaint(inside));
      Fill(MakeEllipse(P(m, y + d * 0.62f).x, P(m, y + d * 0.62f).y, S(w * 0.5f), S(d * 0.22f), 0), SolidPaint(0xFFE88A88));
      Curve(P(m - w, y - 3), P(m, y), P(m + w, y - 3), 1.6f, lip);
      break;
    }
    case Expression::kSad:
      Curve(P(m - 9, y + 2), P(m, y - 5), P(m + 9, y + 2), 2.4f, lip);
      break;
    case Expression::kAngry:
      Fill(Path({M, m - 9, y, Q, m, y - 5, m + 9, y, Q, m, y + 8, m - 9, y}), SolidPaint(inside));
      break;
    case Expression::kSurprised:
      Fill(MakeEllipse(P(m, y + 2).x, P(m, y + 2).y, S(6), S(8), 0), SolidPaint(inside));
      break;
    case Expression::kShy: {
      std::vector<Point> pts{P(m - 8, y)};
      AddQuadratic(P(m - 8, y), P(m - 4, y - 4), P(m, y), &pts);
      AddQuadratic(P(m, y), P(m + 4, y + 4), P(m + 8, y), &pts);
      Line(pts, 2.2f, lip);
      break;
    }
  }
}

void CFigurePainter::FrontHair() {
  Trace("CFigurePainter::FrontHair");
  uint32_t hair = mSpec.hairColor;
  if (mSpec.hair == HairStyle::kOld) {
    for (float sd : {-1.0f, 1.0f})
      Shaded(Path({M, sd * 50, 62, C, sd * 70, 70, sd * 72, 100, sd * 66, 128, Q, sd * 60, 108, sd * 52, 96}), hair, 8,
             0.25f);
    return;
  }
  bool longSides = mSpec.hair != HairStyle::kShort;
  // The cap of the hair with a fringe of pointed locks above the eyes.
  const float roots[] = {60, 44, 28, 12, -4, -20, -36, -50, -60};
  const float tips[] = {104, 98, 102, 94, 100, 96, 102, 106};
  std::vector<Point> pts;
  Point start = P(70, 124);
  pts.push_back(start);
  AddCubic(start, P(78, 70), P(60, 20), P(0, 18), &pts);
  AddCubic(P(0, 18), P(-60, 20), P(-78, 70), P(-70, 124), &pts);
  Point cur = P(-70, 124);
  AddQuadratic(cur, P(-64, 96), P(roots[8], 72), &pts);
  for (int i = 7; i >= 0; --i) {
    float a = roots[i + 1], b = roots[i], mid = (a + b) / 2 + (i % 2 ? 2.0f : -2.0f);
    AddQuadratic(P(a, 72), P(a + 2, 90), P(mid, tips[i] - (mSpec.hair == HairStyle::kShort ? 12 : 0)), &pts);
    AddQuadratic(P(mid, tips[i]), P(b - 2, 88), P(b, 72), &pts);
  }
  AddQuadratic(P(60, 72), P(64, 96), start, &pts);
  Shaded(MakePolygon(pts), hair, 22, 0.38f);
  if (longSides)
    for (float sd : {-1.0f, 1.0f})
      Shaded(Path({M, sd * 58, 64, C, sd * 74, 120, sd * 76, 168, sd * 66, 206, Q, sd * 60, 170, sd * 54, 140, C, sd * 50,
                   110, sd * 50, 90, sd * 44, 72}),
             hair, 10, 0.35f);
  Curve(P(-40, 46), P(-22, 34), P(-6, 36), 4, 0xFFFFFFFF, 0.22f);
  Curve(P(8, 36), P(24, 34), P(40, 46), 4, 0xFFFFFFFF, 0.22f);
  for (float x : {-30.0f, 0.0f, 30.0f})
    Curve(P(x * 0.4f, 24), P(x * 0.8f, 44), P(x, 72), 1.4f, MixColor(hair, 0xFF000000, 0.45f), 0.5f);
}

void CFigurePainter::Extras() {
  Trace("CFigurePainter::Extras");
  if (mSpec.ribbonColor) {
    uint32_t r = mSpec.ribbonColor;
    Fill(Path({M, -58, 44, L, -86, 26, L, -80, 62}), SolidPaint(r));
    Fill(Path({M, -58, 44, L, -30, 28, L, -38, 62}), SolidPaint(MixColor(r, 0xFF000000, 0.12f)));
    Fill(MakeEllipse(P(-58, 44).x, P(-58, 44).y, S(8), S(8), 0), SolidPaint(MixColor(r, 0xFF000000, 0.25f)));
  }
  if (mSpec.hair == HairStyle::kTwinTail || mSpec.hair == HairStyle::kPonyTail) {
    for (float sd : {-1.0f, 1.0f}) {
      if (mSpec.hair == HairStyle::kPonyTail && sd < 0) continue;
      float x = mSpec.hair == HairStyle::kPonyTail ? 62 : sd * 64;
      Fill(MakeEllipse(P(x, 60).x, P(x, 60).y, S(9), S(9), 0), SolidPaint(mSpec.accentColor));
    }
  }
  if (mSpec.glasses) {
    for (float sd : {-1.0f, 1.0f}) {
      float e = sd * 27 + mSpec.turn * 10;
      ShapeStyle style;
      style.fill = true;
      style.paint = SolidPaint(0x30C8E0F0);
      style.outline = true;
      style.outlineColor = PremulFromArgb(0xFF3A3030);
      style.outlineWidth = S(3);
      style.smooth = mSpec.smooth;
      DrawShape(mCanvas, MakeRect(P(e - 19, 100).x, P(e - 19, 100).y, S(38), S(28), S(8), 0), style);
    }
    Line({P(-8 + mSpec.turn * 10, 110), P(8 + mSpec.turn * 10, 110)}, 3, 0xFF3A3030);
  }
  if (mSpec.hair == HairStyle::kOld) {
    float m = mSpec.turn * 8;
    Fill(Path({M, m, 136, Q, m - 16, 132, m - 26, 144, Q, m - 12, 142, m, 140, Q, m + 12, 142, m + 26, 144, Q, m + 16, 132, m,
               136}),
         SolidPaint(mSpec.hairColor));
  }
}

void CFigurePainter::Draw() {
  Trace("CFigurePainter::Draw");
  BackHair();
  Body();
  Face();
  for (float sd : {-1.0f, 1.0f}) Eye(sd);
  Mouth();
  FrontHair();
  for (float sd : {-1.0f, 1.0f}) Brow(sd);
  Extras();
}

}  // namespace

bool SetFigureOption(FigureSpec* spec, const std::string& key, const std::string& value, std::string* error) {
  Trace("SetFigureOption");
  int v = 0;
  uint32_t c = 0;
  auto color = [&](uint32_t* target) {
    if (!ParseColor(value, &c)) {
      *error = key + "=" + value + ": not a colour";
      return false;
    }
    *target = c;
    return true;
  };
  if (key == "hair") {
    if (!Lookup(kHair, value, &v)) return *error = "hair=long|twintail|ponytail|bob|short|old", false;
    spec->hair = static_cast<HairStyle>(v);
  } else if (key == "outfit") {
    if (!Lookup(kOutfit, value, &v)) return *error = "outfit=sailor|blouse|yukata|shirt|apron", false;
    spec->outfit = static_cast<Outfit>(v);
  } else if (key == "expr") {
    if (!Lookup(kExpr, value, &v))
      return *error = "expr=neutral|smile|laugh|sad|angry|surprised|closed|wink|shy", false;
    spec->expression = static_cast<Expression>(v);
  } else if (key == "hairc") {
    return color(&spec->hairColor);
  } else if (key == "skin") {
    return color(&spec->skinColor);
  } else if (key == "eyes") {
    return color(&spec->eyeColor);
  } else if (key == "cloth") {
    return color(&spec->outfitColor);
  } else if (key == "accent") {
    return color(&spec->accentColor);
  } else if (key == "ribbon") {
    return color(&spec->ribbonColor);
  } else if (key == "glasses" || key == "blush") {
    (key == "glasses" ? spec->glasses : spec->blush) = value != "0";
  } else {
    *error = "figure does not know '" + key + "='";
    return false;
  }
  return true;
}

void DrawFigure(CCanvas& canvas, const FigureSpec& spec) {
  Trace("DrawFigure");
  CFigurePainter painter(canvas, spec);
  painter.Draw();
}

}  // namespace gen
