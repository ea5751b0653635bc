// The old-film strip: its cells are opaque renderings of the source, the
// frame picture darkens by its shape, and each move shows a cell at random.
#include "scene/DIBFilm.h"

#include <gtest/gtest.h>

#include <set>

#include "assets/DIBSprite.h"
#include "platform/Random.h"

namespace {

TEST(DIBFilm, CellsAreOpaqueAndTheFrameDarkensByItsShape) {
  plat::SRand(3);
  CDIBImage source;
  ASSERT_TRUE(source.Create(64, 48));
  source.FillFull(0x00808080u);  // transparent: the cells are made opaque anyway
  CDIBSprite frame;
  ASSERT_TRUE(frame.Create(16, 16));
  // An opaque black border of 2 pixels around a clear middle, stretched
  // over each cell.
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) frame.GetPixels()[y * 16 + x] = (x < 2 || y < 2 || x > 13 || y > 13) ? 0xFF000000u : 0;
  CDIBFilm film;
  ASSERT_TRUE(film.Initialize(64, 48, 5, &frame, nullptr));
  EXPECT_EQ(film.GetHeight(), 48 * 5);
  ASSERT_TRUE(film.MakeAnmCell(&source));
  for (int i = 0; i < film.GetWidth() * film.GetHeight(); ++i) ASSERT_EQ(film.GetPixels()[i] >> 24, 0xFFu) << i;
  for (int cell = 0; cell < 5; ++cell) {
    const uint32_t* row = film.GetPixels() + (cell * 48 + 1) * 64;
    EXPECT_EQ(row[32] & 0xFFFFFF, 0u) << "the frame's top edge";
    const uint32_t middle = film.GetPixels()[(cell * 48 + 24) * 64 + 32] & 0xFFFFFF;
    EXPECT_NE(middle, 0u) << "the picture shows inside the frame";
  }
}

TEST(DIBFilm, MovesPickEveryCellAndAStoppedFilmDrawsNothing) {
  plat::SRand(9);
  CDIBImage source, target;
  ASSERT_TRUE(source.Create(40, 30));
  ASSERT_TRUE(target.Create(40, 30));
  source.FillFull(0xFF336699u);
  // A frame without element 0 and a scratch of one element are used as far
  // as they go.
  CDIBSprite bare, scratch;
  ASSERT_TRUE(bare.Create(4, 4));
  ASSERT_TRUE(bare.InitSprtInfo(0, 4));
  ASSERT_TRUE(scratch.Create(3, 30));
  scratch.FillFull(0xFFFFFFFFu);
  CDIBFilm film;
  ASSERT_TRUE(film.Initialize(40, 30, 5, &bare, &scratch));
  ASSERT_TRUE(film.MakeAnmCell(&source));
  target.FillFull(0);
  film.Move();
  film.Draw(&target);
  EXPECT_EQ(target.GetPixels()[0], 0u) << "not running";

  film.SetMove(true);
  film.SetDrawParam(0, 0, 40, 30, 0xFFFFFFFFu);
  std::set<int> seen;
  for (int i = 0; i < 200; ++i) {
    film.Move();
    ASSERT_GE(film.GetCell(), 0);
    ASSERT_LT(film.GetCell(), 5);
    seen.insert(film.GetCell());
  }
  EXPECT_EQ(seen.size(), 5u);
  film.Draw(&target);
  EXPECT_NE(target.GetPixels()[15 * 40 + 20], 0u);

  // A strip that would not fit 16-bit source points is cut short; nothing
  // of no size is made.
  CDIBFilm tall;
  ASSERT_TRUE(tall.Initialize(2, 20000, 5, nullptr, nullptr));
  EXPECT_EQ(tall.GetCellCount(), 1);
  EXPECT_FALSE(tall.Initialize(0, 10, 5, nullptr, nullptr));
  EXPECT_FALSE(tall.Initialize(10, 10, 0, nullptr, nullptr));
}

}  // namespace
