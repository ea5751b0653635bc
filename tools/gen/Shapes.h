// Shapes of the picture generator, each measured by its signed distance
// (negative inside, in pixels), and the paints that colour them. Drawing a
// shape walks the pixels of its box once: the distance gives the coverage
// of the edge (one pixel of smoothing, or the feather), the band of an
// outline, and the depth that a shading paint uses.
#pragma once
#include <cstdint>
#include <vector>

#include "gen/Canvas.h"

namespace gen {

struct Point {
  float x = 0, y = 0;
};

struct Box {
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

enum class ShapeKind { kRect, kEllipse, kPolygon, kStroke };

struct Shape {
  ShapeKind kind = ShapeKind::kRect;
  float cx = 0, cy = 0;      // centre (rect, ellipse)
  float hw = 0, hh = 0;      // half width and height (rect), radii (ellipse)
  float radius = 0;          // corner radius (rect)
  float cosA = 1, sinA = 0;  // turn about the centre (rect, ellipse)
  std::vector<Point> points;  // outline (polygon) or line (stroke)
  float halfWidth = 0;       // half the line width (stroke)
  Box bounds;
};

Shape MakeRect(float x, float y, float w, float h, float radius, float degrees);
Shape MakeEllipse(float cx, float cy, float rx, float ry, float degrees);
// A closed outline; the even-odd rule decides inside.
Shape MakePolygon(std::vector<Point> points);
// A line of `width` through the points, with round ends and joins.
Shape MakeStroke(std::vector<Point> points, float width);
float ShapeDistance(const Shape& shape, float x, float y);

// Flattens a quadratic (one control point) or cubic (two) curve from `from`
// into `out`, the start excluded.
void AddQuadratic(Point from, Point control, Point to, std::vector<Point>* out);
void AddCubic(Point from, Point c1, Point c2, Point to, std::vector<Point>* out);

enum class PaintKind { kSolid, kLinear, kRadial, kShade };

struct Paint {
  PaintKind kind = PaintKind::kSolid;
  std::vector<Rgba> stops;     // premultiplied, evenly spaced
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // linear: from, to; radial: centre and (radius, 0)
  float depth = 1;             // shade: pixels from the edge to the inner colour
};

Paint SolidPaint(uint32_t argb);
// The premultiplied colour at a pixel centre with the shape distance d.
Rgba PaintAt(const Paint& paint, float x, float y, float d);

struct ShapeStyle {
  bool fill = true;
  Paint paint;
  bool outline = false;
  Rgba outlineColor;           // premultiplied
  float outlineWidth = 1;
  float feather = 0;           // extra edge softness in pixels
  float opacity = 1;
  BlendMode mode = BlendMode::kOver;
  bool smooth = true;          // false: every pixel fully in or out (hit maps)
};

void DrawShape(CCanvas& canvas, const Shape& shape, const ShapeStyle& style);

}  // namespace gen
