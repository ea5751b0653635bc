// The message window's layout table "MESWND" (section 3), with its defaults
// and the limits that keep a damaged table from breaking the window.
#include <algorithm>
#include <cstring>

#include "app/core/Trace.h"
#include "scenario/SnrBuffer.h"
#include "text/MesWnd.h"

namespace {

constexpr int32_t kSection = 3;
constexpr int32_t kMaxTime = 600000;  // ten minutes

MesWndSetup Defaults() {
  MesWndSetup s{};
  strcpy(s.szParts, "GAME_P.MGD");
  strcpy(s.szHitMap, "GAME_C.BMP");
  strcpy(s.szNameParts, "NAME_P.MGD");
  // Without a table, each button takes the next frames of the parts picture
  // after the window (frame 0): five for a button, ten for a check box; they
  // stand in a row along the right of the window.
  int frame = 1;
  for (int i = 0; i < MESBTN_COUNT; ++i) {
    const int n = (i == MESBTN_SKIP || i == MESBTN_AUTO) ? 10 : 5;
    for (int k = 0; k < n; ++k) s.nFrame[i][k] = frame++;
    s.nHitNo[i] = i;
    s.nPos[i][0] = 664 + (i % 2) * 64;
    s.nPos[i][1] = 474 + (i / 2) * 20;
    s.nJump[i][0] = 0;
    for (int d = 1; d < 6; ++d) s.nJump[i][d] = -1;
  }
  s.nOpenCloseSpan = 500;
  s.nPageScrollTime = 1000;
  s.nAutoPerChar = 100;
  s.nAutoMin = 2000;
  s.nAutoMax = 8000;
  for (int32_t& t : s.nScreenTrans) t = 300;
  s.nTitleTrans[0] = 1000;
  s.nTitleTrans[1] = 1000;
  s.nTitleTrans[2] = 300;
  s.nExitTrans[0] = 1000;
  s.nExitTrans[1] = 300;
  s.nTextArea[0] = 8;
  s.nTextArea[1] = 8;
  s.nTextArea[2] = 645;
  s.nTextArea[3] = 116;
  s.nLineSpace = 4;
  s.nCharSpace = 1;
  s.nFontSize = 24;
  s.nWndPos[0] = 15;
  s.nWndPos[1] = 469;
  s.nSlide = 200;
  s.nNamePos[0] = 15;
  s.nNamePos[1] = 427;
  s.nIcon[0] = 67;
  s.nIcon[1] = 663;
  s.nIcon[2] = 563;
  return s;
}

MesWndSetup& Shared() {
  static MesWndSetup setup = Defaults();
  return setup;
}

bool& Loaded() {
  static bool loaded = false;
  return loaded;
}

// Values a table may hold but the window cannot use are brought into range:
// times are not negative, the text area lies inside the 800 × 600 window
// picture and is at least one pixel, sizes and spacings stay sane.
void Limit(MesWndSetup& s) {
  auto clamp = [](int32_t& v, int32_t lo, int32_t hi) { v = std::clamp(v, lo, hi); };
  clamp(s.nOpenCloseSpan, 0, kMaxTime);
  clamp(s.nPageScrollTime, 0, kMaxTime);
  clamp(s.nAutoPerChar, 0, kMaxTime);
  clamp(s.nAutoMin, 0, kMaxTime);
  clamp(s.nAutoMax, s.nAutoMin, kMaxTime);
  for (int32_t& t : s.nScreenTrans) clamp(t, 0, kMaxTime);
  for (int32_t& t : s.nTitleTrans) clamp(t, 0, kMaxTime);
  for (int32_t& t : s.nExitTrans) clamp(t, 0, kMaxTime);
  clamp(s.nTextArea[0], 0, 799);
  clamp(s.nTextArea[1], 0, 599);
  clamp(s.nTextArea[2], s.nTextArea[0], 799);
  clamp(s.nTextArea[3], s.nTextArea[1], 599);
  clamp(s.nFontSize, 1, 200);
  clamp(s.nLineSpace, 0, 200);
  clamp(s.nCharSpace, 0, 200);
  clamp(s.nSlide, -600, 600);
  for (auto* p : {s.nWndPos, s.nNamePos, s.nIcon + 1}) {
    clamp(p[0], -1600, 1600);
    clamp(p[1], -1600, 1600);
  }
  for (auto& p : s.nPos) {
    clamp(p[0], -1600, 1600);
    clamp(p[1], -1600, 1600);
  }
  s.szParts[sizeof s.szParts - 1] = 0;
  s.szHitMap[sizeof s.szHitMap - 1] = 0;
  s.szNameParts[sizeof s.szNameParts - 1] = 0;
}

}  // namespace

const MesWndSetup& CDIBMesWnd::Setup() {
  Trace("CDIBMesWnd::Setup");
  return Shared();
}

bool CDIBMesWnd::SetupStatic() {
  Trace("CDIBMesWnd::SetupStatic");
  MesWndSetup s = Defaults();
  Loaded() = true;
  CSnrBuffer table;
  if (table.Read("MESWND")) {
    auto get = [&](int32_t b, const char* signature, auto&&... dest) {
      table.SeekBegin(0);
      table.GetSetupParam(kSection, b, signature, dest...);
    };
    get(0, "S", s.szParts);
    get(1, "S", s.szHitMap);
    get(2, "S", s.szNameParts);
    for (int i = 0; i < MESBTN_COUNT; ++i) {
      get(10 + i, "N", &s.nHitNo[i]);
      get(30 + i, "NN", &s.nPos[i][0], &s.nPos[i][1]);
      int32_t* f = s.nFrame[i];
      if (i == MESBTN_SKIP || i == MESBTN_AUTO)
        get(50 + i, "NNNNNNNNNN", &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &f[6], &f[7], &f[8], &f[9]);
      else
        get(50 + i, "NNNNN", &f[0], &f[1], &f[2], &f[3], &f[4]);
      int32_t* j = s.nJump[i];
      get(70 + i, "NNNNNN", &j[0], &j[1], &j[2], &j[3], &j[4], &j[5]);
    }
    get(90, "N", &s.nOpenCloseSpan);
    get(91, "N", &s.nPageScrollTime);
    get(92, "NNN", &s.nAutoPerChar, &s.nAutoMin, &s.nAutoMax);
    for (int i = 0; i < 4; ++i) get(93 + i, "N", &s.nScreenTrans[i]);
    get(97, "NNN", &s.nTitleTrans[0], &s.nTitleTrans[1], &s.nTitleTrans[2]);
    get(98, "NN", &s.nExitTrans[0], &s.nExitTrans[1]);
    get(110, "NNNN", &s.nTextArea[0], &s.nTextArea[1], &s.nTextArea[2], &s.nTextArea[3]);
    get(111, "N", &s.nLineSpace);
    get(112, "N", &s.nCharSpace);
    get(113, "N", &s.nFontSize);
    get(114, "NN", &s.nWndPos[0], &s.nWndPos[1]);
    get(115, "N", &s.nSlide);
    get(116, "NN", &s.nNamePos[0], &s.nNamePos[1]);
    get(117, "NNN", &s.nIcon[0], &s.nIcon[1], &s.nIcon[2]);
  }
  Limit(s);
  Shared() = s;
  return true;
}

bool CDIBMesWnd::IsSetupLoaded() {
  Trace("CDIBMesWnd::IsSetupLoaded");
  return Loaded();
}
