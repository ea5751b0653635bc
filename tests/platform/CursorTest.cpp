#include "platform/Cursor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/CursorFile.h"

namespace {

using cursorfile::MonochromeCursor;

TEST(Cursor, ReadsAMonochromeCursorFile) {
  auto data = MonochromeCursor();
  plat::Cursor* c = plat::LoadCursorFromMemory(data.data(), data.size());
  ASSERT_NE(c, nullptr);
  plat::CursorImage img;
  ASSERT_TRUE(plat::GetCursorImage(c, img));
  EXPECT_EQ(img.width, 32);
  EXPECT_EQ(img.height, 32);
  EXPECT_EQ(img.hotX, 3);
  EXPECT_EQ(img.hotY, 5);
  EXPECT_EQ(img.pixels[0], 0xFFFFFFFFu);            // top row white
  EXPECT_EQ(img.pixels[5 * 32 + 5], 0xFF000000u);   // diagonal black
  EXPECT_EQ(img.pixels[5 * 32 + 6] >> 24, 0u);      // elsewhere transparent
  plat::FreeCursor(c);
}

TEST(Cursor, DamagedCursorFilesAreRefused) {
  auto data = MonochromeCursor();
  for (size_t cut = 0; cut < data.size(); cut += 37)
    EXPECT_EQ(plat::LoadCursorFromMemory(data.data(), cut), nullptr) << cut;
  auto icon = data;
  icon[2] = 1;  // an icon, not a cursor
  EXPECT_EQ(plat::LoadCursorFromMemory(icon.data(), icon.size()), nullptr);
  auto far = data;
  far[18] = 0xFF;  // image offset beyond the file
  EXPECT_EQ(plat::LoadCursorFromMemory(far.data(), far.size()), nullptr);
}

TEST(Cursor, SystemCursorsByTableIndex) {
  EXPECT_EQ(plat::SystemCursorId(0), 32512);
  EXPECT_EQ(plat::SystemCursorId(15), 32516);
  EXPECT_EQ(plat::SystemCursorId(16), 0);
  plat::Cursor* arrow = plat::LoadSystemCursor(32512);
  ASSERT_NE(arrow, nullptr);
  plat::FreeCursor(arrow);
  EXPECT_EQ(plat::LoadSystemCursor(12345), nullptr);
}

}  // namespace
