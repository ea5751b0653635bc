// The save/load screen's layout table "SAVELOAD" (section 4): its records,
// their built-in defaults and the limits that keep a damaged table from
// breaking the screen.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/core/Trace.h"
#include "scenario/SnrBuffer.h"
#include "screens/DIBSaveLoadScreen.h"
#include "screens/SetupSchema.h"
#include "text/profile/TextProfile.h"

namespace {

constexpr int32_t kSection = 4;

void SetColor(int32_t (&c)[4], int32_t a, int32_t r, int32_t g, int32_t b) {
  c[0] = a;
  c[1] = r;
  c[2] = g;
  c[3] = b;
}

void SetFont(SaveLoadFont& f, int32_t x, int32_t y, int32_t height, int32_t weight) {
  f.x = x;
  f.y = y;
  f.dx = 1;
  f.dy = 1;
  snprintf(f.szFace, sizeof f.szFace, "%s", profile::BuildProfile().szDefaultFace);
  f.nHeight = height;
  f.nWeight = weight;
}

SaveLoadLayout MakeDefaults() {
  SaveLoadLayout s{};
  strcpy(s.szBack[0], "SL_B.MGD");
  strcpy(s.szBack[1], "SL_B.MGD");
  strcpy(s.szParts, "SL_P");
  strcpy(s.szHitMap, "SL_C.BMP");
  static const int32_t kPageX[5] = {313, 348, 383, 416, 449};
  for (int i = 0; i < SaveLoadLayout::kControls; ++i) {
    s.nHitNo[i] = i;
    int32_t first = 40;
    if (i == SAVELOAD_BACK) {
      s.nPos[i][0] = 319;
      s.nPos[i][1] = 5;
      first = 10;
    } else if (i < SAVELOAD_SLOT) {
      s.nPos[i][0] = kPageX[i - 1];
      s.nPos[i][1] = 54;
      first = 15 + 5 * (i - 1);
    } else {
      const int k = i - SAVELOAD_SLOT;
      s.nPos[i][0] = k < 10 ? 18 : 414;
      s.nPos[i][1] = 99 + 46 * (k % 10);
    }
    for (int f = 0; f < 5; ++f) s.nFrame[i][f] = first + f;
    for (auto& row : s.nJump[i])
      for (int32_t& id : row) id = -1;
  }
  s.nBackFade = s.nCancelFade = s.nSaveFade = 300;
  s.nLoadFade[0] = s.nLoadFade[1] = 1000;
  s.nPages = 5;
  s.nSlots = 14;
  SetColor(s.nTextColor[0], 255, 0, 0, 0);
  SetColor(s.nTextColor[1], 255, 255, 0, 0);
  SetColor(s.nTextColor[2], 255, 255, 255, 255);
  SetColor(s.nTextColor[3], 128, 0, 0, 0);
  SetColor(s.nTextColor[4], 128, 255, 0, 0);
  SetColor(s.nSumColor[0], 255, 128, 128, 128);
  SetColor(s.nSumColor[1], 255, 255, 128, 128);
  SetColor(s.nSumColor[2], 255, 255, 255, 255);
  SetColor(s.nSumColor[3], 128, 128, 128, 128);
  SetColor(s.nSumColor[4], 128, 128, 0, 0);
  for (int i = 0; i < 5; ++i) SetColor(s.nShadowColor[i], i < 3 ? 255 : 128, 0, 0, 0);
  SetFont(s.font[0], 5, 12, 20, 20);
  SetFont(s.font[1], 60, 12, 20, 20);
  SetFont(s.font[2], 0, 0, 14, 500);
  const int32_t sum[4] = {300, 2, 80, 60};
  memcpy(s.nSum, sum, sizeof sum);
  return s;
}

SaveLoadLayout& Shared() {
  static SaveLoadLayout layout = MakeDefaults();
  return layout;
}

bool& Loaded() {
  static bool loaded = false;
  return loaded;
}

void Limit(SaveLoadLayout& s) {
  for (auto& t : s.szBack) setup::EndText(t);
  setup::EndText(s.szParts);
  setup::EndText(s.szHitMap);
  for (auto& p : s.nPos) setup::ClampPos(p);
  for (int32_t* t : {&s.nBackFade, &s.nCancelFade, &s.nSaveFade, &s.nLoadFade[0], &s.nLoadFade[1]})
    setup::ClampTime(*t);
  // No more pages and slots than the layout has controls for.
  setup::Clamp(s.nPages, 1, SaveLoadLayout::kMaxPages);
  setup::Clamp(s.nSlots, 0, SaveLoadLayout::kMaxSlots);
  for (auto* colors : {&s.nTextColor, &s.nSumColor, &s.nShadowColor})
    for (auto& c : *colors)
      for (int32_t& v : c) setup::Clamp(v, 0, 255);
  for (SaveLoadFont& f : s.font) {
    for (int32_t* v : {&f.x, &f.y, &f.dx, &f.dy}) setup::Clamp(*v, -setup::kMaxPos, setup::kMaxPos);
    setup::EndText(f.szFace);
    setup::Clamp(f.nHeight, 1, 200);
    setup::Clamp(f.nWeight, 0, 1000);
  }
  setup::Clamp(s.nSum[0], -setup::kMaxPos, setup::kMaxPos);
  setup::Clamp(s.nSum[1], -setup::kMaxPos, setup::kMaxPos);
  setup::Clamp(s.nSum[2], 0, 800);
  setup::Clamp(s.nSum[3], 0, 600);
}

std::string ControlName(int i) {
  if (i == SAVELOAD_BACK) return "back button (ID 0)";
  if (i < SAVELOAD_SLOT) return "page " + std::to_string(i) + " button (ID " + std::to_string(i) + ")";
  return "slot " + std::to_string(i - SAVELOAD_SLOT + 1) + " of a page (ID " + std::to_string(i) + ")";
}

}  // namespace

