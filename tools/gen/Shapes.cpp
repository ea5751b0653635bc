#include "gen/Shapes.h"

#include <algorithm>
#include <cmath>

#include "app/core/Trace.h"

namespace gen {

namespace {

constexpr float kDegree = static_cast<float>(M_PI / 180.0);

Box BoundsOf(const std::vector<Point>& points, float margin) {
  Box b{1e9f, 1e9f, -1e9f, -1e9f};
  for (const Point& p : points) {
    b.x0 = std::min(b.x0, p.x);
    b.y0 = std::min(b.y0, p.y);
    b.x1 = std::max(b.x1, p.x);
    b.y1 = std::max(b.y1, p.y);
  }
  return Box{b.x0 - margin, b.y0 - margin, b.x1 + margin, b.y1 + margin};
}

float SegmentDistance2(Point p, Point a, Point b) {
  float dx = b.x - a.x, dy = b.y - a.y;
  float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
  t = t < 0 ? 0 : t > 1 ? 1 : t;
  float ex = p.x - (a.x + dx * t), ey = p.y - (a.y + dy * t);
  return ex * ex + ey * ey;
}

float Clamp01(float v) { return v < 0 ? 0 : v > 1 ? 1 : v; }

}  // namespace

Shape MakeRect(float x, float y, float w, float h, float radius, float degrees) {
  Shape s;
  s.kind = ShapeKind::kRect;
  s.cx = x + w / 2;
  s.cy = y + h / 2;
  s.hw = std::fabs(w) / 2;
  s.hh = std::fabs(h) / 2;
  s.radius = std::min(std::max(radius, 0.0f), std::min(s.hw, s.hh));
  s.cosA = std::cos(degrees * kDegree);
  s.sinA = std::sin(degrees * kDegree);
  float r = std::sqrt(s.hw * s.hw + s.hh * s.hh);
  s.bounds = degrees == 0 ? Box{x, y, x + w, y + h} : Box{s.cx - r, s.cy - r, s.cx + r, s.cy + r};
  return s;
}

Shape MakeEllipse(float cx, float cy, float rx, float ry, float degrees) {
  Shape s;
  s.kind = ShapeKind::kEllipse;
  s.cx = cx;
  s.cy = cy;
  s.hw = std::max(std::fabs(rx), 0.01f);
  s.hh = std::max(std::fabs(ry), 0.01f);
  s.cosA = std::cos(degrees * kDegree);
  s.sinA = std::sin(degrees * kDegree);
  float r = std::max(s.hw, s.hh);
  s.bounds = Box{cx - r, cy - r, cx + r, cy + r};
  return s;
}

Shape MakePolygon(std::vector<Point> points) {
  Shape s;
  s.kind = ShapeKind::kPolygon;
  s.bounds = BoundsOf(points, 0);
  s.points = std::move(points);
  return s;
}

Shape MakeStroke(std::vector<Point> points, float width) {
  Shape s;
  s.kind = ShapeKind::kStroke;
  s.halfWidth = std::max(width, 0.0f) / 2;
  s.bounds = BoundsOf(points, s.halfWidth);
  s.points = std::move(points);
  return s;
}

float ShapeDistance(const Shape& s, float x, float y) {
  switch (s.kind) {
    case ShapeKind::kRect: {
      float dx = x - s.cx, dy = y - s.cy;
      float px = std::fabs(dx * s.cosA + dy * s.sinA), py = std::fabs(-dx * s.sinA + dy * s.cosA);
      float qx = px - (s.hw - s.radius), qy = py - (s.hh - s.radius);
      float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
      return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - s.radius;
    }
    case ShapeKind::kEllipse: {
      float dx = x - s.cx, dy = y - s.cy;
      float px = dx * s.cosA + dy * s.sinA, py = -dx * s.sinA + dy * s.cosA;
      // A close estimate of the distance to an ellipse: exact on the axes and
      // smooth everywhere, which is all edge smoothing and shading need.
      float k0 = std::sqrt((px / s.hw) * (px / s.hw) + (py / s.hh) * (py / s.hh));
      float k1 = std::sqrt((px / (s.hw * s.hw)) * (px / (s.hw * s.hw)) + (py / (s.hh * s.hh)) * (py / (s.hh * s.hh)));
      if (k1 <= 0) return -std::min(s.hw, s.hh);
      return k0 * (k0 - 1.0f) / k1;
    }
    case ShapeKind::kPolygon: {
      const auto& v = s.points;
      if (v.size() < 3) return 1e9f;
      Point p{x, y};
      float best = 1e30f;
      bool inside = false;
      for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
        best = std::min(best, SegmentDistance2(p, v[j], v[i]));
        if ((v[i].y > y) != (v[j].y > y) && x < (v[j].x - v[i].x) * (y - v[i].y) / (v[j].y - v[i].y) + v[i].x)
          inside = !inside;
      }
      float d = std::sqrt(best);
      return inside ? -d : d;
    }
    case ShapeKind::kStroke: {
      const auto& v = s.points;
      if (v.empty()) return 1e9f;
      Point p{x, y};
      float best = SegmentDistance2(p, v[0], v[0]);
      for (size_t i = 1; i < v.size(); ++i) best = std::min(best, SegmentDistance2(p, v[i - 1], v[i]));
      return std::sqrt(best) - s.halfWidth;
    }
  }
  return 1e9f;
}

