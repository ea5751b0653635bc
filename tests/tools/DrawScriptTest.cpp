// The picture language end to end: descriptions drawn by the library and
// by velto-tool, checked by pixels at known places, elements and encodings.
#include "gen/DrawScript.h"

#include <gtest/gtest.h>

#include "GenTestUtil.h"
#include "assets/DIBSprite.h"
#include "ui/HitMap.h"

namespace {

// Draws `text`; the picture, or a failed expectation with the error.
bool Draw(const TestDir& dir, const std::string& text, gen::PictureResult* out, std::string* error = nullptr) {
  dir.Write("pic.txt", text);
  gen::CPreprocessor pre;
  std::vector<gen::SourceLine> lines;
  std::string e;
  bool ok = pre.Run(dir.File("pic.txt"), &lines, &e);
  gen::CDrawScript script;
  ok = ok && script.Run(lines, out, &e);
  if (error) *error = e;
  return ok;
}

uint32_t At(const gen::PictureResult& p, int x, int y) { return p.canvas.ToArgb()[static_cast<size_t>(y) * p.canvas.Width() + x]; }

TEST(DrawScript, ShapesFillOutlineAndLayerWithExactEdges) {
  TestDir dir;
  gen::PictureResult p;
  ASSERT_TRUE(Draw(dir,
                   "picture 40 30\n"
                   "fill #102030\n"
                   "rect 10 5 20 10 fill=#ff0000\n"
                   "ellipse 20 22 6 fill=#00ff00 outline=#0000ff width=2\n"
                   "rect 0 0 4 4 fill=#ffffff80\n",
                   &p));
  EXPECT_EQ(At(p, 0, 29), 0xFF102030u);
  EXPECT_EQ(At(p, 20, 10), 0xFFFF0000u);   // inside the rectangle
  EXPECT_EQ(At(p, 9, 10), 0xFF102030u);    // a pixel left of its edge
  EXPECT_EQ(At(p, 20, 22), 0xFF00FF00u);   // the circle's centre
  EXPECT_EQ(At(p, 25, 22), 0xFF0000FFu);   // on its outline
  // Half-transparent white over the background: straight alpha kept opaque.
  uint32_t mixed = At(p, 1, 1);
  EXPECT_EQ(mixed >> 24, 0xFFu);
  EXPECT_NEAR(static_cast<int>((mixed >> 16) & 0xFF), (0x10 + 0xFF) / 2, 1);
  // An edge half covered is half mixed: one pixel of smoothing.
  ASSERT_TRUE(Draw(dir, "picture 10 10\nrect 0 0 4.5 10 fill=#ffffff\n", &p));
  EXPECT_EQ(At(p, 3, 5), 0xFFFFFFFFu);
  EXPECT_NEAR(static_cast<int>(At(p, 4, 5) >> 24), 128, 1);
  EXPECT_EQ(At(p, 5, 5), 0u);
}

TEST(DrawScript, GradientsShadeAndModes) {
  TestDir dir;
  gen::PictureResult p;
  ASSERT_TRUE(Draw(dir,
                   "picture 101 20\n"
                   "rect 0 0 101 10 fill=linear(0,0,101,0,#000000,#ffffff)\n"
                   "rect 0 10 101 10 fill=#808080\n"
                   "rect 0 10 50 10 fill=#ff000080 mode=multiply\n"
                   "rect 50 10 51 10 fill=#000000 mode=erase\n",
                   &p));
  EXPECT_EQ(At(p, 0, 5) & 0xFF, 1u);   // the centre of pixel 0 is 0.5/101 of the way
  EXPECT_NEAR(static_cast<int>(At(p, 50, 5) & 0xFF), 128, 1);
  EXPECT_NEAR(static_cast<int>(At(p, 100, 5) & 0xFF), 254, 1);
  uint32_t m = At(p, 10, 15);          // grey multiplied by red at half strength
  EXPECT_EQ(m >> 24, 0xFFu);
  EXPECT_NEAR(static_cast<int>((m >> 16) & 0xFF), 128, 1);
  EXPECT_NEAR(static_cast<int>(m & 0xFF), 64, 1);
  EXPECT_EQ(At(p, 80, 15), 0u);        // erased
}

TEST(DrawScript, HitMapsAreExactAndRefuseColour) {
  TestDir dir;
  std::string out;
  dir.Write("map.pic",
            "picture 800 600\nsmooth off\nfill #ffffff\n"
            "%for b 0 2\nrect %{100 + b * 50} 100 40 20.5 fill=%{rgb(b, b, b)} mode=replace\n%end\n"
            "ellipse 400 400 30 fill=#070707\n");
  ASSERT_EQ(Tool("draw '" + dir.File("map.pic") + "' '" + dir.File("MAP.BMP") + "'", &out), 0) << out;
  std::string bmp = dir.Read("MAP.BMP");
  std::vector<uint8_t> map(hitmap::kMapSize);
  ASSERT_TRUE(hitmap::Decode(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size(), map.data()));
  auto at = [&](int x, int y) { return map[static_cast<size_t>(y) * 800 + x]; };
  EXPECT_EQ(at(0, 0), 255);
  EXPECT_EQ(at(100, 100), 0);
  EXPECT_EQ(at(189, 119), 1);
  EXPECT_EQ(at(239, 120), 2);   // half a pixel counts as in when smoothing is off
  EXPECT_EQ(at(240, 120), 255);
  EXPECT_EQ(at(400, 400), 7);
  EXPECT_EQ(at(400, 429), 7);
  EXPECT_EQ(at(400, 431), 255);
  dir.Write("soft.pic", "picture 800 600\nfill #ffffff\nellipse 400 300 50 fill=#000000\n");
  EXPECT_EQ(Tool("draw '" + dir.File("soft.pic") + "' '" + dir.File("SOFT.BMP") + "'", &out), 1);
  EXPECT_NE(out.find("smooth off"), std::string::npos) << out;
  dir.Write("red.pic", "picture 800 600\nsmooth off\nfill #ff0000\n");
  EXPECT_EQ(Tool("draw '" + dir.File("red.pic") + "' '" + dir.File("RED.BMP") + "'", &out), 1);
  EXPECT_NE(out.find("pixel 0,0 is not grey"), std::string::npos) << out;
  dir.Write("small.pic", "picture 80 60\nsmooth off\nfill #000000\n");
  EXPECT_EQ(Tool("draw '" + dir.File("small.pic") + "' '" + dir.File("SMALL.BMP") + "'", &out), 1);
  EXPECT_NE(out.find("800x600"), std::string::npos) << out;
}

TEST(DrawScript, ElementsAndEveryEncodingGiveTheSamePicture) {
  TestDir dir;
  const char* body =
      "fill vgrad(#203040,#ffe0a0)\n"
      "figure 60 10 scale=0.5 hair=bob expr=smile\n"
      "element 0 0 10 10\n"
      "grid 10 0 20 10 3 2 gapx=2\n"
      "empty 2\n"
      "element 1 2 3 4 -5 6\n";
  std::vector<uint32_t> first;
  for (const char* encoding : {"raw", "sgd", "png"}) {
    dir.Write("p.pic", std::string("picture 120 100 encoding=") + encoding + "\n" + body);
    std::string out;
    ASSERT_EQ(Tool("draw '" + dir.File("p.pic") + "' '" + dir.File("P.MGD") + "'", &out), 0) << out;
    std::string file = dir.Read("P.MGD");
    CDIBSprite sprite;
    ASSERT_TRUE(sprite.ReadFromMemory(reinterpret_cast<const uint8_t*>(file.data()), file.size())) << encoding;
    std::vector<uint32_t> pixels(sprite.GetPixels(), sprite.GetPixels() + 120 * 100);
    if (first.empty()) first = pixels;
    EXPECT_EQ(pixels, first) << encoding;
    ASSERT_EQ(sprite.GetSprtCount(), 10);
    EXPECT_EQ(sprite.GetSprtWidth(), 6);
    const SprtElement* e = sprite.GetSprtInfo(3);  // grid row 0, third cell
    EXPECT_EQ(e->x, 54);
    EXPECT_EQ(e->w, 20);
    e = sprite.GetSprtInfo(4);                     // grid row 1, first cell
    EXPECT_EQ(e->x, 10);
    EXPECT_EQ(e->y, 10);
    EXPECT_EQ(sprite.GetSprtInfo(7)->w, 0);        // an empty element
    EXPECT_EQ(sprite.GetSprtInfo(9)->ox, -5);
    EXPECT_EQ(sprite.GetSprtInfo(9)->oy, 6);
  }
}

TEST(DrawScript, TheSameDescriptionGivesTheSameBytes) {
  TestDir dir;
  dir.Write("p.pic",
            "picture 300 200 encoding=sgd\n"
            "fill radial(150,100,200,#ffffff,#000000)\n"
            "noise 0 0 300 200 amount=0.2 seed=9\n"
            "%for i 0 20\nellipse %{hash(i, 1) % 300} %{hash(i, 2) % 200} 5 fill=#ff8000c0 feather=3\n%end\n"
            "figure 150 20 scale=0.6 hair=twintail expr=wink ribbon=#ff0000\n"
            "blur 0 0 100 100 radius=3\n"
            "grade 100 0 100 200 gray=1 tint=#f0d0a0\n");
  std::string out;
  ASSERT_EQ(Tool("draw '" + dir.File("p.pic") + "' '" + dir.File("A.MGD") + "'", &out), 0) << out;
  ASSERT_EQ(Tool("draw '" + dir.File("p.pic") + "' '" + dir.File("B.MGD") + "'", &out), 0) << out;
  EXPECT_EQ(dir.Read("A.MGD"), dir.Read("B.MGD"));
}

TEST(DrawScript, ImagesAreDrawnInScaledAndFromElements) {
  TestDir dir;
  std::string out;
  dir.Write("src.pic", "picture 20 10 encoding=raw\nrect 0 0 10 10 fill=#ff0000\nrect 10 0 10 10 fill=#0000ff\n"
                       "element 0 0 10 10\nelement 10 0 10 10\n");
  ASSERT_EQ(Tool("draw '" + dir.File("src.pic") + "' '" + dir.File("SRC.MGD") + "'", &out), 0) << out;
  gen::PictureResult p;
  ASSERT_TRUE(Draw(dir, "picture 60 20\nimage SRC.MGD 0 0 40 20\nimage SRC.MGD 40 0 element=1\n", &p));
  EXPECT_EQ(At(p, 5, 10), 0xFFFF0000u);
  EXPECT_EQ(At(p, 35, 10), 0xFF0000FFu);
  EXPECT_EQ(At(p, 45, 5), 0xFF0000FFu);
  EXPECT_EQ(At(p, 55, 15), 0u);
  std::string error;
  EXPECT_FALSE(Draw(dir, "picture 10 10\nimage SRC.MGD 0 0 element=5\n", &p, &error));
  EXPECT_NE(error.find("no element 5"), std::string::npos) << error;
}

TEST(DrawScript, MistakesAreNamedWithTheirLine) {
  TestDir dir;
  gen::PictureResult p;
  auto error = [&](const std::string& text) {
    std::string e;
    EXPECT_FALSE(Draw(dir, text, &p, &e)) << text;
    return e;
  };
  EXPECT_NE(error("rect 0 0 1 1\n").find("must begin with 'picture W H'"), std::string::npos);
  EXPECT_NE(error("picture 0 10\n").find("1 to 8192"), std::string::npos);
  EXPECT_NE(error("picture 10 10\nsquiggle 1\n").find(":2: unknown command 'squiggle'"), std::string::npos);
  EXPECT_NE(error("picture 10 10\nrect 0 0 5\n").find(":2: rect: value 4 is missing"), std::string::npos);
  EXPECT_NE(error("picture 10 10\nrect 0 0 5 5 fill=#12345\n").find("not a paint"), std::string::npos);
  EXPECT_NE(error("picture 10 10\nrect 0 0 5 5 glow=1\n").find("does not know 'glow='"), std::string::npos);
  EXPECT_NE(error("picture 10 10\nrect 0 0 5 5 fill=linear(0,0,1,1,#fff)\n").find("two colours"), std::string::npos);
  EXPECT_NE(error("picture 10 10\ntext 0 0 \"open\n").find("closing quote"), std::string::npos);
  EXPECT_NE(error("picture 10 10\nimage NOPE.MGD 0 0\n").find("'NOPE.MGD' not found"), std::string::npos);
  EXPECT_NE(error("picture 10 10\nfigure 5 5 expr=grin\n").find("expr="), std::string::npos);
  EXPECT_NE(error("picture 10 10\nelement 1 2 3\n").find("value 4 is missing"), std::string::npos);
}

TEST(DrawScript, FramesOfAMovieCountUp) {
  TestDir dir;
  dir.Write("f.pic", "picture 8 8 encoding=png\nfill %{rgb(frame * 100, 0, 0)}\n");
  std::string out;
  ASSERT_EQ(Tool("draw --frames 3 '" + dir.File("f.pic") + "' '" + dir.File("F%03d.png") + "'", &out), 0) << out;
  EXPECT_TRUE(dir.Exists("F000.png"));
  EXPECT_TRUE(dir.Exists("F002.png"));
  EXPECT_FALSE(dir.Exists("F003.png"));
  EXPECT_NE(dir.Read("F000.png"), dir.Read("F002.png"));
  // A pattern with anything but one number field is refused, not formatted.
  EXPECT_EQ(Tool("draw --frames 2 '" + dir.File("f.pic") + "' '" + dir.File("F%s.png") + "'", &out), 1);
  EXPECT_EQ(Tool("draw --frames 2 '" + dir.File("f.pic") + "' '" + dir.File("F%d%d.png") + "'", &out), 1);
}

}  // namespace

