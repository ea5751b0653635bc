// The extras screen's layout table "OMAKE" (section 5): its records, their
// built-in defaults and the limits that keep a damaged table from breaking
// the screen.
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "app/core/Trace.h"
#include "save/SaveTypes.h"
#include "scenario/SnrBuffer.h"
#include "screens/DIBOmakeScreen.h"
#include "screens/SetupSchema.h"

namespace {

constexpr int32_t kSection = 5;
constexpr int32_t kBuiltInMusic = 10;  // "M02" … "M11"

void SetFrames(int32_t (&f)[5], int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) {
  Trace("SetFrames");
  const int32_t v[5] = {a, b, c, d, e};
  memcpy(f, v, sizeof v);
}

void SetRun(int32_t (&f)[5], int32_t first) {
  Trace("SetRun");
  SetFrames(f, first, first + 1, first + 2, first + 3, first + 4);
}

void ModeDefaults(OmakeModeLayout& m, int32_t mode) {
  Trace("ModeDefaults");
  snprintf(m.szBack, sizeof m.szBack, "%s", mode == OMAKE_MODE_CG ? "CG_B" : "SCENE_B");
  snprintf(m.szParts, sizeof m.szParts, "OMAKE_P");
  snprintf(m.szHitMap, sizeof m.szHitMap, "OMAKE_C.BMP");
  for (int id = 0; id < OMAKE_CONTROLS; ++id)
    for (auto& row : m.nJump[id])
      for (int32_t& j : row) j = -1;
  // Back, the four music buttons and the mode switch.
  static const int32_t kRoomHit[6] = {4, 5, 6, 7, 8, 3};
  static const int32_t kRoomPos[6][2] = {{30, 540}, {300, 75}, {350, 75}, {400, 75}, {450, 75}, {30, 490}};
  static const int32_t kRoomFrame[6] = {25, 30, 35, 40, 45, 15};
  for (int id = 0; id < 6; ++id) {
    m.nHitNo[id] = kRoomHit[id];
    m.nPos[id][0] = kRoomPos[id][0];
    m.nPos[id][1] = kRoomPos[id][1];
    SetRun(m.nFrame[id], kRoomFrame[id]);
  }
  if (mode == OMAKE_MODE_SCENE) SetRun(m.nFrame[OMAKE_MODE], 20);
  static const int32_t kPageX[3] = {650, 690, 740};
  for (int p = 0; p < 3; ++p) {
    m.nHitNo[OMAKE_PAGE + p] = p;
    m.nPos[OMAKE_PAGE + p][0] = kPageX[p];
    m.nPos[OMAKE_PAGE + p][1] = 130;
    SetRun(m.nFrame[OMAKE_PAGE + p], 5 * p);
  }
  for (int c = 0; c < 7; ++c) {
    m.nHitNo[OMAKE_CHAR + c] = 25 + c;
    m.nPos[OMAKE_CHAR + c][0] = 30;
    m.nPos[OMAKE_CHAR + c][1] = 155 + 45 * c;
    SetRun(m.nFrame[OMAKE_CHAR + c], 50 + 5 * c);
  }
  static const int32_t kLatePos[9][2] = {{500, 270}, {650, 270}, {200, 370}, {350, 370}, {500, 370},
                                         {350, 370}, {200, 470}, {350, 470}, {500, 470}};
  for (int k = 0; k < 25; ++k) {
    const int id = OMAKE_SUM + k;
    if (k < 16) {
      m.nHitNo[id] = 9 + k;
      m.nPos[id][0] = 220 + 140 * (k % 4);
      m.nPos[id][1] = 180 + 100 * (k / 4);
    } else {
      m.nPos[id][0] = kLatePos[k - 16][0];
      m.nPos[id][1] = kLatePos[k - 16][1];
    }
    // Three looks from the page's thumbnail picture; its frames 0 and 1
    // are the locked look.
    SetFrames(m.nFrame[id], 3 * k + 2, 3 * k + 3, 3 * k + 4, 0, 1);
  }
  m.nSumPerPage = 16;
  m.nChars = 7;
  m.nPlate[0] = 500;
  m.nPlate[1] = 50;
}

OmakeLayout& Shared() {
  Trace("Shared");
  static OmakeLayout* layout = [] {
    auto* s = new OmakeLayout();
    *s = *CDIBOmakeScreen::DefaultLayout();
    return s;
  }();
  return *layout;
}

bool& Loaded() {
  Trace("Loaded");
  static bool loaded = false;
  return loaded;
}

void Limit(OmakeLayout& s) {
  Trace("Limit");
  setup::EndText(s.szPlate);
  for (auto& t : s.szMusic) setup::EndText(t);
  setup::EndText(s.szViewer);
  for (OmakeModeLayout& m : s.mode) {
    setup::EndText(m.szBack);
    setup::EndText(m.szParts);
    setup::EndText(m.szHitMap);
    for (auto& page : m.szSum)
      for (auto& t : page) setup::EndText(t);
    for (auto& p : m.nPos) setup::ClampPos(p);
    setup::ClampPos(m.nPlate);
    setup::Clamp(m.nSumPerPage, 0, OmakeModeLayout::kMaxSums);
    setup::Clamp(m.nChars, 0, OmakeModeLayout::kMaxChars);
  }
  for (int32_t* t : {&s.nReturnFade, &s.nViewerFade, &s.nReplayFade[0], &s.nReplayFade[1]}) setup::ClampTime(*t);
  // A variable the scenario does not have is not written at all.
  for (int32_t& v : s.nViewerVar)
    if (v < 0 || v >= kVariableCount) v = -1;
}

std::string ControlName(int id) {
  Trace("ControlName");
  static const char* const kRoom[6] = {"back", "previous music", "play music", "stop music", "next music",
                                       "mode switch"};
  if (id < OMAKE_PAGE) return std::string(kRoom[id]) + " (ID " + std::to_string(id) + ")";
  if (id < OMAKE_CHAR) return "page " + std::to_string(id - OMAKE_PAGE) + " button (ID " + std::to_string(id) + ")";
  if (id < OMAKE_SUM) return "character " + std::to_string(id - OMAKE_CHAR) + " tab (ID " + std::to_string(id) + ")";
  return "thumbnail " + std::to_string(id - OMAKE_SUM) + " (ID " + std::to_string(id) + ")";
}

template <class V>
void Heading(V& v, const char* text) {
  Trace("Heading");
  if constexpr (requires { v.Heading(text); }) v.Heading(text);
}

}  // namespace

