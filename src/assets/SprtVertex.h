// The quad every stretched drawing operation takes, and the per-row record
// of the rasteriser's edge table.
#pragma once
#include <cstdint>

// One destination corner: position on the target and, for the shaded blend,
// a shade 0 … 255 (0 = unshaded).
struct SprtPoint {
  int16_t x = 0, y = 0, z = 0;
};

// One source corner, in inclusive pixel coordinates of the source image.
struct SprtTexel {
  int16_t u = 0, v = 0;
};

// Corners run top-left, top-right, bottom-right, bottom-left of the source
// picture as placed on the target; `color` modulates the source
// (0xFFFFFFFF leaves it unchanged).
struct SprtVertex {
  SprtPoint dst[4];
  SprtTexel src[4];
  uint32_t color = 0xFFFFFFFFu;
};

// Where the quad covers one destination row: the leftmost and rightmost x,
// with the source position and shade at each end.
struct ScanEdgeRow {
  int16_t minX, maxX;
  int16_t minU, minV;
  int16_t maxU, maxV;
  int32_t minK, maxK;
};
