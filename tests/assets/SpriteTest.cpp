#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "PictureTestUtil.h"
#include "TestDir.h"
#include "TraceLog.h"
#include "assets/DIBSprite.h"
#include "assets/FileJoin.h"

namespace {

std::string WithField(std::string file, size_t at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<char>(value >> (8 * i));
  return file;
}

// The trace message of a failed read of `file`, "" when it reads.
std::string FailureOf(const std::string& file) {
  TraceLog log;
  CDIBSprite sprite;
  if (sprite.ReadFromMemory(Bytes(file), file.size())) return "";
  std::string text = log.Take();
  for (const char* m : {"フォーマットエラー", "イメージ作成失敗", "デコード失敗", "スプライト要素数エラー", "メモリ確保失敗"})
    if (text.find(m) != std::string::npos) return m;
  return "<no message>";
}

TEST(Sprite, CreateMakesOneElementCoveringThePicture) {
  CDIBSprite s;
  ASSERT_TRUE(s.Create(30, 20));
  ASSERT_EQ(s.GetSprtCount(), 1);
  const SprtElement* e = s.GetSprtInfo(0);
  EXPECT_EQ(e->x, 0);
  EXPECT_EQ(e->w, 30);
  EXPECT_EQ(e->h, 20);
  EXPECT_EQ(s.GetSprtInfo(1), nullptr);
  EXPECT_EQ(s.GetSprtInfo(-1), nullptr);
  EXPECT_FALSE(s.InitSprtInfo(2, 3));
  EXPECT_EQ(s.GetSprtCount(), 0);
  ASSERT_TRUE(s.InitSprtInfo(3, 4));
  EXPECT_EQ(s.GetSprtCount(), 3);
  EXPECT_EQ(s.GetSprtWidth(), 4);
  // Every element is whole, whatever the width.
  EXPECT_EQ(s.GetSprtInfo(2)->oy, 0);
}

TEST(Sprite, EncodingsRoundTripWithTheirElements) {
  const int w = 37, h = 11;
  std::vector<uint32_t> px = MixedPixels(w, h);
  std::vector<SprtElement> elements = {{0, 0, 37, 11, 0, 0}, {5, 6, 7, 8, -9, 10}, {-1, -2, 3, 4, 32767, -32768}};
  for (uint16_t enc : {kPictureRaw, kPictureSGD, kPicturePNG}) {
    for (int values : {4, 6}) {
      std::string file = PictureFile(px, w, h, enc, elements, values);
      CDIBSprite s;
      ASSERT_TRUE(s.ReadFromMemory(Bytes(file), file.size())) << enc;
      EXPECT_EQ(s.GetEncoding(), enc);
      ASSERT_EQ(s.GetWidth(), w);
      ASSERT_EQ(s.GetHeight(), h);
      EXPECT_EQ(std::vector<uint32_t>(s.GetPixels(), s.GetPixels() + w * h), px) << enc;
      ASSERT_EQ(s.GetSprtCount(), 3);
      EXPECT_EQ(s.GetSprtWidth(), values);
      for (int i = 0; i < 3; ++i) {
        const SprtElement* e = s.GetSprtInfo(i);
        EXPECT_EQ(e->x, elements[i].x);
        EXPECT_EQ(e->y, elements[i].y);
        EXPECT_EQ(e->w, elements[i].w);
        EXPECT_EQ(e->h, elements[i].h);
        EXPECT_EQ(e->ox, values == 6 ? elements[i].ox : 0);
        EXPECT_EQ(e->oy, values == 6 ? elements[i].oy : 0);
      }
    }
  }
}

TEST(Sprite, RawElementBlockFollowsTheStatedDataSize) {
  std::vector<uint32_t> px(4, 0x11223344);
  std::string file = PictureFile(px, 2, 2, kPictureRaw, {{1, 2, 3, 4, 0, 0}});
  // Four extra bytes of data stated: the block moves with the size.
  std::string longer = WithField(file.substr(0, 96 + 16) + "XXXX" + file.substr(96 + 16), 92, 20, 4);
  CDIBSprite s;
  ASSERT_TRUE(s.ReadFromMemory(Bytes(longer), longer.size()));
  EXPECT_EQ(s.GetSprtInfo(0)->h, 4);
  EXPECT_EQ(s.GetPixels()[3], 0x11223344u);
}

TEST(Sprite, FormatFieldTwoToFiveIsRefused) {
  std::string file = PictureFile(std::vector<uint32_t>(1, 0), 1, 1, kPictureRaw);
  for (uint32_t format : {0u, 1u, 6u, 0xFFFFu}) EXPECT_EQ(FailureOf(WithField(file, 6, format, 2)), "") << format;
  for (uint32_t format : {2u, 3u, 4u, 5u})
    EXPECT_EQ(FailureOf(WithField(file, 6, format, 2)), "フォーマットエラー") << format;
  EXPECT_EQ(FailureOf(file.substr(0, 95)), "フォーマットエラー");
}

TEST(Sprite, DamagedDataAndElementBlocksFail) {
  std::vector<uint32_t> px = MixedPixels(8, 8);
  for (uint16_t enc : {kPictureRaw, kPictureSGD, kPicturePNG}) {
    std::string file = PictureFile(px, 8, 8, enc, {{1, 1, 1, 1, 0, 0}, {2, 2, 2, 2, 0, 0}});
    uint32_t dataSize = static_cast<uint32_t>(file.size()) - 96 - 12 - 16;
    EXPECT_EQ(FailureOf(WithField(file, 92, dataSize + 29, 4)), "デコード失敗") << enc;
    EXPECT_EQ(FailureOf(WithField(file, 92, 0xFFFFFFFF, 4)), "デコード失敗") << enc;
    EXPECT_EQ(FailureOf(file.substr(0, 96 + dataSize - 1)), "デコード失敗") << enc;
    // Element block cut short, a count the file cannot hold, a bad width.
    EXPECT_EQ(FailureOf(file.substr(0, file.size() - 1)), "スプライト要素数エラー") << enc;
    EXPECT_EQ(FailureOf(file.substr(0, 96 + dataSize + 11)), "スプライト要素数エラー") << enc;
    EXPECT_EQ(FailureOf(WithField(file, 96 + dataSize + 8, 3, 2)), "スプライト要素数エラー") << enc;
    EXPECT_EQ(FailureOf(WithField(file, 96 + dataSize + 10, 5, 2)), "スプライト要素数エラー") << enc;
    EXPECT_EQ(FailureOf(WithField(file, 96 + dataSize + 8, 0, 2)), "") << enc;
  }
  std::string file = PictureFile(px, 8, 8, kPictureRaw);
  EXPECT_EQ(FailureOf(WithField(file, 24, 3, 2)), "デコード失敗");
  // A raw picture larger than its data.
  EXPECT_EQ(FailureOf(WithField(file, 12, 9, 2)), "デコード失敗");
  // A picture too large for any image.
  EXPECT_EQ(FailureOf(WithField(WithField(file, 12, 0xFFFF, 2), 14, 0xFFFF, 2)), "イメージ作成失敗");
}

TEST(Sprite, ReadsThroughTheFileSource) {
  TestDir dir;
  std::vector<uint32_t> px = MixedPixels(5, 3);
  dir.Write("mgd/bg01.mgd", PictureFile(px, 5, 3, kPictureSGD));
  CFileJoin source;
  ASSERT_TRUE(source.Initialize(dir.path().c_str(), "MGD", ".MGD"));
  CDIBSprite s;
  ASSERT_TRUE(s.Read(&source, "BG01"));
  EXPECT_STREQ(s.GetName(), "BG01");
  EXPECT_EQ(s.GetPixels()[14], px[14]);
  // The source is closed again.
  EXPECT_EQ(source.GetSize(), 0u);
  TraceLog log;
  EXPECT_FALSE(s.Read(&source, "BG02"));
  EXPECT_NE(log.Take().find("オープンエラー"), std::string::npos);
}

TEST(Sprite, VerticesUseTheElementRectangle) {
  CDIBSprite s;
  ASSERT_TRUE(s.Create(64, 64));
  ASSERT_TRUE(s.InitSprtInfo(2, 4));
  *s.GetSprtInfoMutable(1) = SprtElement{10, 20, 16, 8, 0, 0};
  SprtVertex v;
  s.SetVertex(v, 1, 100, 200, 0x80FFFFFF);
  EXPECT_EQ(v.dst[0].x, 100);
  EXPECT_EQ(v.dst[2].x, 115);
  EXPECT_EQ(v.dst[2].y, 207);
  EXPECT_EQ(v.src[0].u, 10);
  EXPECT_EQ(v.src[2].u, 25);
  EXPECT_EQ(v.src[2].v, 27);
  EXPECT_EQ(v.color, 0x80FFFFFFu);
  s.SetStretchVertex(v, 1, 0, 0, 32, 32, 0xFFFFFFFF);
  EXPECT_EQ(v.dst[1].x, 31);
  EXPECT_EQ(v.dst[3].y, 31);
  EXPECT_EQ(v.src[0].u, 10);
  EXPECT_EQ(v.src[0].v, 20);
  EXPECT_EQ(v.src[1].u, 25);
  EXPECT_EQ(v.src[3].v, 27);
  EXPECT_EQ(v.dst[0].z, 0);
  // An element the picture does not have gives a quad that draws nothing and
  // names no pixel outside the picture.
  s.SetVertex(v, 7, 5, 5, 0xFFFFFFFF);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(v.src[i].u, 0);
    EXPECT_EQ(v.src[i].v, 0);
    EXPECT_LT(v.dst[i].x, 0);
    EXPECT_LT(v.dst[i].y, 0);
  }
}