template <class V>
void CDIBOmakeScreen::Walk(OmakeLayout& s, V& v) {
  Trace("CDIBOmakeScreen::Walk");
  Heading(v, "the music room");
  v.Record(0, "music plate picture; its element n is the plate of music n", s.szPlate);
  v.NameList(1, "music list: number, music name (the list ends at the first number without a name)", s.szMusic);
  static const char* const kMode[2] = {"gallery", "scenes"};
  for (int32_t mode = 0; mode < 2; ++mode) {
    OmakeModeLayout& m = s.mode[mode];
    const std::string in = std::string(" of the ") + kMode[mode];
    Heading(v, (std::string("the ") + kMode[mode]).c_str());
    v.Record(10 + 10 * mode, ("background" + in).c_str(), m.szBack);
    v.Record(11 + 10 * mode, ("parts picture of the controls" + in).c_str(), m.szParts);
    v.Record(12 + 10 * mode, ("hit map of the controls" + in).c_str(), m.szHitMap);
    v.NameGrid(13 + 10 * mode,
               ("thumbnail picture of a page" + in +
                ": character, page, picture (frames 3k+2..3k+4 are thumbnail k, frames 0 and 1 the locked look)")
                   .c_str(),
               m.szSum);
    for (int id = 0; id < OMAKE_CONTROLS; ++id) {
      const std::string what = ControlName(id) + in;
      v.Record(100 + 100 * mode + id, (what + ": its value in the hit map").c_str(), m.nHitNo[id]);
      v.Record(300 + 100 * mode + id, (what + ": x, y").c_str(), m.nPos[id][0], m.nPos[id][1]);
      v.Record(500 + 100 * mode + id, (what + ": frames normal, focused, pressed, disabled, focused-disabled").c_str(),
               m.nFrame[id][0], m.nFrame[id][1], m.nFrame[id][2], m.nFrame[id][3], m.nFrame[id][4]);
      v.JumpRows(700 + 100 * mode + id,
                 (what + ": keyboard rows: row, then the IDs for Up, Down, Left, Right, Tab (-1 none)").c_str(),
                 m.nJump[id]);
    }
  }
  Heading(v, "times, counts and the picture viewer");
  v.Record(1000, "fade of the return to the title (ms)", s.nReturnFade);
  v.Record(1001, "fade towards the picture viewer (ms)", s.nViewerFade);
  v.Record(1002, "fade out towards a scene replay, fade in to it (ms)", s.nReplayFade[0], s.nReplayFade[1]);
  v.Record(1100, "thumbnails per page in the gallery (0..30)", s.mode[0].nSumPerPage);
  v.Record(1101, "thumbnails per page in the scenes (0..30)", s.mode[1].nSumPerPage);
  v.Record(1200, "characters (tabs) in the gallery (0..20)", s.mode[0].nChars);
  v.Record(1201, "characters (tabs) in the scenes (0..20)", s.mode[1].nChars);
  v.Record(1300, "x, y of the music plate in the gallery", s.mode[0].nPlate[0], s.mode[0].nPlate[1]);
  v.Record(1301, "x, y of the music plate in the scenes", s.mode[1].nPlate[0], s.mode[1].nPlate[1]);
  v.Record(1400,
           "picture-viewer scenario, then the scenario variables that receive the number of pictures loaded, the "
           "character and the entry",
           s.szViewer, s.nViewerVar[0], s.nViewerVar[1], s.nViewerVar[2]);
  v.Record(1500, "1: every entry counts as unlocked; 0: only what the player has seen", s.bAllOpen);
}