#include "platform/Cursor.h"

namespace {

TEST(DrawScript, CursorsKeepTheirAlphaAndHotSpot) {
  TestDir dir;
  dir.Write("c.pic", "picture 16 24\nrect 2 2 6 6 fill=#ff0000\nrect 10 10 4 4 fill=#00ff0080\nhotspot 3 5\n");
  std::string out;
  ASSERT_EQ(Tool("draw '" + dir.File("c.pic") + "' '" + dir.File("C.CUR") + "'", &out), 0) << out;
  std::string file = dir.Read("C.CUR");
  plat::Cursor* cursor = plat::LoadCursorFromMemory(reinterpret_cast<const uint8_t*>(file.data()), file.size());
  ASSERT_NE(cursor, nullptr);
  plat::CursorImage image;
  ASSERT_TRUE(plat::GetCursorImage(cursor, image));
  EXPECT_EQ(image.width, 16);
  EXPECT_EQ(image.height, 24);
  EXPECT_EQ(image.hotX, 3);
  EXPECT_EQ(image.hotY, 5);
  EXPECT_EQ(image.pixels[4 * 16 + 4], 0xFFFF0000u);
  EXPECT_EQ(image.pixels[11 * 16 + 11] >> 24, 0x80u);
  EXPECT_EQ(image.pixels[20 * 16 + 1], 0u);
  plat::FreeCursor(cursor);
  dir.Write("big.pic", "picture 300 10\n");
  EXPECT_EQ(Tool("draw '" + dir.File("big.pic") + "' '" + dir.File("B.CUR") + "'", &out), 1);
  dir.Write("off.pic", "picture 10 10\nhotspot 10 0\n");
  EXPECT_EQ(Tool("draw '" + dir.File("off.pic") + "' '" + dir.File("O.CUR") + "'", &out), 1);
  EXPECT_NE(out.find("hot spot"), std::string::npos) << out;
}

}  // namespace

