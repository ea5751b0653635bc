#include "assets/Region.h"

#include <algorithm>

using plat::RECT;

namespace {

bool Empty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

bool Overlaps(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Appends the parts of `r` outside `cut` (at most four pieces).
void SubtractInto(const RECT& r, const RECT& cut, std::vector<RECT>& out) {
  if (!Overlaps(r, cut)) {
    out.push_back(r);
    return;
  }
  if (r.top < cut.top) out.push_back(RECT{r.left, r.top, r.right, cut.top});
  if (cut.bottom < r.bottom) out.push_back(RECT{r.left, cut.bottom, r.right, r.bottom});
  int top = std::max(r.top, cut.top), bottom = std::min(r.bottom, cut.bottom);
  if (r.left < cut.left) out.push_back(RECT{r.left, top, cut.left, bottom});
  if (cut.right < r.right) out.push_back(RECT{cut.right, top, r.right, bottom});
}

}  // namespace

void CRegion::Add(const RECT& r) {
  if (Empty(r)) return;
  // Already covered by one rectangle: nothing to do (the common case of a
  // screen adding the same area every frame).
  for (const RECT& have : mRects)
    if (have.left <= r.left && have.top <= r.top && r.right <= have.right && r.bottom <= have.bottom) return;
  // Rectangles the new one covers completely are dropped; the new one is
  // then cut by the rest so that the set stays disjoint.
  mRects.erase(std::remove_if(mRects.begin(), mRects.end(),
                              [&](const RECT& h) {
                                return r.left <= h.left && r.top <= h.top && h.right <= r.right &&
                                       h.bottom <= r.bottom;
                              }),
               mRects.end());
  std::vector<RECT> pieces{r}, next;
  for (const RECT& have : mRects) {
    next.clear();
    for (const RECT& p : pieces) SubtractInto(p, have, next);
    pieces.swap(next);
    if (pieces.empty()) return;
  }
  mRects.insert(mRects.end(), pieces.begin(), pieces.end());
}

void CRegion::Add(const CRegion& other) {
  for (const RECT& r : other.mRects) Add(r);
}

void CRegion::Subtract(const RECT& r) {
  if (Empty(r)) return;
  std::vector<RECT> out;
  out.reserve(mRects.size() + 4);
  for (const RECT& have : mRects) SubtractInto(have, r, out);
  mRects.swap(out);
}

std::vector<RECT> CRegion::SortedRects() const {
  std::vector<RECT> sorted = mRects;
  std::sort(sorted.begin(), sorted.end(), [](const RECT& a, const RECT& b) {
    return a.top != b.top ? a.top < b.top : a.left < b.left;
  });
  return sorted;
}

long long CRegion::Area() const {
  long long area = 0;
  for (const RECT& r : mRects) area += static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
  return area;
}

bool CRegion::Contains(int x, int y) const {
  for (const RECT& r : mRects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}