std::unique_ptr<OmakeLayout> CDIBOmakeScreen::DefaultLayout() {
  Trace("CDIBOmakeScreen::DefaultLayout");
  auto s = std::make_unique<OmakeLayout>();
  snprintf(s->szPlate, sizeof s->szPlate, "MUSIC_P");
  for (int i = 0; i < kBuiltInMusic; ++i) snprintf(s->szMusic[i], sizeof s->szMusic[i], "M%02d", i + 2);
  ModeDefaults(s->mode[OMAKE_MODE_CG], OMAKE_MODE_CG);
  ModeDefaults(s->mode[OMAKE_MODE_SCENE], OMAKE_MODE_SCENE);
  s->nReturnFade = 300;
  s->nViewerFade = 500;
  s->nReplayFade[0] = s->nReplayFade[1] = 1000;
  snprintf(s->szViewer, sizeof s->szViewer, "CGVIEW");
  for (int i = 0; i < 3; ++i) s->nViewerVar[i] = i;
  s->bAllOpen = true;
  return s;
}

const OmakeLayout& CDIBOmakeScreen::Layout() {
  Trace("CDIBOmakeScreen::Layout");
  return Shared();
}

int32_t CDIBOmakeScreen::MusicCount(const OmakeLayout& layout) {
  Trace("CDIBOmakeScreen::MusicCount");
  int32_t count = 0;
  while (count < OmakeLayout::kMaxMusic && layout.szMusic[count][0]) ++count;
  return count;
}

void CDIBOmakeScreen::ReadLayout(CSnrBuffer& table, OmakeLayout& layout) {
  Trace("CDIBOmakeScreen::ReadLayout");
  setup::CSetupReader reader(table, kSection);
  // A table that names its own music list replaces the built-in one whole.
  char names[OmakeLayout::kMaxMusic][64] = {};
  reader.NameList(1, "", names);
  bool named = false;
  for (const auto& name : names) named = named || name[0];
  if (named) memcpy(layout.szMusic, names, sizeof names);
  Walk(layout, reader);
  Limit(layout);
}

std::string CDIBOmakeScreen::LayoutSource(const OmakeLayout& layout) {
  Trace("CDIBOmakeScreen::LayoutSource");
  auto copy = std::make_unique<OmakeLayout>(layout);
  setup::CSetupPrinter printer(kSection);
  Walk(*copy, printer);
  return printer.Text();
}

bool CDIBOmakeScreen::SetupStatic() {
  Trace("CDIBOmakeScreen::SetupStatic");
  std::unique_ptr<OmakeLayout> s = DefaultLayout();
  CSnrBuffer table;
  const bool read = table.Read("OMAKE");
  if (read) ReadLayout(table, *s);
  Shared() = *s;
  Loaded() = true;
  return read;
}

bool CDIBOmakeScreen::IsSetupLoaded() {
  Trace("CDIBOmakeScreen::IsSetupLoaded");
  return Loaded();
}
