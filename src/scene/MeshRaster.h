// Draws the small quads of a mesh laid over one picture (the Twist
// transition's spiral, the water's ripples) with the rules of the image's
// quad rasteriser — the same edge walk, the same steps, nearest sampling —
// but walking only the rows the quads cover, and a whole row of the mesh
// at once: the image's rasteriser prepares and visits every row of the
// target for every quad, which a mesh of thousands of quads cannot afford,
// and visiting the target a row at a time keeps its pixels in the cache.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/DIBImage.h"

class CMeshRaster {
 public:
  // Starts a mesh on `target`. With `once`, every target pixel is blended
  // at most once until the next Begin (the coverage mask starts clear).
  void Begin(CDIBImage* target, bool once);
  // The quads, in order, as StretchBltCopy draws them without filtering.
  void Copy(const CDIBImage& source, const SprtVertex* quads, int count);
  // The quads, in order, as StretchBltBlend draws them without filtering,
  // leaving out the pixels the mesh has blended already. Source points may
  // reach one past the picture's last column and row (a mesh's far edge);
  // samples are held inside it.
  void BlendOnce(const CDIBImage& source, const SprtVertex* quads, int count);
  // Whether a mesh of blends on `target` is under way.
  bool IsOn(const CDIBImage* target) const {
    return target && target == mpTarget && mbOnce &&
           mCover.size() == static_cast<size_t>(target->GetWidth()) * target->GetHeight();
  }

 protected:
  // One quad's rows in the band's edge table.
  struct QuadRows {
    int top, bottom;
    size_t first;  // index of row `top` in mEdges
    uint32_t color;
  };
  // Quads are drawn in chunks of at most this many, one chunk after another.
  static constexpr int kChunk = 64;

  // Walks the quads' edges into the band's edge table; the rows they cover
  // together, false when none.
  bool ScanBand(const SprtVertex* quads, int count, int* top, int* bottom);
  // Draws the chunk in mClamped.
  void DrawChunk(const CDIBImage& source, bool blend);

  CDIBImage* mpTarget = nullptr;
  bool mbOnce = false;
  std::vector<uint8_t> mCover;
  std::vector<ScanEdgeRow> mEdges;
  std::vector<QuadRows> mQuads;
  std::vector<SprtVertex> mClamped;
  std::vector<uint64_t> mStarts, mEnds;  // per row of the chunk: quads starting, ending there
};
