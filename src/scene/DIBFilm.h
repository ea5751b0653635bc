// The old-film look behind the Film transition: a strip of pre-rendered
// cells of one picture, each jittered, speckled, scratched and framed in its
// own way, of which every move shows one at random.
#pragma once
#include <cstdint>

#include "assets/DIBImage.h"

class CDIBSprite;

class CDIBFilm : public CDIBImage {
 public:
  static constexpr uint32_t kGhostColor = 0x40FFFFFFu;
  static constexpr uint32_t kSpeckColor = 0x20FFFFFFu;

  CDIBFilm() = default;
  ~CDIBFilm() override;

  // Makes the strip: `cells` cells of width × height, one under the other.
  // The frame picture (its element 0 darkens each cell by its shape) and
  // the scratch picture (elements 0 … 2) are optional and not owned; they
  // are used only by MakeAnmCell.
  virtual bool Initialize(int width, int height, int cells, CDIBSprite* frame, CDIBSprite* scratch);
  void Release() override;
  // Renders every cell from `source`; false when the work images cannot be
  // made.
  virtual bool MakeAnmCell(CDIBImage* source);
  virtual void SetMove(bool run);
  // Where the film is drawn and the colour that modulates it.
  virtual void SetDrawParam(int x, int y, int width, int height, uint32_t color);
  // Picks the cell shown next, at random.
  virtual void Move();
  virtual void Draw(CDIBImage* target);

  bool IsRun() const { return mbRun; }
  int GetCell() const { return mCell; }
  int GetCellCount() const { return mCells; }
  int GetCellWidth() const { return mCellWidth; }
  int GetCellHeight() const { return mCellHeight; }

 protected:
  // The draw quad with the current cell as its source.
  void UpdateVertex();

  int mCellWidth = 0, mCellHeight = 0, mCells = 0;
  CDIBSprite* mpFrame = nullptr;    // not owned
  CDIBSprite* mpScratch = nullptr;  // not owned
  bool mbRun = false;
  int mCell = 0;
  int mDrawX = 0, mDrawY = 0, mDrawWidth = 0, mDrawHeight = 0;
  uint32_t mDrawColor = 0xFFFFFFFFu;
  SprtVertex mVertex;
};
