// Reading by name from the scenario file source.
#include <gtest/gtest.h>

#include "SnrTestFile.h"
#include "TestDir.h"
#include "app/core/MainWindow.h"
#include "assets/FileJoin.h"
#include "scenario/Scramble.h"

using namespace snrtest;

namespace {

class SnrBufferRead : public testing::Test {
 protected:
  void SetUp() override {
    snr::SnrImage image;
    Cmd(image, 10000);
    mFile = image.Build();
    Bytes scrambled = mFile;
    snr::ScrambleBlocks(scrambled.data(), scrambled.size(), GameTitle());
    mDir.Write("MSD/START.MSD", std::string(mFile.begin(), mFile.end()));
    mDir.Write("MSD/HIDDEN.MSD", std::string(scrambled.begin(), scrambled.end()));
    mDir.Write("MSD/EMPTY.MSD", "");
    ASSERT_TRUE(mSource.Initialize(mDir.path().c_str(), "MSD", ".MSD"));
    mWindow.mpFileJoin[kJoinMsd] = &mSource;
    gpMainWindow = &mWindow;
  }
  void TearDown() override { gpMainWindow = nullptr; }

  TestDir mDir;
  CFileJoin mSource;
  CMainWindow mWindow;
  Bytes mFile;
};

TEST_F(SnrBufferRead, FindsTheNameWithTheDefaultExtension) {
  CSnrBuffer buffer;
  ASSERT_TRUE(buffer.Read("START"));
  EXPECT_STREQ(buffer.GetName(), "START");
  EXPECT_EQ(buffer.GetCmdID(), 10000);
  ASSERT_TRUE(buffer.Read("START.MSD"));
  EXPECT_EQ(buffer.GetSize(), mFile.size());
}

TEST_F(SnrBufferRead, UnscramblesWithTheGameTitle) {
  CSnrBuffer buffer;
  ASSERT_TRUE(buffer.Read("HIDDEN"));
  EXPECT_EQ(Bytes(buffer.GetData(), buffer.GetData() + buffer.GetSize()), mFile);
}

TEST_F(SnrBufferRead, MissingOrEmptyFilesAndAMissingSourceFail) {
  CSnrBuffer buffer;
  EXPECT_FALSE(buffer.Read("NOPE"));
  EXPECT_FALSE(buffer.Read("EMPTY"));
  EXPECT_FALSE(buffer.Read(nullptr));
  mWindow.mpFileJoin[kJoinMsd] = nullptr;
  EXPECT_FALSE(buffer.Read("START"));
  gpMainWindow = nullptr;
  EXPECT_FALSE(buffer.Read("START"));
  EXPECT_TRUE(buffer.IsFinish());
}

}  // namespace
