// The virtual screen: recomposing only changed pages, the page swap at the
// end of a transition, the screen action, the debugger reports, and the
// whole state through a save and a load.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "SceneTestKit.h"
#include "platform/DynLib.h"
#include "scene/DIBOverlap.h"
#include "scene/DIBSnrVVram.h"
#include "ui/EffectParam.h"

namespace {

class VVramTest : public scenetest::SceneWorld {
 protected:
  void SetUp() override {
    SceneWorld::SetUp();
    vvram = std::make_unique<CDIBSnrVVram>();
    ASSERT_TRUE(vvram->Initialize());
    bg = AddPattern("BG", 800, 600, 1, true);
    AddPattern("CHR", 120, 200, 2);
    AddPattern("ITEM", 40, 40, 3);
    AddPattern("DROP", 4, 12, 4, true);
  }
  void TearDown() override {
    vvram.reset();
    SceneWorld::TearDown();
  }
  // One frame as the scenario screen runs it.
  void Frame() {
    display.BeginFrame();
    vvram->Move(false);
    display.BuildDirtyRects();
    vvram->Draw(display.GetBackImage());
  }
  void StartTransition(int32_t effect, int32_t duration) {
    EffectParam p;
    EffectParamWriter(&p, effect).Int(duration);
    vvram->GetOverlap()->InitEffect(vvram->GetPage(), vvram->GetBackPage(), &p);
  }
  // Composes a back page with every kind of layer setting and shows it.
  void BuildScene() {
    CDIBSnrLayer* l0 = vvram->GetBackLayer(0);
    ASSERT_TRUE(l0->SetImage("BG"));
    l0->SetBlend(false);
    CDIBSnrLayer* l1 = vvram->GetBackLayer(1);
    ASSERT_TRUE(l1->SetImage("CHR"));
    l1->SetPos(100, 120, 0);
    l1->SetColor(200, 255, 180, 160);
    l1->SetBaseSize(60, 100);
    CDIBSnrLayer* l2 = vvram->GetBackLayer(2);
    ASSERT_TRUE(l2->SetImage("ITEM"));
    l2->SetPos(500, 300, -200);
    l2->SetAnti(true);
    l2->SetCameraState(true, true, 0.5f, 2.0f);
    SnrActionParam rot{};
    rot.nKind = SNRACT_2DROT;
    rot.rot.nPeriod = 900;
    ASSERT_TRUE(vvram->GetAction(3)->Setup(&rot));
    vvram->GetAction(3)->Play();
    CDIBSnrLayer* l3 = vvram->GetBackLayer(3);
    ASSERT_TRUE(l3->SetImage("ITEM"));
    l3->SetPos(650, 80, 0);
    l3->SetAction(3);
    SnrActionParam wave{};
    wave.nKind = SNRACT_RASTER;
    wave.raster.nPeriod = 500;
    wave.raster.nAmplitude = 6;
    wave.raster.nFadeIn = 90;
    ASSERT_TRUE(vvram->GetAction(256)->Setup(&wave));
    vvram->GetAction(256)->Play();
    CDIBSnrLayer* l4 = vvram->GetBackLayer(15);
    ASSERT_TRUE(l4->SetImage("CHR"));
    l4->SetPos(300, 350, 0);
    l4->SetAction(256);
    CDIBCamera* cam = vvram->GetBackCamera();
    cam->ResetMove();
    cam->AddMove(400, 300, -1000, 0);
    cam->AddMove(450, 320, -900, 5);
    cam->StartMove(150);
    Frame();
    StartTransition(EFFECT_FADE, 90);
    for (int i = 0; i < 10 && vvram->GetFrontIndex() == 0; ++i) Frame();
    ASSERT_EQ(vvram->GetFrontIndex(), 1);
  }
  std::vector<uint8_t> Saved() {
    std::vector<uint8_t> out(CDIBSnrVVram::kSaveSizeMax);
    out.resize(static_cast<size_t>(vvram->Save(out.data()) - out.data()));
    return out;
  }
  static bool SamePixels(CDIBImage* a, CDIBImage* b) {
    return memcmp(a->GetPixels(), b->GetPixels(), 800 * 600 * 4) == 0;
  }