TEST(Sprite, ElementsFromADamagedFileAreCutToThePicture) {
  CDIBSprite s;
  ASSERT_TRUE(s.Create(64, 32));
  ASSERT_TRUE(s.InitSprtInfo(3, 4));
  *s.GetSprtInfoMutable(0) = SprtElement{50, -4, 30, 40, 0, 0};    // sticks out right, top and bottom
  *s.GetSprtInfoMutable(1) = SprtElement{200, 0, 10, 10, 0, 0};    // wholly outside
  *s.GetSprtInfoMutable(2) = SprtElement{-32768, -32768, 32767, 32767, 0, 0};
  SprtVertex v;
  s.SetVertex(v, 0, 0, 0, 0xFFFFFFFF);
  EXPECT_EQ(v.src[0].u, 50);
  EXPECT_EQ(v.src[0].v, 0);
  EXPECT_EQ(v.src[2].u, 63);
  EXPECT_EQ(v.src[2].v, 31);
  // Drawing them samples only the picture (debug and sanitizer builds check
  // this), and the elements left empty draw nothing at all.
  s.FillFull(0xFF112233u);
  CDIBImage target;
  ASSERT_TRUE(target.Create(100, 100));
  target.FillFull(0);
  for (int element = 1; element < 3; ++element) {
    s.SetVertex(v, element, 10, 10, 0xFFFFFFFF);
    s.BltBlend(&target, v);
    s.StretchBltFast(&target, v, false);
    s.SetStretchVertex(v, element, 0, 0, 90, 90, 0xFFFFFFFF);
    s.StretchBltBlend(&target, v, true);
    s.StretchBltCopy(&target, v, false);
  }
  for (int i = 0; i < 100 * 100; ++i) ASSERT_EQ(target.GetPixels()[i], 0u) << i;
  s.SetVertex(v, 0, 10, 10, 0xFFFFFFFF);
  s.BltBlend(&target, v);
  s.SetStretchVertex(v, 0, 0, 0, 90, 90, 0xFFFFFFFF);
  s.StretchBltBlend(&target, v, true);
  EXPECT_NE(target.GetPixels()[20 * 100 + 20], 0u);
  EXPECT_EQ(s.GetSprtInfo(0)->w, 30) << "the stored element stays as read";
}

