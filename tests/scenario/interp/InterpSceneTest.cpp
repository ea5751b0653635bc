// Pictures, layers, transitions, camera flights and actions driven by a
// story: what reaches the pages and the picture shown, and how many frames
// the waiting commands take.
#include <string>

#include "InterpFixture.h"
#include "assets/DIBDisplay.h"
#include "scene/DIBCamera.h"
#include "scene/DIBOverlap.h"
#include "scene/DIBSnrAction.h"
#include "scene/DIBSnrLayer.h"
#include "scene/DIBSnrVVram.h"

namespace {

uint32_t Pixel(const CDIBImage* image, int x, int y) { return image->GetPixels()[y * image->GetWidth() + x]; }

class InterpScene : public InterpTest {
 protected:
  void SetUp() override {
    InterpTest::SetUp();
    Picture("BG01", 800, 600, 0xFF204060u);
    Picture("CH01", 100, 80, 0xFFC08040u);
    Picture("DROP", 4, 16, 0xC0FFFFFFu);
  }
  CDIBSnrVVram* VVram() const { return Screen() ? Screen()->GetVVram() : nullptr; }
  uint32_t Shown(int x, int y) const { return Pixel(app->mpDisplay->GetBackImage(), x, y); }
};

TEST_F(InterpScene, PicturesReachTheShownPageThroughATransition) {
  Scenario("S", std::string("IMREAD 7, \"BG01\"\nLYIMAGE 0, 7\nLYBLEND 0, 0\nLYIMAGE 1, \"CH01\"\nLYPOS 1, 100, 50, 0\n"
                            "LYBLEND 1, 0\nMOV $2, 1\nOVERLAP 1, 300\nMOV $1, 1\n") + kIdle);
  Run("S");
  FramesUntil([&] { return Var(2) == 1; });
  long long start = FrameNo();
  // Until the transition, the shown page stays empty.
  EXPECT_EQ(Pixel(VVram()->GetPage(), 0, 0), 0u);
  // Effect 1 + 1 is the fade; its duration is stored one longer.
  FramesUntil([&] { return VVram()->GetOverlap()->IsRun(); });
  EXPECT_EQ(VVram()->GetOverlap()->GetEffect(), EFFECT_FADE);
  EXPECT_EQ(VVram()->GetOverlap()->GetSpan(), 301);
  FramesUntil([&] { return Var(1) == 1; });
  long long frames = FrameNo() - start;
  // One frame to compose the page, one to start, ten of fading, then on.
  EXPECT_GE(frames, 3);
  EXPECT_LE(frames, 14);
  Frames(2);
  EXPECT_EQ(Pixel(VVram()->GetPage(), 0, 0), 0xFF204060u);
  EXPECT_EQ(Pixel(VVram()->GetPage(), 100, 50), 0xFFC08040u);
  EXPECT_EQ(Pixel(VVram()->GetPage(), 199, 129), 0xFFC08040u);
  EXPECT_EQ(Pixel(VVram()->GetPage(), 200, 130), 0xFF204060u);
  EXPECT_EQ(Shown(150, 60), 0xFFC08040u);
  EXPECT_EQ(Shown(700, 500), 0xFF204060u);
  // The new back page starts empty.
  EXPECT_EQ(VVram()->GetBackLayer(0)->GetProp()->pImage, nullptr);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(InterpScene, AnEffectNumberWithoutAnEffectStillShowsTheNewPage) {
  Scenario("S", std::string("LYIMAGE 0, \"BG01\"\nLYBLEND 0, 0\nOVERLAP 98, 1, 2, 3\nMOV $1, 1\n") + kIdle);
  Run("S");
  FramesUntil([&] { return Var(1) == 1; });
  EXPECT_EQ(Pixel(VVram()->GetPage(), 5, 5), 0xFF204060u);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(InterpScene, LayerPropertiesOnTheBackPage) {
  Scenario("S", std::string("LYCOLOR 3, 300, -5, 128, 255\nLYCAMSTATE 3, 1, 0, 100, 50\n"
                            "LYSIZE 3, 400, 300\nLYANTI 3, 1\nLYACTION 2, 5\nMOV $1, 1\nATIMES 0\n"
                            "AWAIT 0, 1990, 1991, 1992, 1993, 1994\nLYACTION 2, -1\n"
                            "IMREAD 9, \"NOPIC\"\nLYIMAGE 4, 12\nMOV $2, 1\nATIMES 0\n"
                            "AWAIT 0, 1990, 1991, 1992, 1993, 1994\nLYPOS 16, 0, 0, 0\n") +
                kIdle);
  Run("S");
  FramesUntil([&] { return Var(1) == 1; });
  const SnrLayerProp* p3 = VVram()->GetBackLayer(3)->GetProp();
  EXPECT_EQ(p3->dwColor, 0xFF0080FFu);
  EXPECT_EQ(p3->fXYRate, 1.0f);
  EXPECT_EQ(p3->fWRate, 0.5f);
  EXPECT_EQ(p3->bBillboard, 0);
  EXPECT_EQ(p3->nBaseWidth, 400);
  EXPECT_EQ(p3->bAnti, 1);
  EXPECT_EQ(VVram()->GetBackLayer(2)->GetProp()->nAction, 6);
  EXPECT_EQ(VVram()->GetLayer(3)->GetProp()->dwColor, 0xFFFFFFFFu) << "the shown page is not touched";
  FramesUntil([&] { return Closed() || Var(2) == 1; });
  ASSERT_FALSE(Closed());
  EXPECT_EQ(VVram()->GetBackLayer(2)->GetProp()->nAction, 0) << "action -1 is none";
  EXPECT_EQ(VVram()->GetBackLayer(4)->GetProp()->pImage, nullptr);
  // A missing picture and an empty slot are reported; the story goes on.
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], "【IMREAD】読み込みエラー(ファイル名：NOPIC)");
  EXPECT_EQ(boxes[1], "【LYIMAGE】読み込みエラー(ファイル名：)");
  Frames(5);
  EXPECT_TRUE(Closed()) << "there is no layer 16";
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[2], "【LYPOS】パラメータが不正エラー(パラメータ：1番)");
}