  std::unique_ptr<CDIBSnrVVram> vvram;
  std::vector<uint32_t> bg;
};

TEST_F(VVramTest, AComposedPageIsItsLayersDrawnInOrder) {
  // Plain rectangles (copied, blended, tinted, partly off the page, at
  // depth), layers drawn by actions and layers the camera turns, mixed.
  struct Setting {
    const char* name;
    int x, y, z, w, h;
    bool blend;
    uint32_t color;
    int action;
  };
  const Setting settings[] = {
      {"BG", 0, 0, 0, 0, 0, false, 0xFFFFFFFFu, 0},    {"CHR", -30, 500, 0, 0, 0, true, 0xFFFFFFFFu, 0},
      {"CHR", 700, -50, 0, 0, 0, false, 0xFF8090A0u, 0}, {"ITEM", 200, 200, 0, 80, 80, true, 0xC0FFFFFFu, 0},
      {"ITEM", 400, 100, 0, 0, 0, true, 0xFFFFFFFFu, 1}, {"CHR", 100, 100, -300, 0, 0, true, 0xFFFFFFFFu, 0},
      {"ITEM", 790, 590, 0, 0, 0, false, 0xFFFFFFFFu, 0}, {"CHR", 350, 50, 0, 0, 0, true, 0x80FF8040u, 0},
  };
  SnrActionParam rot{};
  rot.nKind = SNRACT_2DROT;
  rot.rot.nPeriod = 1000;
  ASSERT_TRUE(vvram->GetAction(1)->Setup(&rot));
  vvram->GetAction(1)->Play();
  for (int frame = 0; frame < 2; ++frame) {
    for (int i = 0; i < 8; ++i) {
      const Setting& s = settings[i];
      CDIBSnrLayer* layer = vvram->GetBackLayer(2 * i);
      layer->SetImage(s.name);
      layer->SetPos(s.x, s.y, s.z);
      layer->SetBaseSize(s.w, s.h);
      layer->SetBlend(s.blend);
      layer->SetColor(s.color >> 24, (s.color >> 16) & 0xFF, (s.color >> 8) & 0xFF, s.color & 0xFF);
      layer->SetAction(s.action);
    }
    vvram->Move(false);
    CDIBImage byHand;
    byHand.Create(800, 600);
    byHand.FillFull(0);
    for (int i = 0; i < 16; ++i) vvram->GetBackLayer(i)->Draw(&byHand, vvram->GetBackCamera());
    EXPECT_TRUE(SamePixels(&byHand, vvram->GetBackPage())) << frame;
    // The second time, through a camera that has flown aside: some quads
    // are then no longer plain rectangles.
    vvram->GetBackCamera()->AddMove(460, 280, -950, 1);
    vvram->GetBackCamera()->StartMove(0);
  }
}

TEST_F(VVramTest, ATransitionEndsWithTheSwapAndTheOldFrontPagesPicturesGoBack) {
  vvram->GetBackLayer(0)->SetImage("BG");
  vvram->GetBackLayer(0)->SetBlend(false);
  vvram->GetBackLayer(5)->SetImage("CHR");
  vvram->GetBackLayer(6)->SetImage("CHR");
  EXPECT_EQ(Refs("CHR"), 2);
  Frame();
  StartTransition(EFFECT_BLT, 60);
  Frame();  // 30 ms
  Frame();  // 60 ms: the last frame is drawn
  EXPECT_EQ(vvram->GetFrontIndex(), 0);
  const int far = 500 * 800 + 700;  // away from the two characters
  EXPECT_EQ(display.GetBackImage()->GetPixels()[far], bg[far]);
  Frame();  // the transition ends: swap
  EXPECT_EQ(vvram->GetFrontIndex(), 1);
  EXPECT_EQ(vvram->GetLayer(5)->GetProp()->pImage != nullptr, true);
  EXPECT_EQ(vvram->GetPage()->GetPixels()[799], bg[799]);

  // The next transition clears the pages' layers the other way round.
  vvram->GetBackLayer(2)->SetImage("ITEM");
  vvram->GetBackCamera()->AddMove(300, 300, -1000, 0);
  vvram->GetCamera()->AddMove(500, 300, -1000, 0);
  StartTransition(EFFECT_BLT, 30);
  Frame();
  Frame();
  EXPECT_EQ(vvram->GetFrontIndex(), 0);
  EXPECT_EQ(Refs("CHR"), 0);
  EXPECT_EQ(Refs("BG"), 0);
  EXPECT_EQ(Refs("ITEM"), 1);
  for (int i = 0; i < 16; ++i) {
    const SnrLayerProp* p = vvram->GetBackLayer(i)->GetProp();
    EXPECT_EQ(p->pImage, nullptr);
    EXPECT_EQ(p->dwColor, 0xFFFFFFFFu);
    EXPECT_EQ(p->bBlend, 1);
    EXPECT_EQ(p->nAction, 0);
    EXPECT_FALSE(vvram->GetBackLayer(i)->IsChanged());
  }
  EXPECT_EQ(vvram->GetBackCamera()->GetKeyCount(), 0);  // the old front camera is reset

  // The cleared back page shows nothing when it is next shown.
  Frame();
  for (int i = 0; i < 800 * 600; i += 97) ASSERT_EQ(vvram->GetBackPage()->GetPixels()[i], 0u);
}

TEST_F(VVramTest, NothingChangedMeansNothingDirty) {
  vvram->GetBackLayer(0)->SetImage("BG");
  vvram->GetBackLayer(0)->SetBlend(false);
  Frame();
  StartTransition(EFFECT_BLT, 30);
  for (int i = 0; i < 3; ++i) Frame();
  ASSERT_EQ(vvram->GetFrontIndex(), 1);
  display.BeginFrame();
  display.BeginFrame();  // both of the display's frames forgotten
  vvram->Move(false);
  EXPECT_TRUE(display.BuildDirtyRects().empty());

  // A change on the back page alone does not touch the screen either.
  vvram->GetBackLayer(3)->SetPos(1, 2, 3);
  display.BeginFrame();
  display.BeginFrame();
  vvram->Move(false);
  EXPECT_TRUE(display.BuildDirtyRects().empty());

  vvram->GetLayer(0)->SetPos(10, 0, 0);
  display.BeginFrame();
  vvram->Move(false);
  ASSERT_EQ(display.BuildDirtyRects().size(), 1u);
  EXPECT_EQ(display.GetDirtyRects()[0].right, 800);
  CDIBImage* screen = display.GetBackImage();
  screen->FillFull(0xFF0000FFu);
  vvram->Draw(screen);
  EXPECT_EQ(screen->GetPixels()[10], bg[0]);
  EXPECT_EQ(screen->GetPixels()[599 * 800 + 799], bg[599 * 800 + 789]);
}

TEST_F(VVramTest, SaveThenLoadGivesTheSamePagesAndTheSameRecord) {
  BuildScene();
  for (int i = 0; i < 4; ++i) Frame();
  const std::vector<uint8_t> record = Saved();
  EXPECT_LE(record.size(), CDIBSnrVVram::kSaveSizeMax);

  CDIBSnrVVram restored;
  ASSERT_TRUE(restored.Initialize());
  ASSERT_EQ(restored.Load(record.data(), record.size()), record.data() + record.size());
  EXPECT_TRUE(SamePixels(restored.GetPage(), vvram->GetPage()));
  EXPECT_TRUE(SamePixels(restored.GetBackPage(), vvram->GetBackPage()));
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(restored.GetLayer(i)->IsChanged(), vvram->GetLayer(i)->IsChanged()) << i;
    EXPECT_STREQ(restored.GetLayer(i)->GetImageName(), vvram->GetLayer(i)->GetImageName()) << i;
  }
  EXPECT_FALSE(restored.GetLayer(0)->IsChanged());
  std::vector<uint8_t> again(CDIBSnrVVram::kSaveSizeMax);
  again.resize(static_cast<size_t>(restored.Save(again.data()) - again.data()));
  EXPECT_EQ(again, record);

