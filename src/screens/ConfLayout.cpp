// The confirmation screen's layout table "CONF" (section 1) and its
// built-in defaults.
#include <cstdio>
#include <cstring>

#include "app/core/Trace.h"
#include "scenario/SnrBuffer.h"
#include "screens/DIBConfScreen.h"

namespace {

constexpr int32_t kSection = 1;

ConfLayout Defaults() {
  ConfLayout s{};
  for (int i = 0; i < ConfLayout::kMessages; ++i) snprintf(s.szMessage[i], sizeof s.szMessage[i], "CONF0%d_B", i + 1);
  strcpy(s.szParts, "CONF_P");
  strcpy(s.szHitMap, "CONF_C.BMP");
  s.nHitNo[0] = 0;
  s.nHitNo[1] = 1;
  s.nPos[0][0] = 240;
  s.nPos[0][1] = 280;
  s.nPos[1][0] = 420;
  s.nPos[1][1] = 280;
  for (int f = 0; f < 5; ++f) {
    s.nFrame[0][f] = 1 + f;
    s.nFrame[1][f] = 6 + f;
  }
  for (auto& button : s.nJump)
    for (auto& row : button)
      for (int32_t& id : row) id = -1;
  return s;
}

ConfLayout& Shared() {
  static ConfLayout layout = Defaults();
  return layout;
}

bool& Loaded() {
  static bool loaded = false;
  return loaded;
}

// Every record of (1, b) in the file, each storing the jump row it names;
// rows outside the table are not the button's.
void ReadJumpRows(CSnrBuffer& table, int32_t b, int32_t (&rows)[kJumpRows][5]) {
  table.SeekBegin(0);
  while (!table.IsFinish()) {
    int32_t r = -1, j[5] = {};
    if (!table.GetSetupParam(kSection, b, "NNNNNN", &r, &j[0], &j[1], &j[2], &j[3], &j[4])) break;
    if (r >= 0 && r < kJumpRows) memcpy(rows[r], j, sizeof j);
    table.NextCommand();
  }
}

}  // namespace

const ConfLayout& CDIBConfScreen::Layout() {
  Trace("CDIBConfScreen::Layout");
  return Shared();
}

bool CDIBConfScreen::SetupStatic() {
  Trace("CDIBConfScreen::SetupStatic");
  ConfLayout s = Defaults();
  Loaded() = true;
  CSnrBuffer table;
  if (table.Read("CONF")) {
    auto get = [&](int32_t b, const char* signature, auto&&... dest) {
      table.SeekBegin(0);
      table.GetSetupParam(kSection, b, signature, dest...);
    };
    for (int i = 0; i < ConfLayout::kMessages; ++i) get(i, "S", s.szMessage[i]);
    get(5, "S", s.szParts);
    // The hit map keeps its built-in name: no record names it.
    for (int i = 0; i < 2; ++i) {
      get(10 + i, "N", &s.nHitNo[i]);
      get(20 + i, "NN", &s.nPos[i][0], &s.nPos[i][1]);
      int32_t* f = s.nFrame[i];
      get(30 + i, "NNNNN", &f[0], &f[1], &f[2], &f[3], &f[4]);
      ReadJumpRows(table, 40 + i, s.nJump[i]);
    }
  }
  Shared() = s;
  return true;
}

bool CDIBConfScreen::IsSetupLoaded() {
  Trace("CDIBConfScreen::IsSetupLoaded");
  return Loaded();
}
