// Text speed: laying out a full page and drawing it, 78 two-byte characters
// at size 24 with a shadow, as the message window does. Every result is
// also printed as a ratio to a memcpy of one 800 × 600 × 4 picture measured
// in the same run, so numbers from different machines compare.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "RatioReport.h"
#include "assets/DIBImage.h"
#include "platform/Encoding.h"
#include "platform/Font.h"
#include "text/MesCellPainter.h"
#include "text/MesTextBuffer.h"
#include "text/profile/TextProfile.h"

namespace {

constexpr int kW = 800, kH = 600;
constexpr int kLeft = 8, kTop = 8, kRight = 645, kBottom = 116;  // the window's text area
constexpr int kChars = 78;

// 78 two-byte characters of the build's script, with some punctuation.
std::string PageText() {
  const bool chinese = profile::BuildProfile().encoding == profile::Encoding::kGbk;
  const char* sample = chinese ? "这是一个用来测量文字绘制速度的句子，包含标点符号。" : "これは文字の描画速度を測るための文章で、句読点も含みます。";
  std::string local = plat::FromUtf8(sample), page;
  while (page.size() < 2 * kChars) page += local;
  page.resize(2 * kChars);
  return page;
}

void SetArea(CMesTextBuffer& b) {
  b.mnLeft = kLeft;
  b.mnTop = kTop;
  b.mnRight = kRight;
  b.mnBottom = kBottom;
  b.mnFontSize = 24;
  b.mnLineSpace = 4;
  b.mnCharSpace = 1;
  b.mdwColor = 0xFFFFFFFFu;
  b.mdwShadowColor = 0xFF010101u;
  b.mbShadow = true;
  b.mbKinsoku = true;
  b.mbDownStr = true;
  b.ResetPen();
}

// The characters of the page as the layout places them (four lines).
std::vector<MesChar> LaidOutPage() {
  CMesTextBuffer b;
  SetArea(b);
  b.mbDownStr = false;
  b.mnBottom = kBottom + 28;
  std::vector<MesChar> out(1024), chars;
  std::string text = PageText();
  int n = b.Convert(text.c_str(), out.data(), 1024);
  for (int i = 0; i < n; ++i)
    if (out[i].nKind == MESCHAR_WORD) chars.push_back(out[i]);
  return chars;
}

void BM_Memcpy(benchmark::State& state) {
  std::vector<uint32_t> a(kW * kH, 1), b(kW * kH);
  for (auto _ : state) {
    memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::ClobberMemory();
  }
}

void BM_LayoutPage(benchmark::State& state) {
  CMesTextBuffer b;
  std::vector<MesSrc> src(3);
  memset(src.data(), 0, src.size() * sizeof(MesSrc));
  src[0].nFunc = MESFUNC_CLEAR;
  src[1].bText = 1;
  snprintf(src[1].szText, sizeof src[1].szText, "%s", PageText().c_str());
  src[2].nFunc = MESFUNC_CLICK;
  std::vector<MesChar> out(1024);
  for (auto _ : state) {
    SetArea(b);
    b.Convert(src.data(), 3, out.data(), 1024);
    benchmark::DoNotOptimize(out.data());
  }
}

// The window's way: each character drawn over the window's background in
// its cell and merged into the text image.
void DrawPage(benchmark::State& state, bool cold) {
  const std::vector<MesChar> page = LaidOutPage();
  std::vector<uint32_t> back(kW * 130, 0xC0203040u);
  CDIBImage text;
  text.Create(kRight - kLeft + 1, kBottom - kTop + 29);
  CMesCellPainter painter;
  const char* face = profile::BuildProfile().szDefaultFace;
  int cell[3];
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      plat::FlushFontCache();
      state.ResumeTiming();
    }
    text.FillFull(0);
    for (const MesChar& c : page) painter.Paint(&text, back.data(), kW, kW, 130, kLeft, kTop, c, face, cell);
    benchmark::DoNotOptimize(text.GetPixels());
  }
  state.SetLabel(std::to_string(page.size()) + " characters");
}
void BM_DrawPage(benchmark::State& state) { DrawPage(state, false); }
void BM_DrawPageFirstTime(benchmark::State& state) { DrawPage(state, true); }

// DrawStringS alone, character by character at the laid-out places.
void BM_DrawStringS(benchmark::State& state) {
  const std::vector<MesChar> page = LaidOutPage();
  CDIBImage text;
  text.Create(kRight - kLeft + 1, kBottom - kTop + 29);
  text.BeginDrawString(profile::BuildProfile().szDefaultFace, 24, 400, false, false, false, 0);
  for (auto _ : state) {
    for (const MesChar& c : page)
      text.DrawStringS(c.x - kLeft, c.y - kTop, 2, 2, c.dwColor, c.dwShadowColor, c.szChar);
    benchmark::DoNotOptimize(text.GetPixels());
  }
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LayoutPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawStringS)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawPageFirstTime)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return benchreport::RunWithRatios(argc, argv, "operation", "us", 1.0);
}