  // Both go on the same way.
  for (int i = 0; i < 5; ++i) {
    vvram->Move(false);
    restored.Move(false);
  }
  EXPECT_TRUE(SamePixels(restored.GetPage(), vvram->GetPage()));
}

TEST_F(VVramTest, ADamagedRecordChangesNothing) {
  BuildScene();
  Frame();
  const std::vector<uint8_t> record = Saved();
  CDIBSnrVVram other;
  ASSERT_TRUE(other.Initialize());
  other.GetBackLayer(4)->SetImage("ITEM");
  other.SetScreenAction(9);
  other.Move(false);
  const std::vector<uint8_t> before = [&] {
    std::vector<uint8_t> out(CDIBSnrVVram::kSaveSizeMax);
    out.resize(static_cast<size_t>(other.Save(out.data()) - out.data()));
    return out;
  }();
  std::vector<uint32_t> pixels(other.GetBackPage()->GetPixels(), other.GetBackPage()->GetPixels() + 800 * 600);

  auto patched = [&](size_t at, std::vector<uint8_t> bytes) {
    std::vector<uint8_t> bad = record;
    for (size_t i = 0; i < bytes.size(); ++i) bad[at + i] = bytes[i];
    return bad;
  };
  const size_t layers = record.size() - 2 * 168 - 32 * 105;
  const float nan = NAN;
  uint8_t nanBytes[4];
  memcpy(nanBytes, &nan, 4);
  std::vector<std::vector<uint8_t>> bad = {
      patched(0, {2, 0, 0, 0}),                                     // no third page
      patched(4, {1, 1, 0, 0}),                                     // screen action 257
      patched(8 + 2, {9, 0, 0, 0}),                                 // first action of kind 9
      patched(layers + 91, {0, 2, 0, 0}),                           // layer action 512
      patched(layers + 97, {nanBytes[0], nanBytes[1], nanBytes[2], nanBytes[3]}),
      patched(record.size() - 168 + 6, {nanBytes[0], nanBytes[1], nanBytes[2], nanBytes[3]}),
  };
  std::vector<uint8_t> unnamed = record;
  memset(unnamed.data() + layers + 1, 'N', 64);
  bad.push_back(unnamed);
  for (size_t i = 0; i < bad.size(); ++i) EXPECT_EQ(other.Load(bad[i].data(), bad[i].size()), nullptr) << i;
  for (size_t n : {size_t{0}, size_t{7}, size_t{8}, record.size() / 2, record.size() - 1})
    EXPECT_EQ(other.Load(record.data(), n), nullptr) << n;
  EXPECT_EQ(other.Load(nullptr, 100), nullptr);

  std::vector<uint8_t> after(CDIBSnrVVram::kSaveSizeMax);
  after.resize(static_cast<size_t>(other.Save(after.data()) - after.data()));
  EXPECT_EQ(after, before);
  EXPECT_EQ(memcmp(pixels.data(), other.GetBackPage()->GetPixels(), pixels.size() * 4), 0);
}