namespace {

// The columns and rows of a picture that hold a colour (any alpha).
struct Ink {
  int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};

Ink InkOf(const gen::PictureResult& p, uint32_t rgb) {
  Ink ink;
  std::vector<uint32_t> px = p.canvas.ToArgb();
  for (int y = 0; y < p.canvas.Height(); ++y)
    for (int x = 0; x < p.canvas.Width(); ++x) {
      uint32_t v = px[static_cast<size_t>(y) * p.canvas.Width() + x];
      if ((v >> 24) && (v & 0xFFFFFF) == rgb) {
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
      }
    }
  return ink;
}

TEST(DrawScript, CaptionsAreTheEngineTextPlacedAndShadowed) {
  TestDir dir;
  gen::PictureResult p;
  ASSERT_TRUE(Draw(dir, "picture 200 60\ntext 10 10 \"Ab\" size=24 color=#ff0000\n", &p));
  Ink left = InkOf(p, 0xFF0000);
  ASSERT_GE(left.right, left.left) << "no ink: is a font installed?";
  EXPECT_GE(left.left, 10);
  EXPECT_LT(left.left, 16);
  EXPECT_GE(left.top, 10);
  EXPECT_LE(left.bottom, 10 + 30);
  // Centred on x: the ink is as far left of it as right.
  ASSERT_TRUE(Draw(dir, "picture 200 60\ntext 100 10 \"Ab\" size=24 color=#ff0000 align=center\n", &p));
  Ink centred = InkOf(p, 0xFF0000);
  EXPECT_LE(std::abs((centred.left + centred.right) / 2 - 100), 1);
  EXPECT_EQ(centred.right - centred.left, left.right - left.left);
  ASSERT_TRUE(Draw(dir, "picture 200 60\ntext 190 10 \"Ab\" size=24 color=#ff0000 align=right\n", &p));
  EXPECT_EQ(InkOf(p, 0xFF0000).right, 189);
  // The shadow lies under the text, moved by its offset.
  ASSERT_TRUE(Draw(dir, "picture 200 60\ntext 10 10 \"Ab\" size=24 color=#ff0000 shadow=#0000ff shadowx=3 shadowy=4\n", &p));
  Ink shadow = InkOf(p, 0x0000FF);
  EXPECT_EQ(shadow.bottom, left.bottom + 4);
  EXPECT_EQ(shadow.right, left.right + 3);
  std::string error;
  EXPECT_FALSE(Draw(dir, "picture 20 20\ntext 0 0 \"x\" size=0\n", &p, &error));
  EXPECT_NE(error.find("size=1..512"), std::string::npos) << error;
}

}  // namespace
