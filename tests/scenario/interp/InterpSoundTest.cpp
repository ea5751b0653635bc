// Music, voices, effects and the records the scenario keeps in the save
// data, run as a story would run them.
#include <string>

#include "InterpFixture.h"
#include "audio/BGMBuffer.h"
#include "audio/SEBuffer.h"
#include "audio/VoiceBuffer.h"

namespace {

class InterpSound : public InterpTest {
 protected:
  void SetUp() override {
    InterpTest::SetUp();
    Sound("BGM", "BGM01", 3000);
    Sound("VOICE", "V0027", 1000);
    Sound("SE", "SE01", 400);
  }
};

TEST_F(InterpSound, MusicFadesInWhileTheStoryWaitsUnlessThePlayerHurries) {
  Scenario("S", std::string("BGMLIST 0, \"BGM01\"\nBGMPLAY 0, 1, 1, 600\nMOV $1, 1\n"
                            "ATIMES 1500\nAWAIT 0, 1990, 1991, 1992, 1993, 1994\n"
                            "MOV $3, 1\nBGMPLAY \"BGM01\", 1, 1, 3000\nMOV $2, 1\n") + kIdle);
  Run("S", "40 down CONTROL\n");
  FramesUntil([&] { return app->mpBGMBuffer->mbPlay.load(); });
  EXPECT_STREQ(app->mpSaveData->mBGMList[0], "BGM01");
  EXPECT_EQ(app->mpBGMBuffer->mFadeMode, 1);
  long long started = FrameNo();
  FramesUntil([&] { return Var(1) == 1; });
  // 600 ms of fade at 30 ms a frame, then the next command on the frame after.
  EXPECT_GE(FrameNo() - started, 20);
  EXPECT_LE(FrameNo() - started, 22);
  EXPECT_LT(FrameNo(), 40);
  // Control is held when the second piece starts: no fade, and the story
  // goes on at the next frame.
  FramesUntil([&] { return Var(3) == 1; });
  long long second = FrameNo();
  EXPECT_GT(second, 40);
  EXPECT_EQ(app->mpBGMBuffer->mFadeMode, 0);
  EXPECT_TRUE(app->mpBGMBuffer->mbPlay);
  FramesUntil([&] { return Var(2) == 1; });
  EXPECT_EQ(FrameNo(), second + 1);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(InterpSound, MusicStopsAndWaitsAndAMissingPieceIsReported) {
  Scenario("S", std::string("BGMPLAY \"NOPE\", 1, 1, 0\nMOV $1, 1\nBGMPLAY \"BGM01\", 0, 1, 0\n"
                            "BGMSTOP 1, 300\nMOV $2, 1\nBGMWAIT 1\nMOV $3, 1\nBGMWAIT 4\n") + kIdle);
  Run("S");
  FramesUntil([&] { return Var(1) == 1; });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "【BGMPLAY】読み込みエラー(ファイル名：NOPE)");
  FramesUntil([&] { return Var(2) == 1; });
  EXPECT_FALSE(app->mpBGMBuffer->mbPlay) << "the stop waited for the fade-out";
  Frames(5);
  EXPECT_TRUE(Closed()) << "BGMWAIT with mode 4 is a parameter error";
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1], "【BGMWAIT】パラメータが不正エラー(パラメータ：2番)");
}

TEST_F(InterpSound, VoicesFromTheListWithFourDigitNumbers) {
  Scenario("S", std::string("VOICELIST 3, \"V\"\nVOICEPLAY 3, 27, 0\nMOV $1, 1\nVOICEWAIT\nMOV $2, 1\n"
                            "VOICEPLAY \"V0027\", 1\nMOV $3, 1\nVOICEPLAY \"NOVOICE\", 0\nMOV $4, 1\n") + kIdle);
  Run("S", "90 down RETURN\n91 up RETURN\n");
  FramesUntil([&] { return Var(1) == 1; });
  EXPECT_STREQ(app->mpVoiceBuffer->mszName, "V0027");
  EXPECT_TRUE(app->mpVoiceBuffer->mbPlay);
  long long started = FrameNo();
  FramesUntil([&] { return Var(2) == 1; });
  EXPECT_GE(FrameNo() - started, 30) << "VOICEWAIT waits for the one-second line";
  EXPECT_LT(FrameNo(), 80);
  // The second line waits until Return cuts it short on frame 90.
  FramesUntil([&] { return Var(3) == 1; });
  EXPECT_GE(FrameNo(), 90);
  EXPECT_LE(FrameNo(), 92);
  FramesUntil([&] { return Var(4) == 1; });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "【VOICEPLAY】読み込みエラー(ファイル名：NOVOICE)");
}

