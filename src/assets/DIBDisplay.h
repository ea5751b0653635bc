// The display: the 800 × 600 back image the screen flow draws into, and the
// dirty areas of the last two frames, which are all that is copied to the
// window each frame.
#pragma once
#include <vector>

#include "assets/DIBImage.h"
#include "platform/Win.h"

extern bool gbAlphaFlip;

class CDIBDisplay {
 public:
  CDIBDisplay() = default;
  virtual ~CDIBDisplay() = default;

  bool Initialize();
  // Switches to the other region and empties it.
  void BeginFrame();
  // Inclusive corners, each clamped to the screen.
  void AddDirtyRect(int left, int top, int right, int bottom);
  // The bounding box of four points, clamped the same way.
  void AddDirtyQuad(const plat::POINT points[4]);
  void InvalidateAll();
  // The union of both regions as rectangles (right and bottom exclusive),
  // clamped to the screen; kept until the next call.
  const std::vector<plat::RECT>& BuildDirtyRects();
  const std::vector<plat::RECT>& GetDirtyRects() const { return mRects; }
  // Copies the changed areas of the last two frames to the window.
  void Present(plat::HWND hwnd);

  CDIBImage* GetBackImage() { return &mBackImage; }

  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;

 private:
  CDIBImage mBackImage;
  CRegion mRgn[2];
  int mRgnIndex = 0;
  std::vector<plat::RECT> mRects;
};