TEST_F(InterpScene, ActionsAreMadePlayedStoppedAndFreed) {
  Scenario("S", std::string("ACTMAKE 4, 4\nACTMAKE 0, 0, 1000, 2, 1\n"
                            "ACTMAKE 1, 1, 900, 1, 0, 10, 20, 0, 30, 40, 0\n"
                            "ACTMAKE 2, 3, 1000, 50, 10, 5, \"DROP\"\nACTMAKE 3, 9, 1\n"
                            "ACTPLAY 4, 0, 200\nSCREENACT 0\nMOV $1, 1\n"
                            "ATIMES 0\nAWAIT 0, 1990, 1991, 1992, 1993, 1994\n"
                            "ACTSTOP 0\nACTFREE 4\nSCREENACT -1\nMOV $2, 1\n"
                            "ATIMES 0\nAWAIT 0, 1990, 1991, 1992, 1993, 1994\n"
                            "ACTPLAY 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10\n") +
                kIdle);
  Run("S");
  FramesUntil([&] { return Var(1) == 1; });
  CDIBSnrAction* fire = VVram()->GetAction(5);
  ASSERT_TRUE(fire->IsUse());
  // Two parameters: the default fire.
  EXPECT_EQ(fire->GetKind(), SNRACT_FIRE);
  EXPECT_EQ(fire->GetParam().fire.nBaseHeat, 10000);
  EXPECT_EQ(fire->GetParam().fire.nCentre, 400);
  EXPECT_EQ(fire->GetParam().fire.nWidth, 800);
  EXPECT_EQ(fire->GetParam().fire.nFront, 1);
  EXPECT_TRUE(fire->IsPlay());
  EXPECT_EQ(VVram()->GetAction(1)->GetParam().rot.nPeriod, 1000);
  EXPECT_EQ(VVram()->GetAction(1)->GetParam().rot.nDirection, 1);
  const SnrActionParam& scroll = VVram()->GetAction(2)->GetParam();
  EXPECT_EQ(scroll.scroll.nCount, 2);
  EXPECT_EQ(scroll.scroll.bLoop, 1);
  EXPECT_EQ(scroll.scroll.bSmooth, 0);
  EXPECT_EQ(scroll.scroll.nY[1], 40);
  EXPECT_STREQ(VVram()->GetAction(3)->GetParam().rain.szDrop, "DROP");
  EXPECT_FALSE(VVram()->GetAction(4)->IsUse()) << "kind 9 defines nothing";
  EXPECT_EQ(VVram()->GetScreenAction(), 1);
  FramesUntil([&] { return Var(2) == 1; });
  EXPECT_FALSE(VVram()->GetAction(5)->IsUse());
  EXPECT_FALSE(VVram()->GetAction(1)->IsPlay());
  EXPECT_EQ(VVram()->GetScreenAction(), 0);
  Frames(5);
  ASSERT_TRUE(Closed());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "【ACTPLAY】パラメータ数が不正エラー(パラメータ数：11個)");
}