TEST_F(VVramTest, TheScreenActionDrawsTheWholeFrontPage) {
  vvram->GetBackLayer(0)->SetImage("BG");
  vvram->GetBackLayer(0)->SetBlend(false);
  Frame();
  StartTransition(EFFECT_BLT, 30);
  for (int i = 0; i < 3; ++i) Frame();
  SnrActionParam scroll{};
  scroll.nKind = SNRACT_SCROLL;
  scroll.scroll.nPeriod = 300;
  scroll.scroll.nCount = 2;
  scroll.scroll.nX[1] = 100;  // slides right by 100
  ASSERT_TRUE(vvram->GetAction(7)->Setup(&scroll));
  vvram->GetAction(7)->Play();
  vvram->SetScreenAction(7);
  for (int i = 0; i < 10; ++i) Frame();
  CDIBImage* screen = display.GetBackImage();
  EXPECT_EQ(screen->GetPixels()[0], 0u);  // filled with 0 where the page moved away
  EXPECT_EQ(screen->GetPixels()[100], bg[0]);
  CDIBImage copy;
  copy.Create(800, 600);
  vvram->Blt(&copy);
  EXPECT_TRUE(SamePixels(&copy, screen));
  vvram->SetScreenAction(300);  // out of range: none
  EXPECT_EQ(vvram->GetScreenAction(), 0);
  vvram->Blt(&copy);
  EXPECT_EQ(copy.GetPixels()[0], bg[0]);
}