void AddQuadratic(Point a, Point c, Point b, std::vector<Point>* out) {
  float len = std::hypot(c.x - a.x, c.y - a.y) + std::hypot(b.x - c.x, b.y - c.y);
  int n = static_cast<int>(std::fmin(std::fmax(len / 4, 4.0f), 64.0f));
  for (int i = 1; i <= n; ++i) {
    float t = static_cast<float>(i) / n, u = 1 - t;
    out->push_back(Point{u * u * a.x + 2 * u * t * c.x + t * t * b.x, u * u * a.y + 2 * u * t * c.y + t * t * b.y});
  }
}

void AddCubic(Point a, Point c1, Point c2, Point b, std::vector<Point>* out) {
  float len = std::hypot(c1.x - a.x, c1.y - a.y) + std::hypot(c2.x - c1.x, c2.y - c1.y) +
              std::hypot(b.x - c2.x, b.y - c2.y);
  int n = static_cast<int>(std::fmin(std::fmax(len / 4, 4.0f), 96.0f));
  for (int i = 1; i <= n; ++i) {
    float t = static_cast<float>(i) / n, u = 1 - t;
    float w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
    out->push_back(Point{w0 * a.x + w1 * c1.x + w2 * c2.x + w3 * b.x, w0 * a.y + w1 * c1.y + w2 * c2.y + w3 * b.y});
  }
}

Paint SolidPaint(uint32_t argb) {
  Paint p;
  p.stops.push_back(PremulFromArgb(argb));
  return p;
}

Rgba PaintAt(const Paint& paint, float x, float y, float d) {
  const auto& st = paint.stops;
  if (st.empty()) return Rgba{};
  if (paint.kind == PaintKind::kSolid || st.size() == 1) return st[0];
  float t = 0;
  switch (paint.kind) {
    case PaintKind::kLinear: {
      float dx = paint.x1 - paint.x0, dy = paint.y1 - paint.y0;
      float len2 = dx * dx + dy * dy;
      t = len2 > 0 ? ((x - paint.x0) * dx + (y - paint.y0) * dy) / len2 : 0;
      break;
    }
    case PaintKind::kRadial:
      t = paint.x1 > 0 ? std::hypot(x - paint.x0, y - paint.y0) / paint.x1 : 0;
      break;
    case PaintKind::kShade:
      t = paint.depth > 0 ? -d / paint.depth : 1;
      break;
    case PaintKind::kSolid:
      break;
  }
  t = Clamp01(t) * static_cast<float>(st.size() - 1);
  size_t i = std::min(static_cast<size_t>(t), st.size() - 2);
  float f = t - static_cast<float>(i);
  const Rgba& a = st[i];
  const Rgba& b = st[i + 1];
  return Rgba{a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f, a.a + (b.a - a.a) * f};
}

void DrawShape(CCanvas& canvas, const Shape& shape, const ShapeStyle& style) {
  Trace("DrawShape");
  float margin = style.feather + (style.outline ? style.outlineWidth : 0) + 2;
  // The box is clamped to the canvas before it becomes whole numbers, so a
  // shape far outside (or at an infinite place) draws nothing.
  auto clampTo = [](float v, int hi) { return static_cast<int>(std::fmin(std::fmax(v, -1.0f), static_cast<float>(hi))); };
  int x0 = std::max(0, clampTo(std::floor(shape.bounds.x0 - margin), canvas.Width()));
  int y0 = std::max(0, clampTo(std::floor(shape.bounds.y0 - margin), canvas.Height()));
  int x1 = std::min(canvas.Width() - 1, clampTo(std::ceil(shape.bounds.x1 + margin), canvas.Width()));
  int y1 = std::min(canvas.Height() - 1, clampTo(std::ceil(shape.bounds.y1 + margin), canvas.Height()));
  float edge = std::max(1.0f, style.feather);
  float halfLine = style.outlineWidth / 2;
  for (int y = y0; y <= y1; ++y) {
    Rgba* row = canvas.Row(y);
    float py = static_cast<float>(y) + 0.5f;
    for (int x = x0; x <= x1; ++x) {
      float px = static_cast<float>(x) + 0.5f;
      float d = ShapeDistance(shape, px, py);
      if (style.fill) {
        float k = style.smooth ? Clamp01(0.5f - d / edge) : (d <= 0 ? 1.0f : 0.0f);
        if (k > 0) BlendPixel(row[x], PaintAt(style.paint, px, py, d), k * style.opacity, style.mode);
      }
      if (style.outline) {
        float band = std::fabs(d) - halfLine;
        float k = style.smooth ? Clamp01(0.5f - band / edge) : (band <= 0 ? 1.0f : 0.0f);
        if (k > 0) BlendPixel(row[x], style.outlineColor, k * style.opacity, style.mode);
      }
    }
  }
}

}  // namespace gen