TEST_F(InterpScene, ACameraFlightHoldsTheStoryUntilItLands) {
  Scenario("S", std::string("MOV $2, 1\nCAMMOVE 0, 600, 400, 300, -1000, 0, 500, 300, -1000, 0\nMOV $1, 1\n") +
                kIdle);
  Run("S");
  FramesUntil([&] { return Var(2) == 1; });
  long long start = FrameNo();
  EXPECT_TRUE(VVram()->GetCamera()->IsMove());
  FramesUntil([&] { return Var(1) == 1; });
  // 600 ms at 30 ms a frame.
  EXPECT_GE(FrameNo() - start, 19);
  EXPECT_LE(FrameNo() - start, 21);
  EXPECT_FALSE(VVram()->GetCamera()->IsMove());
  EXPECT_EQ(VVram()->GetCamera()->GetEye().x, 100.0f);
}

TEST_F(InterpScene, TransitionParametersAreCheckedByEffect) {
  for (auto [source, box] : std::vector<std::pair<std::string, std::string>>{
           {"OVERLAP", "【OVERLAP】パラメータ数が不正エラー(パラメータ数：0個)"},
           {"OVERLAP 1, 300, 2", "【OVERLAP】パラメータ数が不正エラー(パラメータ数：3個)"},
           {"OVERLAP 1, \"300\"", "【OVERLAP】パラメータタイプが不正エラー(パラメータ：2番)"},
           {"OVERLAP \"1\", 300", "【OVERLAP】パラメータタイプが不正エラー(パラメータ：2番)"},
           {"OVERLAP 2, 500, 0, 7", "【OVERLAP】パラメータタイプが不正エラー(パラメータ：2番)"},
           {"OVERLAP 5, 500, \"FLARE\", 0, 100", "【OVERLAP】パラメータ数が不正エラー(パラメータ数：5個)"},
           {"CAMMOVE 0, 100, 1, 2", "【CAMMOVE】パラメータ数が不正エラー(パラメータ数：4個)"},
           {"ACTMAKE 0, 1, 900, 1, 0, 10, 20", "【ACTMAKE】パラメータ数が不正エラー(パラメータ数：7個)"},
           {"ACTMAKE 0, 4, 1, 2, 3", "【ACTMAKE】パラメータ数が不正エラー(パラメータ数：5個)"},
           {"ACTMAKE 256, 0, 1, 2, 3", "【ACTMAKE】パラメータが不正エラー(パラメータ：1番)"},
       }) {
    SCOPED_TRACE(source);
    boxes.clear();
    Scenario("S", source + "\n" + kIdle);
    Run("S");
    Frames(10);
    EXPECT_TRUE(Closed());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], box);
    TearDown();
    SetUp();
  }
}

}  // namespace