// Cutting an element to its picture must not move what remains of it: the
// kept pixels land where the whole element would have put them, plain and
// stretched.
TEST(Sprite, ACutElementKeepsItsVisiblePixelsInPlace) {
  CDIBSprite s;
  ASSERT_TRUE(s.Create(16, 16));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) s.GetPixels()[y * 16 + x] = 0xFF000000u | static_cast<uint32_t>(y << 8 | x);
  ASSERT_TRUE(s.InitSprtInfo(2, 4));
  *s.GetSprtInfoMutable(0) = SprtElement{-3, -2, 10, 10, 0, 0};
  *s.GetSprtInfoMutable(1) = SprtElement{-4, 0, 8, 8, 0, 0};  // half of it left of the picture
  CDIBImage target;
  ASSERT_TRUE(target.Create(300, 300));
  auto at = [&](int x, int y) { return target.GetPixels()[y * 300 + x]; };

  SprtVertex v;
  target.FillFull(0);
  s.SetVertex(v, 0, 100, 100, 0xFFFFFFFF);
  s.StretchBltCopy(&target, v, false);
  EXPECT_EQ(at(103, 102), 0xFF000000u) << "picture pixel (0, 0) sits 3 right and 2 down";
  EXPECT_EQ(at(109, 109), 0xFF000706u);
  EXPECT_EQ(at(102, 102), 0u);
  EXPECT_EQ(at(103, 101), 0u);
  EXPECT_EQ(at(110, 110), 0u);

  // Stretched twice as large: the cut half stays the left half's place.
  target.FillFull(0);
  s.SetStretchVertex(v, 1, 100, 100, 16, 16, 0xFFFFFFFF);
  s.StretchBltCopy(&target, v, false);
  EXPECT_EQ(at(107, 100), 0u);
  EXPECT_EQ(at(108, 100), 0xFF000000u) << "picture column 0 starts half-way";
  EXPECT_EQ(at(115, 100), 0xFF000003u);
  EXPECT_EQ(at(115, 115), 0xFF000703u);
  EXPECT_EQ(at(116, 100), 0u);
}

