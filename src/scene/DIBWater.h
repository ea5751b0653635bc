// The ripple simulation behind the Water transition: a grid of heights over
// a picture, disturbed by drops and spread in fixed 33 ms ticks. The object
// holds the picture it warps (the caller copies it in) and draws it as a
// mesh of quads whose points the heights push about.
#pragma once
#include <cstdint>
#include <vector>

#include "assets/DIBImage.h"
#include "scene/MeshRaster.h"

class CDIBWater : public CDIBImage {
 public:
  static constexpr int kTickMs = 33;
  // Points along the longer side of the picture.
  static constexpr int kGridPoints = 50;
  static constexpr int kDamping = 30;
  static constexpr int kMaxTicksPerMove = 1000;
  // Heights are kept below this, whatever strength drops come with.
  static constexpr int32_t kMaxHeight = 1 << 24;

  CDIBWater() = default;
  ~CDIBWater() override;

  // Makes the picture (width × height, contents for the caller to fill),
  // the grid and its height buffers: calm and not running.
  virtual bool Initialize(int width, int height);
  void Release() override;
  // Starts or stops the ripples; `clear` also calms the surface.
  virtual void SetMove(bool run, bool clear);
  // Where the picture is drawn and the colour that modulates it.
  virtual void SetDrawParam(int x, int y, int width, int height, uint32_t color);
  // Raises a width × height block of grid cells by `strength`, its top-left
  // cell under the picture point (x − width ÷ 2, y − height ÷ 2); cells more
  // than half a grid outside the picture are left out.
  virtual void Drop(int x, int y, int width, int height, int32_t strength);
  // Runs as many ticks as the elapsed time (plus the carry) holds.
  virtual void Move(int32_t ms);
  virtual void Draw(CDIBImage* target);
  // Draws one quad of the picture like StretchBltBlend without filtering,
  // but blends each target pixel at most once over the whole mesh, so the
  // shared edges of neighbouring quads are not blended twice.
  virtual void BltWater(CDIBImage* target, const SprtVertex& vertex);

  // One step of the ripples.
  void Tick();

  bool IsRun() const { return mbRun; }
  int32_t GetCarry() const { return mCarry; }
  int GetColumns() const { return mColumns; }
  int GetRows() const { return mRows; }
  // The height at grid point (row, column); the buffers reach half a grid
  // beyond the picture on every side (row and column from −rows ÷ 2 and
  // −columns ÷ 2).
  int32_t GetHeightAt(int row, int column) const;
  void SetHeightAt(int row, int column, int32_t height);

 protected:
  // The buffer index of a grid point, or −1 outside the buffers.
  int Cell(int row, int column) const;
  // The mesh's points from the heights and the draw rectangle.
  void UpdatePoints();

  int mColumns = 0, mRows = 0;
  // Two buffers of (2 × rows) × (2 × columns) heights: the current one and
  // the one before, which the tick overwrites with the next.
  int mBufferWidth = 0, mBufferHeight = 0;
  std::vector<int32_t> mHeights[2];
  int mCurrent = 0;
  std::vector<SprtPoint> mPoints;  // rows × columns
  CMeshRaster mRaster;  // the mesh being drawn, with the pixels blended so far
  int mDrawX = 0, mDrawY = 0, mDrawWidth = 0, mDrawHeight = 0;
  uint32_t mDrawColor = 0xFFFFFFFFu;
  bool mbRun = false;
  int32_t mCarry = 0;
};
