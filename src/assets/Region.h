// A set of pixels kept as rectangles (right and bottom exclusive) in bands:
// the dirty areas of images and of the display. The rectangles are disjoint,
// sorted top to bottom and left to right; rectangles of one band share their
// top and bottom, never touch side by side, and two touching bands with the
// same columns are merged, so one area always gives one list.
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
  void Subtract(const CRegion& other);
  // The banded rectangles covering exactly the region.
  const std::vector<plat::RECT>& Rects() const { return mRects; }
  // The same list (kept for callers that want their own copy).
  std::vector<plat::RECT> SortedRects() const { return mRects; }
  // The smallest rectangle holding the region; all zero when empty.
  plat::RECT Bounds() const;
  long long Area() const;
  bool Contains(int x, int y) const;

 private:
  void Combine(const std::vector<plat::RECT>& other, bool subtract);
  void CombineRect(const plat::RECT& r, bool subtract);

  std::vector<plat::RECT> mRects;
};

// A region's rectangles copied out: what screens walk to redraw only the
// changed areas.
struct RegionData {
  plat::RECT bound{};
  std::vector<plat::RECT> rects;
};
