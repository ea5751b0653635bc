// The flame simulation behind the Fire transition and the Fire layer action:
// a grid of heat cells fed at the bottom row and averaged upwards in fixed
// 10 ms ticks, shown through a red-yellow-white palette. The object is its
// own picture (800 × 150, one pixel a cell) and draws its inner part
// stretched over a rectangle of the target.
#pragma once
#include <cstdint>
#include <vector>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"

class CDIBFire : public CDIBImage {
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 150;
  static constexpr int kTickMs = 10;
  static constexpr int kBaseHeat = 10000;
  static constexpr int kMaxHeat = 767;
  static constexpr int kMaxTicksPerMove = 1000;

  CDIBFire() = default;
  ~CDIBFire() override;

  // Makes the picture and the heat grid, cold and not running.
  virtual bool Initialize();
  void Release() override;
  // Starts or stops the simulation; `clear` also cools every cell.
  virtual void SetMove(bool run, bool clear);
  // Where the flames are drawn, with the colour that modulates them and the
  // amounts added to the red, green and blue of every burning pixel.
  virtual void SetDrawParam(int x, int y, int width, int height, uint32_t color, int addRed, int addGreen,
                            int addBlue);
  // Runs as many ticks as the elapsed time (plus the carry) holds.
  virtual void Move(int32_t ms);
  virtual void Draw(CDIBImage* target);

  void SetBaseHeat(int32_t heat) { mBaseHeat = heat; }
  int32_t GetBaseHeat() const { return mBaseHeat; }
  bool IsRun() const { return mbRun; }
  int32_t GetCarry() const { return mCarry; }
  int32_t GetHeat(int x, int y) const { return mHeat[static_cast<size_t>(y) * kWidth + x]; }
  void SetHeat(int x, int y, int32_t heat) { mHeat[static_cast<size_t>(y) * kWidth + x] = heat; }

  // The palette colour of a heat value (0x00RRGGBB); values above the
  // palette show its whitest colour.
  static uint32_t Palette(int32_t heat);
  // One simulation step: feed the bottom row, then carry the heat upwards.
  void Tick();
  // Turns the heat grid into pixels.
  void UpdateImage();

 protected:
  // Heat fed into column x of the bottom row this tick.
  virtual int32_t Feed(int x);
  // Whether a cell whose four sources are all cold is still cooled (set to
  // 0); the plain fire does, the shaped fire leaves it as it is.
  virtual bool CoolsColdCells() const {
    Trace("CDIBFire::CoolsColdCells");
    return true;
  }

  std::vector<int32_t> mHeat;
  int32_t mBaseHeat = kBaseHeat;
  bool mbRun = false;
  int32_t mCarry = 0;
  SprtVertex mDrawVertex;
  int mAddRed = 0, mAddGreen = 0, mAddBlue = 0;
};

// The fire of the Fire action: fed most strongly at a centre column and not
// at all beyond half a given width from it, so the flames take the shape of
// the burning picture.
class CDIBFireEx : public CDIBFire {
 public:
  // The centre column and the width of the fed band, in grid columns.
  void SetShape(int32_t centre, int32_t width) {
    mCentre = centre;
    mShapeWidth = width;
  }

 protected:
  int32_t Feed(int x) override;
  bool CoolsColdCells() const override {
    Trace("CDIBFireEx::CoolsColdCells");
    return false;
  }

  int32_t mCentre = kWidth / 2;
  int32_t mShapeWidth = kWidth;
};
