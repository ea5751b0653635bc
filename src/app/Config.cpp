#include "app/Config.h"

#include <cstdio>
#include <cstdlib>

#include "app/core/Trace.h"
#include "platform/Profile.h"

namespace {

// Values are read as text of up to 255 characters.
std::string ReadValue(const plat::ProfileFile& ini, const char* section, const char* key, const char* def) {
  return ini.Get(section, key, def).substr(0, 255);
}

}  // namespace

int ParseIniInt(const std::string& text, int fallback) {
  int value = 0;
  if (sscanf(text.c_str(), "%d", &value) != 1) return fallback;
  return value;
}

plat::POINT CentredWindowPos(int desktopX, int desktopY, int desktopWidth, int desktopHeight) {
  return plat::POINT{desktopX + (desktopWidth - 800) / 2, desktopY + (desktopHeight - 600) / 2};
}

IniSettings ReadIniSettings(const std::string& iniPath, const plat::POINT& centred) {
  Trace("CMainWindow::ReadIniSettings");
  IniSettings s;
  plat::ProfileFile ini;
  ini.Load(iniPath);
  char def[64];
  snprintf(def, sizeof def, "%d,%d", centred.x, centred.y);
  std::string pos = ReadValue(ini, "MainWindow", "Pos", def);
  int x = 0, y = 0;
  if (sscanf(pos.c_str(), "%d,%d", &x, &y) == 2) s.pos = plat::POINT{x, y};
  else s.pos = centred;

  auto flag = [&](const char* key, const char* d) {
    return ParseIniInt(ReadValue(ini, "System", key, d), 0) != 0;
  };
  s.bNoneEffect = flag("NoneEffect", "0");
  s.nFrameSpeed = ParseIniInt(ReadValue(ini, "System", "FrameSpeed", "1"), 1);
  if (s.nFrameSpeed < 1) s.nFrameSpeed = 1;
  s.bAltAndEnter = flag("AltAndEnter", "0");
  s.bSystemSE = flag("SystemSE", "1");
  s.bNonePause = flag("NonePause", "0");
  s.bBGMSmallVolume = flag("BGMSmallVolume", "0");
  s.bAlphaFlip = flag("AlphaFlip", "0");
  s.bDebugWndAttach = ParseIniInt(ReadValue(ini, "MainWindow", "DebugWndAttach", "0"), 0) != 0;
  return s;
}

bool WriteIniSettings(const std::string& iniPath, const IniSettings& s) {
  Trace("CMainWindow::WriteIniSettings");
  plat::ProfileFile ini;
  ini.Load(iniPath);
  char text[64];
  snprintf(text, sizeof text, "%d,%d", s.pos.x, s.pos.y);
  ini.Set("MainWindow", "Pos", text);
  struct Key {
    const char* name;
    int value;
  } keys[] = {
      {"NoneEffect", s.bNoneEffect},     {"FrameSpeed", s.nFrameSpeed},         {"AltAndEnter", s.bAltAndEnter},
      {"SystemSE", s.bSystemSE},         {"NonePause", s.bNonePause},           {"BGMSmallVolume", s.bBGMSmallVolume},
      {"AlphaFlip", s.bAlphaFlip},
  };
  for (const auto& k : keys) {
    snprintf(text, sizeof text, "%d", k.value);
    ini.Set("System", k.name, text);
  }
  return ini.Save(iniPath);
}
