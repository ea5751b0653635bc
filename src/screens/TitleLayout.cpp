// The title screen's layout table "TITLE" (section 0): its records, their
// built-in defaults and the limits that keep a damaged table from breaking
// the screen.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/core/Trace.h"
#include "scenario/SnrBuffer.h"
#include "screens/DIBTitleScreen.h"
#include "screens/SetupSchema.h"

namespace {

constexpr int32_t kSection = 0;
constexpr int32_t kMaxIdle = 86400000;  // a day

TitleLayout MakeDefaults() {
  TitleLayout s{};
  strcpy(s.szPicture[0], "TITLE01");
  strcpy(s.szPicture[1], "TITLE02");
  strcpy(s.szPicture[2], "TITLE");
  strcpy(s.szParts, "TITLE_P");
  strcpy(s.szHitMap, "TITLE_C.BMP");
  strcpy(s.szMusic, "M01");
  strcpy(s.szMovie, "OP.MPG");
  for (int i = 0; i < TitleLayout::kButtons; ++i) {
    s.nHitNo[i] = i;
    s.nPos[i][0] = 621;
    s.nPos[i][1] = 373 + 45 * i;
    for (int f = 0; f < 5; ++f) s.nFrame[i][f] = 1 + 5 * i + f;
    for (auto& row : s.nJump[i])
      for (int32_t& id : row) id = -1;
  }
  const int32_t name[5] = {14, 9, 100, 100, 1000};
  memcpy(s.nName, name, sizeof name);
  s.nOpeningFade[0] = s.nOpeningFade[1] = 1000;
  s.nStartFade[0] = s.nStartFade[1] = 1000;
  s.nLoadFade = 300;
  s.nMenuFade = 1500;
  s.nSpareFade = 300;
  s.nEndFade[0] = 300;
  s.nEndFade[1] = 1000;
  s.nEndFade[2] = 300;
  s.nIdleTime = 125000;
  return s;
}

TitleLayout& Shared() {
  static TitleLayout layout = MakeDefaults();
  return layout;
}

bool& Loaded() {
  static bool loaded = false;
  return loaded;
}

void Limit(TitleLayout& s) {
  for (auto& t : s.szPicture) setup::EndText(t);
  for (auto& t : s.szMask) setup::EndText(t);
  for (char* t : {s.szParts, s.szHitMap, s.szMusic, s.szMovie}) t[63] = 0;
  for (auto& p : s.nPos) setup::ClampPos(p);
  setup::Clamp(s.nName[0], -setup::kMaxPos, setup::kMaxPos);
  setup::Clamp(s.nName[1], -setup::kMaxPos, setup::kMaxPos);
  // The name starts larger by the zoom size, never smaller.
  setup::Clamp(s.nName[2], 0, setup::kMaxPos);
  setup::Clamp(s.nName[3], 0, setup::kMaxPos);
  setup::ClampTime(s.nName[4]);
  for (int32_t* t : {&s.nOpeningFade[0], &s.nOpeningFade[1], &s.nStartFade[0], &s.nStartFade[1], &s.nLoadFade,
                     &s.nMenuFade, &s.nSpareFade, &s.nEndFade[0], &s.nEndFade[1], &s.nEndFade[2]})
    setup::ClampTime(*t);
  setup::Clamp(s.nIdleTime, 0, kMaxIdle);
}

}  // namespace

template <class V>
void CDIBTitleScreen::Walk(TitleLayout& s, V& v) {
  Trace("CDIBTitleScreen::Walk");
  v.Record(0,
           "pictures: first title picture, mask into the title screen, second title picture, mask from the "
           "first to the second, title background, mask from the second to the background (\"\" = a fade)",
           s.szPicture[0], s.szMask[0], s.szPicture[1], s.szMask[1], s.szPicture[2], s.szMask[2]);
  v.Record(1, "parts picture of the buttons; its element 0 is the game's name", s.szParts);
  v.Record(2, "hit map of the buttons", s.szHitMap);
  v.Record(3, "title music", s.szMusic);
  v.Record(4, "opening movie", s.szMovie);
  static const char* const kNames[TitleLayout::kButtons] = {"start", "load", "options", "extras", "end"};
  for (int i = 0; i < TitleLayout::kButtons; ++i) {
    std::string what = std::string(kNames[i]) + " button (ID " + std::to_string(i) + ")";
    v.Record(10 + i, (what + ": its value in the hit map").c_str(), s.nHitNo[i]);
    v.Record(20 + i, (what + ": x, y").c_str(), s.nPos[i][0], s.nPos[i][1]);
    v.Record(30 + i, (what + ": frames normal, focused, pressed, disabled, focused-disabled").c_str(),
             s.nFrame[i][0], s.nFrame[i][1], s.nFrame[i][2], s.nFrame[i][3], s.nFrame[i][4]);
    v.JumpRows(40 + i, (what + ": keyboard rows: row, then the IDs for Up, Down, Left, Right, Tab (-1 none)").c_str(),
               s.nJump[i]);
  }
  v.Record(50, "the name: x, y, how much wider and taller it starts, zoom time (ms)", s.nName[0], s.nName[1],
           s.nName[2], s.nName[3], s.nName[4]);
  v.Record(60, "fade out to the opening movie and in from it (ms)", s.nOpeningFade[0], s.nOpeningFade[1]);
  v.Record(61, "new game: fade out, fade in (ms)", s.nStartFade[0], s.nStartFade[1]);
  v.Record(62, "fade to the load screen (ms)", s.nLoadFade);
  v.Record(63, "fade to the option and extras screens (ms)", s.nMenuFade);
  v.Record(64, "a further fade time, used by no button (ms)", s.nSpareFade);
  v.Record(65, "end: fade to the question, fade out of the game, fade back after \"no\" (ms)", s.nEndFade[0],
           s.nEndFade[1], s.nEndFade[2]);
  v.Record(66, "menu time after which the opening plays again (ms)", s.nIdleTime);
}

TitleLayout CDIBTitleScreen::DefaultLayout() {
  Trace("CDIBTitleScreen::DefaultLayout");
  return MakeDefaults();
}

const TitleLayout& CDIBTitleScreen::Layout() {
  Trace("CDIBTitleScreen::Layout");
  return Shared();
}

void CDIBTitleScreen::ReadLayout(CSnrBuffer& table, TitleLayout& layout) {
  Trace("CDIBTitleScreen::ReadLayout");
  setup::CSetupReader reader(table, kSection);
  Walk(layout, reader);
  Limit(layout);
}

std::string CDIBTitleScreen::LayoutSource(const TitleLayout& layout) {
  Trace("CDIBTitleScreen::LayoutSource");
  TitleLayout copy = layout;
  setup::CSetupPrinter printer(kSection);
  Walk(copy, printer);
  return printer.Text();
}

bool CDIBTitleScreen::SetupStatic() {
  Trace("CDIBTitleScreen::SetupStatic");
  TitleLayout s = MakeDefaults();
  CSnrBuffer table;
  if (table.Read("TITLE")) ReadLayout(table, s);
  Shared() = s;
  Loaded() = true;
  return true;
}

bool CDIBTitleScreen::IsSetupLoaded() {
  Trace("CDIBTitleScreen::IsSetupLoaded");
  return Loaded();
}