// A picture file of a hundred bytes that declares an enormous picture.
std::string DeclaredPicture(int width, int height, uint16_t encoding, const std::string& data) {
  std::string file(kPictureHeaderSize, '\0');
  auto put16 = [&](size_t at, uint32_t v) {
    file[at] = static_cast<char>(v);
    file[at + 1] = static_cast<char>(v >> 8);
  };
  memcpy(file.data(), "MGD ", 4);
  put16(6, 1);
  put16(12, static_cast<uint32_t>(width));
  put16(14, static_cast<uint32_t>(height));
  put16(24, encoding);
  put16(92, static_cast<uint32_t>(data.size()));
  file += data;
  file += std::string(8, '\0') + std::string("\1\0\4\0", 4) + std::string(8, '\0');  // one element
  return file;
}

size_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  size_t total = 0, resident = 0;
  statm >> total >> resident;
  return resident * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

// The engine's pictures are at most 8192 pixels a side (64 Mi pixels): a
// file declaring more is refused before anything is allocated, in every
// encoding; and a picture of the largest size costs no more than its
// decoded pixels, not a second pass over all of it.
TEST(Sprite, DeclaredSizesBeyondTheLimitAreRefusedAndTheLargestStaysCheap) {
  const std::string emptySgd(8, '\0');  // two empty sections
  for (uint16_t encoding : {kPictureRaw, kPictureSGD, kPicturePNG})
    for (auto [w, h] : {std::pair{8193, 1}, {1, 8193}, {65535, 65535}, {23170, 23170}}) {
      CDIBSprite s;
      const std::string file = DeclaredPicture(w, h, encoding, emptySgd);
      EXPECT_FALSE(s.ReadFromMemory(Bytes(file), file.size())) << encoding << " " << w << "x" << h;
      EXPECT_EQ(s.GetPixels(), nullptr);
    }
  EXPECT_FALSE(IsPictureSizeUsable(8193, 8192));
  EXPECT_TRUE(IsPictureSizeUsable(8192, 8192));

  std::string largest = DeclaredPicture(8192, 8192, kPictureSGD, emptySgd);
  const size_t before = ResidentBytes();
  CDIBSprite s;
  ASSERT_TRUE(s.ReadFromMemory(Bytes(largest), largest.size()));
  EXPECT_EQ(s.GetWidth(), 8192);
  EXPECT_LT(ResidentBytes(), before + (64u << 20)) << "an empty 256 MB picture was walked whole";
  std::vector<uint8_t> out;
  EXPECT_FALSE(BuildPictureFile(nullptr, 8193, 1, kPictureRaw, {{0, 0, 1, 1, 0, 0}}, 4, &out, nullptr));
}

}  // namespace