template <class V>
void CDIBSaveLoadScreen::Walk(SaveLoadLayout& s, V& v) {
  Trace("CDIBSaveLoadScreen::Walk");
  v.Record(0, "background picture in save mode (element 0 over the screen it was opened from)", s.szBack[0]);
  v.Record(1, "background picture in load mode", s.szBack[1]);
  v.Record(2, "parts picture of all buttons", s.szParts);
  v.Record(3, "hit map of all buttons", s.szHitMap);
  for (int i = 0; i < SaveLoadLayout::kControls; ++i) {
    const std::string what = ControlName(i);
    v.Record(10 + i, (what + ": its value in the hit map").c_str(), s.nHitNo[i]);
    v.Record(50 + i, (what + ": x, y").c_str(), s.nPos[i][0], s.nPos[i][1]);
    v.Record(100 + i, (what + ": frames normal, focused, pressed, disabled, focused-disabled").c_str(),
             s.nFrame[i][0], s.nFrame[i][1], s.nFrame[i][2], s.nFrame[i][3], s.nFrame[i][4]);
    v.JumpRows(150 + i,
               (what + ": keyboard rows: row, then the IDs for Up, Down, Left, Right, Tab (-1 none)").c_str(),
               s.nJump[i]);
  }
  v.Record(200, "fade of the back button's return (ms)", s.nBackFade);
  v.Record(201, "fade of the return after a cancelled question (ms)", s.nCancelFade);
  v.Record(202, "fade of the return after a save (ms)", s.nSaveFade);
  v.Record(203, "load: fade out, fade in (ms)", s.nLoadFade[0], s.nLoadFade[1]);
  v.Record(210, "pages (1 to 5) and slots per page (0 to 20)", s.nPages, s.nSlots);
  static const char* const kStates[5] = {"normal", "focused", "pressed", "disabled", "focused-disabled"};
  for (int i = 0; i < 5; ++i) {
    const std::string state = std::string(kStates[i]) + " slot";
    auto& t = s.nTextColor[i];
    v.Record(220 + i, ("text colour of a " + state + ": alpha, red, green, blue").c_str(), t[0], t[1], t[2], t[3]);
  }
  for (int i = 0; i < 5; ++i) {
    const std::string state = std::string(kStates[i]) + " slot";
    auto& t = s.nSumColor[i];
    v.Record(225 + i, ("thumbnail colour of a " + state + ": alpha, red, green, blue").c_str(), t[0], t[1], t[2],
             t[3]);
  }
  for (int i = 0; i < 5; ++i) {
    const std::string state = std::string(kStates[i]) + " slot";
    auto& t = s.nShadowColor[i];
    v.Record(230 + i, ("text shadow colour of a " + state + " (all 0: no shadow)").c_str(), t[0], t[1], t[2], t[3]);
  }
  static const char* const kTexts[3] = {"number (\"No.1\" …)", "subtitle", "date and time"};
  static const int32_t kFontRecord[3] = {240, 241, 243};
  for (int i = 0; i < 3; ++i) {
    SaveLoadFont& f = s.font[i];
    v.Record(kFontRecord[i],
             (std::string(kTexts[i]) + ": x, y in the slot, shadow dx, dy, font face, height, weight").c_str(), f.x,
             f.y, f.dx, f.dy, f.szFace, f.nHeight, f.nWeight);
    if (i == 1)
      v.Record(242, "thumbnail: x, y, width, height in the slot", s.nSum[0], s.nSum[1], s.nSum[2], s.nSum[3]);
  }
}

SaveLoadLayout CDIBSaveLoadScreen::DefaultLayout() {
  Trace("CDIBSaveLoadScreen::DefaultLayout");
  return MakeDefaults();
}

const SaveLoadLayout& CDIBSaveLoadScreen::Layout() {
  Trace("CDIBSaveLoadScreen::Layout");
  return Shared();
}

void CDIBSaveLoadScreen::ReadLayout(CSnrBuffer& table, SaveLoadLayout& layout) {
  Trace("CDIBSaveLoadScreen::ReadLayout");
  setup::CSetupReader reader(table, kSection);
  Walk(layout, reader);
  Limit(layout);
}

std::string CDIBSaveLoadScreen::LayoutSource(const SaveLoadLayout& layout) {
  Trace("CDIBSaveLoadScreen::LayoutSource");
  SaveLoadLayout copy = layout;
  setup::CSetupPrinter printer(kSection);
  Walk(copy, printer);
  return printer.Text();
}

bool CDIBSaveLoadScreen::SetupStatic() {
  Trace("CDIBSaveLoadScreen::SetupStatic");
  SaveLoadLayout s = MakeDefaults();
  CSnrBuffer table;
  if (table.Read("SAVELOAD")) ReadLayout(table, s);
  Shared() = s;
  Loaded() = true;
  return true;
}

bool CDIBSaveLoadScreen::IsSetupLoaded() {
  Trace("CDIBSaveLoadScreen::IsSetupLoaded");
  return Loaded();
}

uint32_t CDIBSaveLoadScreen::ColorWord(const int32_t (&argb)[4]) {
  Trace("CDIBSaveLoadScreen::ColorWord");
  return static_cast<uint32_t>(argb[0] & 0xFF) << 24 | static_cast<uint32_t>(argb[1] & 0xFF) << 16 |
         static_cast<uint32_t>(argb[2] & 0xFF) << 8 | static_cast<uint32_t>(argb[3] & 0xFF);
}
