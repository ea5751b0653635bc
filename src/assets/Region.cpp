#include "assets/Region.h"

#include <algorithm>

#include "app/core/Trace.h"

using plat::RECT;

namespace {

bool Empty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

// A horizontal run [left, right) within one band.
struct Span {
  int left, right;
};

// The spans of the band of `rects` that covers [y0, y1), advancing `index`
// past bands that end at or above y0. Band edges of both operands are among
// the cut lines, so a band covers the whole strip or none of it.
void BandSpans(const std::vector<RECT>& rects, size_t& index, int y0, std::vector<Span>& out) {
  out.clear();
  while (index < rects.size() && rects[index].bottom <= y0) {
    int top = rects[index].top;
    while (index < rects.size() && rects[index].top == top) ++index;
  }
  if (index >= rects.size() || rects[index].top > y0) return;
  int top = rects[index].top;
  for (size_t i = index; i < rects.size() && rects[i].top == top; ++i) out.push_back(Span{rects[i].left, rects[i].right});
}

// Union of two sorted, disjoint span lists; touching spans are joined.
void UnionSpans(const std::vector<Span>& a, const std::vector<Span>& b, std::vector<Span>& out) {
  out.clear();
  size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    Span s = (j >= b.size() || (i < a.size() && a[i].left <= b[j].left)) ? a[i++] : b[j++];
    if (!out.empty() && s.left <= out.back().right)
      out.back().right = std::max(out.back().right, s.right);
    else
      out.push_back(s);
  }
}

// The parts of `a` outside `b`.
void SubtractSpans(const std::vector<Span>& a, const std::vector<Span>& b, std::vector<Span>& out) {
  out.clear();
  size_t j = 0;
  for (Span s : a) {
    int left = s.left;
    while (j < b.size() && b[j].right <= left) ++j;
    for (size_t k = j; k < b.size() && b[k].left < s.right; ++k) {
      if (b[k].left > left) out.push_back(Span{left, b[k].left});
      left = std::max(left, b[k].right);
    }
    if (left < s.right) out.push_back(Span{left, s.right});
  }
}

// The banded list of `mine` joined with, or cut by, `other`.
void CombineBands(const std::vector<RECT>& mine, const std::vector<RECT>& other, bool subtract, std::vector<RECT>& out) {
  std::vector<int> cuts;
  cuts.reserve((mine.size() + other.size()) * 2);
  for (const RECT& r : mine) {
    cuts.push_back(r.top);
    cuts.push_back(r.bottom);
  }
  for (const RECT& r : other) {
    cuts.push_back(r.top);
    cuts.push_back(r.bottom);
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

  out.clear();
  out.reserve(mine.size() + other.size() + 4);
  std::vector<Span> a, b, merged;
  size_t ia = 0, ib = 0;
  size_t prevStart = 0, prevCount = 0;  // the last band written
  for (size_t c = 0; c + 1 < cuts.size(); ++c) {
    int y0 = cuts[c], y1 = cuts[c + 1];
    BandSpans(mine, ia, y0, a);
    BandSpans(other, ib, y0, b);
    if (subtract)
      SubtractSpans(a, b, merged);
    else
      UnionSpans(a, b, merged);
    if (merged.empty()) continue;
    // Same columns as the band just above and touching it: grow that band.
    bool same = prevCount == merged.size() && out[prevStart].bottom == y0;
    for (size_t k = 0; same && k < merged.size(); ++k)
      same = out[prevStart + k].left == merged[k].left && out[prevStart + k].right == merged[k].right;
    if (same) {
      for (size_t k = 0; k < prevCount; ++k) out[prevStart + k].bottom = y1;
      continue;
    }
    prevStart = out.size();
    prevCount = merged.size();
    for (const Span& s : merged) out.push_back(RECT{s.left, y0, s.right, y1});
  }
}

}  // namespace

void CRegion::Combine(const std::vector<RECT>& other, bool subtract) {
  Trace("CRegion::Combine");
  std::vector<RECT> out;
  CombineBands(mRects, other, subtract, out);
  mRects.swap(out);
}

void CRegion::CombineRect(const RECT& r, bool subtract) {
  Trace("CRegion::CombineRect");
  // Only the bands that reach the rectangle's rows (touching included) can
  // change; those wholly above or below are kept as they are. Bands are
  // sorted and disjoint, so both kinds form the two ends of the list.
  auto first = std::partition_point(mRects.begin(), mRects.end(), [&](const RECT& h) { return h.bottom < r.top; });
  auto last = std::partition_point(first, mRects.end(), [&](const RECT& h) { return h.top <= r.bottom; });
  std::vector<RECT> middle(first, last), out;
  CombineBands(middle, std::vector<RECT>{r}, subtract, out);
  size_t head = static_cast<size_t>(first - mRects.begin());
  std::vector<RECT> tail(last, mRects.end());
  mRects.resize(head);
  mRects.insert(mRects.end(), out.begin(), out.end());
  mRects.insert(mRects.end(), tail.begin(), tail.end());
}

void CRegion::Add(const RECT& r) {
  Trace("CRegion::Add");
  if (Empty(r)) return;
  if (mRects.empty()) {
    mRects.push_back(r);
    return;
  }
  // Already covered by one rectangle: nothing to do (the common case of a
  // screen adding the same area every frame).
  for (const RECT& have : mRects)
    if (have.left <= r.left && have.top <= r.top && r.right <= have.right && r.bottom <= have.bottom) return;
  CombineRect(r, false);
}

void CRegion::Add(const CRegion& other) {
  Trace("CRegion::Add");
  if (other.mRects.empty() || &other == this) return;
  if (mRects.empty()) {
    mRects = other.mRects;
    return;
  }
  Combine(other.mRects, false);
}

void CRegion::Subtract(const RECT& r) {
  Trace("CRegion::Subtract");
  if (Empty(r) || mRects.empty()) return;
  CombineRect(r, true);
}

void CRegion::Subtract(const CRegion& other) {
  Trace("CRegion::Subtract");
  if (&other == this) {
    mRects.clear();
    return;
  }
  if (other.mRects.empty() || mRects.empty()) return;
  Combine(other.mRects, true);
}

RECT CRegion::Bounds() const {
  Trace("CRegion::Bounds");
  if (mRects.empty()) return RECT{};
  RECT b{mRects.front().left, mRects.front().top, mRects.back().right, mRects.back().bottom};
  for (const RECT& r : mRects) {
    b.left = std::min(b.left, r.left);
    b.right = std::max(b.right, r.right);
  }
  return b;
}

long long CRegion::Area() const {
  Trace("CRegion::Area");
  long long area = 0;
  for (const RECT& r : mRects) area += (static_cast<long long>(r.right) - r.left) * (static_cast<long long>(r.bottom) - r.top);
  return area;
}

bool CRegion::Contains(int x, int y) const {
  Trace("CRegion::Contains");
  for (const RECT& r : mRects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}
