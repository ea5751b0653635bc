// A set of pixels kept as disjoint rectangles (right and bottom exclusive):
// the dirty areas of images and of the display.
#pragma once
#include <vector>

#include "platform/Win.h"

class CRegion {
 public:
  void Clear() { mRects.clear(); }
  bool IsEmpty() const { return mRects.empty(); }
  // Adds a rectangle (right and bottom exclusive); empty ones are ignored.
  void Add(const plat::RECT& r);
  void Add(const CRegion& other);
  void Subtract(const plat::RECT& r);
  // Disjoint rectangles covering exactly the region, in no particular order.
  const std::vector<plat::RECT>& Rects() const { return mRects; }
  // Rectangles sorted top to bottom, then left to right.
  std::vector<plat::RECT> SortedRects() const;
  long long Area() const;
  bool Contains(int x, int y) const;

 private:
  std::vector<plat::RECT> mRects;
};
