// The option screen's layout table "OPTION" (section 2): its records, their
// built-in defaults and the limits that keep a damaged table from breaking
// the screen.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/core/Trace.h"
#include "scenario/SnrBuffer.h"
#include "screens/DIBOptionScreen.h"
#include "screens/SetupSchema.h"

namespace {

constexpr int32_t kSection = 2;

struct ControlDefault {
  const char* name;
  int32_t x, y, firstFrame;
};

constexpr ControlDefault kControls[OptionLayout::kControls] = {
    {"window mode button", 54, 182, 1},
    {"full screen button", 205, 182, 6},
    {"\"skip read text only\" button", 54, 305, 11},
    {"\"skip all text\" button", 205, 305, 16},
    {"text speed slider", 54, 431, 46},
    {"auto-advance speed slider", 54, 528, 46},
    {"music on button", 535, 145, 31},
    {"music off button", 609, 145, 36},
    {"music volume slider", 468, 187, 46},
    {"effects on button", 535, 268, 31},
    {"effects off button", 609, 268, 36},
    {"effect test button", 683, 268, 41},
    {"effect volume slider", 468, 308, 46},
    {"voices on button", 535, 391, 31},
    {"voices off button", 609, 391, 36},
    {"voice test button", 683, 391, 41},
    {"voice volume slider", 468, 431, 46},
    {"OK button", 457, 512, 21},
    {"cancel button", 637, 512, 26},
};

OptionLayout MakeDefaults() {
  OptionLayout s{};
  strcpy(s.szBack, "OPTION_B");
  strcpy(s.szParts, "OPTION_P");
  strcpy(s.szHitMap, "OPTION_C.BMP");
  strcpy(s.szSETest, "TEST.OGG");
  strcpy(s.szVoiceTest, "TEST.OGG");
  for (int i = 0; i < OptionLayout::kControls; ++i) {
    s.nHitNo[i] = i;
    s.nPos[i][0] = kControls[i].x;
    s.nPos[i][1] = kControls[i].y;
    const int frames = CDIBOptionScreen::IsSlider(i) ? 10 : 5;
    for (int f = 0; f < frames; ++f) s.nFrame[i][f] = kControls[i].firstFrame + f;
    for (auto& row : s.nJump[i])
      for (int32_t& id : row) id = -1;
  }
  for (auto& slider : s.nSlider) {
    slider[0] = 0;
    slider[1] = 4;
    slider[2] = 3;
  }
  s.nCancelFade = 500;
  return s;
}

OptionLayout& Shared() {
  static OptionLayout layout = MakeDefaults();
  return layout;
}

bool& Loaded() {
  static bool loaded = false;
  return loaded;
}

void Limit(OptionLayout& s) {
  for (char* t : {s.szBack, s.szParts, s.szHitMap, s.szSETest, s.szVoiceTest}) t[63] = 0;
  for (auto& p : s.nPos) setup::ClampPos(p);
  for (auto& slider : s.nSlider) {
    slider[0] = slider[0] != 0 ? 1 : 0;
    setup::Clamp(slider[1], -setup::kMaxPos, setup::kMaxPos);
    setup::Clamp(slider[2], -setup::kMaxPos, setup::kMaxPos);
  }
  setup::ClampTime(s.nCancelFade);
}

}  // namespace

bool CDIBOptionScreen::IsSlider(int32_t id) {
  Trace("CDIBOptionScreen::IsSlider");
  for (int32_t slider : kSliderID)
    if (slider == id) return true;
  return false;
}

template <class V>
void CDIBOptionScreen::Walk(OptionLayout& s, V& v) {
  Trace("CDIBOptionScreen::Walk");
  v.Record(0, "background picture (element 0 over the screen it was opened from)", s.szBack);
  v.Record(1, "parts picture of all controls", s.szParts);
  v.Record(2, "hit map of all controls", s.szHitMap);
  v.Record(3, "effect test sound (SE)", s.szSETest);
  v.Record(4, "voice test sound (VOICE)", s.szVoiceTest);
  for (int i = 0; i < OptionLayout::kControls; ++i) {
    const std::string what = std::string(kControls[i].name) + " (ID " + std::to_string(i) + ")";
    v.Record(10 + i, (what + ": its value in the hit map").c_str(), s.nHitNo[i]);
  }
  for (int i = 0; i < OptionLayout::kControls; ++i) {
    const std::string what = std::string(kControls[i].name) + " (ID " + std::to_string(i) + ")";
    v.Record(50 + i, (what + ": x, y").c_str(), s.nPos[i][0], s.nPos[i][1]);
  }
  for (int i = 0; i < OptionLayout::kControls; ++i) {
    const std::string what = std::string(kControls[i].name) + " (ID " + std::to_string(i) + ")";
    int32_t* f = s.nFrame[i];
    if (IsSlider(i))
      v.Record(90 + i, (what + ": bar frames normal, focused, pressed, disabled, focused-disabled, then the knob's")
                           .c_str(),
               f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]);
    else
      v.Record(90 + i, (what + ": frames normal, focused, pressed, disabled, focused-disabled").c_str(), f[0], f[1],
               f[2], f[3], f[4]);
  }
  for (int i = 0; i < OptionLayout::kControls; ++i) {
    const std::string what = std::string(kControls[i].name) + " (ID " + std::to_string(i) + ")";
    v.JumpRows(130 + i,
               (what + ": keyboard rows: row, then the IDs for Up, Down, Left, Right, Tab (-1 none)").c_str(),
               s.nJump[i]);
  }
  for (int i = 0; i < OptionLayout::kSliders; ++i) {
    const std::string what = kControls[kSliderID[i]].name;
    v.Record(170 + i, (what + ": direction (0 across, 1 down), start margin, end margin (pixels)").c_str(),
             s.nSlider[i][0], s.nSlider[i][1], s.nSlider[i][2]);
  }
  v.Record(210, "fade of the return after cancel (ms)", s.nCancelFade);
}

OptionLayout CDIBOptionScreen::DefaultLayout() {
  Trace("CDIBOptionScreen::DefaultLayout");
  return MakeDefaults();
}

const OptionLayout& CDIBOptionScreen::Layout() {
  Trace("CDIBOptionScreen::Layout");
  return Shared();
}

void CDIBOptionScreen::ReadLayout(CSnrBuffer& table, OptionLayout& layout) {
  Trace("CDIBOptionScreen::ReadLayout");
  setup::CSetupReader reader(table, kSection);
  Walk(layout, reader);
  Limit(layout);
}

std::string CDIBOptionScreen::LayoutSource(const OptionLayout& layout) {
  Trace("CDIBOptionScreen::LayoutSource");
  OptionLayout copy = layout;
  setup::CSetupPrinter printer(kSection);
  Walk(copy, printer);
  return printer.Text();
}

bool CDIBOptionScreen::SetupStatic() {
  Trace("CDIBOptionScreen::SetupStatic");
  OptionLayout s = MakeDefaults();
  CSnrBuffer table;
  if (table.Read("OPTION")) ReadLayout(table, s);
  Shared() = s;
  Loaded() = true;
  return true;
}

bool CDIBOptionScreen::IsSetupLoaded() {
  Trace("CDIBOptionScreen::IsSetupLoaded");
  return Loaded();
}
