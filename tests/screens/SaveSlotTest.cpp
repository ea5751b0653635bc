// What the save list reads of a slot: only a whole saved game of this
// product counts, and its time is shown in local time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "TestDir.h"
#include "assets/DIBImage.h"
#include "platform/Timer.h"
#include "save/GameFile.h"
#include "save/SaveDigest.h"
#include "save/SaveFolder.h"
#include "screens/SaveSlot.h"

namespace {

TEST(SaveSlot, OnlyAWholeGameOfThisProductIsATakenSlot) {
  TestDir dir;
  save::SetSaveLocation(save::SaveLocation{dir.path(), {dir.path()}, false});
  auto game = std::make_unique<SavedGame>();
  snprintf(game->subTitle, sizeof game->subTitle, "evening");
  game->sumWidth = 2;
  game->sumHeight = 1;
  game->sumPixels = {0xFF112233u, 0xFF445566u};
  const std::vector<uint8_t> sound = BuildGameFile(*game, SavePhrase(), &SaveHexDigest);
  const std::vector<uint8_t> foreign = BuildGameFile(*game, "another game", &SaveHexDigest);
  auto write = [&](int slot, const std::vector<uint8_t>& bytes, size_t size) {
    dir.Write("SAVE/GAME0" + std::to_string(slot) + ".SAV",
              std::string(bytes.begin(), bytes.begin() + static_cast<long>(std::min(size, bytes.size()))));
  };
  write(0, sound, sound.size());
  write(1, foreign, foreign.size());
  write(2, sound, sound.size() - 1);
  dir.Write("SAVE/GAME03.SAV", std::string(sound.size(), 'x'));

  char subTitle[64] = {};
  CDIBImage* thumbnail = nullptr;
  uint64_t time = 0;
  ASSERT_TRUE(screens::ReadSaveSlot(0, subTitle, &thumbnail, &time));
  std::unique_ptr<CDIBImage> owned(thumbnail);
  EXPECT_STREQ(subTitle, "evening");
  ASSERT_TRUE(owned);
  EXPECT_EQ(owned->GetWidth(), 2);
  EXPECT_NE(time, 0u);
  for (int slot : {1, 2, 3, 4}) {
    thumbnail = nullptr;
    snprintf(subTitle, sizeof subTitle, "left over");
    time = 7;
    EXPECT_FALSE(screens::ReadSaveSlot(slot, subTitle, &thumbnail, &time)) << slot;
    EXPECT_EQ(thumbnail, nullptr) << slot;
    EXPECT_STREQ(subTitle, "") << slot;
    EXPECT_EQ(time, 0u) << slot;
  }
}

TEST(SaveSlot, TheTimeIsShownInLocalTime) {
  const char* old = getenv("TZ");
  const std::string saved = old ? old : "";
  setenv("TZ", "JST-9", 1);
  tzset();
  // 2026-12-08 16:35:59 UTC as a file time (100 ns steps since 1601).
  const uint64_t fileTime = (uint64_t{1796747759} + 11644473600ull) * 10000000ull + 9999999;
  EXPECT_EQ(screens::FormatSaveTime(fileTime), "2026/12/09 01:35");
  EXPECT_EQ(screens::FormatSaveTime(0), "");
  // A run on the virtual clock has no zone: the same text on every machine.
  plat::SetVirtualClock(true, 0);
  EXPECT_EQ(screens::FormatSaveTime(fileTime), "2026/12/08 16:35");
  plat::SetVirtualClock(false);
  if (old)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

}  // namespace