TEST_F(VVramTest, TheNoEffectSwitchFinishesTransitionsAndMovesAtOnce) {
  window.mbNoneEffect = true;
  vvram->GetBackLayer(0)->SetImage("BG");
  vvram->GetBackCamera()->AddMove(600, 300, -1000, 0);
  vvram->GetBackCamera()->AddMove(700, 300, -1000, 0);
  vvram->GetBackCamera()->StartMove(100000);
  Frame();
  EXPECT_FALSE(vvram->GetBackCamera()->IsMove());
  EXPECT_EQ(vvram->GetBackCamera()->GetEye().x, 300.0f);
  StartTransition(EFFECT_FADE, 100000);
  Frame();  // finished at once: this frame draws the end
  EXPECT_EQ(vvram->GetOverlap()->GetTime(), 100000);
  Frame();
  EXPECT_EQ(vvram->GetFrontIndex(), 1);
}

TEST_F(VVramTest, TheDebuggerHearsOfEveryLayerInOrder) {
  TestDir logDir;
  const std::string log = logDir.File("vqd.log");
  setenv("VELTO_VQDEBUG_LOG", log.c_str(), 1);
  window.mhDebugDll = plat::LoadLibrary(std::string(VELTO_BINARY_DIR) + "/tests/scene/libVQDebugLayers.so");
  ASSERT_NE(window.mhDebugDll, nullptr);
  CDIBSnrVVram screen;
  ASSERT_TRUE(screen.Initialize());
  screen.GetBackLayer(2)->SetImage("ITEM");
  screen.GetBackLayer(2)->SetPos(-5, 6, 7);
  screen.GetBackLayer(2)->SetCameraState(true, false, 0.5f, 1.25f);
  EffectParam p;
  EffectParamWriter(&p, EFFECT_BLT).Int(0);
  screen.GetOverlap()->InitEffect(screen.GetPage(), screen.GetBackPage(), &p);
  screen.Move(false);
  screen.SendToDebug_LayerInfo(0, 2);
  plat::FreeLibrary(window.mhDebugDll);
  window.mhDebugDll = nullptr;
  unsetenv("VELTO_VQDEBUG_LOG");

  std::ifstream in(log);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  // 11 reports for each of 32 layers at start, the transition's end, 16
  // layers of the new back page, then the one asked for.
  ASSERT_EQ(lines.size(), 32u * 11 + 1 + 16 * 11 + 11);
  const char* order[] = {"Image", "DrawPos", "DrawSize", "Color", "Blend", "Anti",
                         "ActListNo", "Camera", "CamBill", "CamXYRate", "CamWRate"};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(lines[i].rfind(order[i], 0), 0u) << lines[i];
  EXPECT_EQ(lines[0], "Image 0 0  0 0");
  EXPECT_EQ(lines[11], "Image 1 0  0 0");  // page 0 then page 1 for each layer
  EXPECT_EQ(lines[3], "Color 0 0 FFFFFFFF");
  EXPECT_EQ(lines[32 * 11], "LayOverlap");
  const size_t last = lines.size() - 11;
  EXPECT_EQ(lines[last], "Image 0 2 ITEM 40 40");
  EXPECT_EQ(lines[last + 1], "DrawPos 0 2 -5 6 7");
  EXPECT_EQ(lines[last + 9], "CamXYRate 0 2 50");
  EXPECT_EQ(lines[last + 10], "CamWRate 0 2 125");
}

}  // namespace