TEST_F(InterpSound, EffectsBySlotAndOnce) {
  Scenario("S", std::string("SEWAIT 5, 2\nMOV $1, 1\n"          // an empty slot steps on at once
                            "SEREAD 5, \"SE01\"\nSEPLAY 5, 0, 0, 1\nMOV $2, 1\n"
                            "SESTOP 5, 150, 1\nMOV $3, 1\n"
                            "SEPLAY \"SE01\", 0, 0\nSEWAIT 6, 2\nMOV $4, 1\n"
                            "SEFREE 5\nMOV $5, 1\nSEREAD 7, \"NOSE\"\nMOV $6, 1\n"
                            "ATIMES 0\nAWAIT 0, 1990, 1991, 1992, 1993, 1994\nSEWAIT 5, 3\n") +
                kIdle);
  Run("S");
  FramesUntil([&] { return Var(2) == 1; });
  EXPECT_EQ(Var(1), 1);
  int32_t handle = app->mpSaveData->mSEHandle[5];
  ASSERT_GT(handle, 0);
  EXPECT_TRUE(app->mpSEBuffer->IsPlay(handle));
  FramesUntil([&] { return Var(3) == 1; });
  EXPECT_FALSE(app->mpSEBuffer->IsPlay(handle)) << "the stop waited for its fade-out";
  FramesUntil([&] { return Closed() || Var(6) == 1; });
  ASSERT_FALSE(Closed()) << (boxes.empty() ? "" : boxes[0]);
  EXPECT_EQ(Var(4), 1) << "slot 6 was never read; the one-shot effect is not in a slot";
  EXPECT_EQ(app->mpSaveData->mSEHandle[5], 0);
  EXPECT_EQ(app->mpSaveData->mSEHandle[7], 0);
  ASSERT_GE(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "【SEREAD】読み込みエラー(ファイル名：NOSE)");
  Frames(10);
  EXPECT_TRUE(Closed());
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1], "【SEWAIT】パラメータが不正エラー(パラメータ：2番)");
}

TEST_F(InterpSound, RecordsInTheSaveData) {
  const std::string pause = "ATIMES 0\nAWAIT 0, 1990, 1991, 1992, 1993, 1994\n";
  Scenario("S", "MOV $9, 5\nCHKSCEXEC $9\nSUBTITLE \"第一章\"\nSAVESAM 0, 1, 2, 259\nMOV $1, 1\n" + pause +
                    "SAVESAM 40, \"THUMB\"\nSAVESAM 99, 1, 2, 3, 4\n"
                    "SELITEM 4, \"PARTS\", 1, 2, 3, 4, 5, \"HIT\", 9, 100, 200, 7, 11, 12, 13, 14, 15\n"
                    "MOV $2, 1\n" + pause +
                    "SELITEM 4, \"PARTS\", 1, 2, 3, 4, 5, 6, 9, 100, 200, 7, 11, 12, 13, 14, 15\n" + kIdle);
  Run("S");
  FramesUntil([&] { return Var(1) == 1; });
  EXPECT_EQ(Var(9), 0) << "not a replay";
  EXPECT_EQ(plat::ToUtf8(app->mpSaveData->mszSubTitle), "第一章");
  EXPECT_EQ(app->mpSaveData->mSumType, 0);
  EXPECT_EQ(app->mpSaveData->GetSumValue(), 0xFF010203u);
  FramesUntil([&] { return Var(2) == 1; });
  EXPECT_EQ(app->mpSaveData->mSumType, 40) << "an unknown type stores nothing";
  EXPECT_STREQ(app->mpSaveData->mSumParam, "THUMB");
  const SelItemData& item = app->mpSaveData->mSelItem[4];
  EXPECT_STREQ(item.szParts, "PARTS");
  EXPECT_STREQ(item.szHitFName, "HIT");
  EXPECT_EQ(item.nFrame[0], 1);
  EXPECT_EQ(item.nFrame[4], 5);
  EXPECT_EQ(item.nID, 9);
  EXPECT_EQ(item.x, 100);
  EXPECT_EQ(item.y, 200);
  EXPECT_TRUE(item.bEnable);
  EXPECT_EQ(item.nJump[0], 11);
  EXPECT_EQ(item.nJump[4], 15);
  Frames(10);
  ASSERT_TRUE(Closed()) << "the second SELITEM has a number for its hit-map name";
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "【SELITEM】パラメータタイプが不正エラー(パラメータ：8番)");
  boxes.clear();
  TearDown();
  SetUp();
  Scenario("S", "SAVESAM 0, 1\n");
  Run("S");
  Frames(10);
  ASSERT_TRUE(Closed());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "【SAVESAM】パラメータ数が不正エラー(パラメータ数：2個)");
}

}  // namespace
