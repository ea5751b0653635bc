#include "app/Config.h"

#include <cstdio>
#include <cstdlib>

#include "app/core/Trace.h"
#include "platform/Profile.h"

namespace {

std::string ReadValue(const std::string& path, const char* section, const char* key, const char* def) {
  char buf[256];
  plat::GetPrivateProfileString(section, key, def, buf, sizeof buf, path.c_str());
  return buf;
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
  char def[64];
  snprintf(def, sizeof def, "%d,%d", centred.x, centred.y);
  std::string pos = ReadValue(iniPath, "MainWindow", "Pos", def);
  int x = 0, y = 0;
  if (sscanf(pos.c_str(), "%d,%d", &x, &y) == 2) s.pos = plat::POINT{x, y};
  else s.pos = centred;

  auto flag = [&](const char* key, const char* d) {
    return ParseIniInt(ReadValue(iniPath, "System", key, d), 0) != 0;
  };
  s.bNoneEffect = flag("NoneEffect", "0");
  s.nFrameSpeed = ParseIniInt(ReadValue(iniPath, "System", "FrameSpeed", "1"), 1);
  if (s.nFrameSpeed < 1) s.nFrameSpeed = 1;
  s.bAltAndEnter = flag("AltAndEnter", "0");
  s.bSystemSE = flag("SystemSE", "1");
  s.bNonePause = flag("NonePause", "0");
  s.bBGMSmallVolume = flag("BGMSmallVolume", "0");
  s.bAlphaFlip = flag("AlphaFlip", "0");
  s.bDebugWndAttach = ParseIniInt(ReadValue(iniPath, "MainWindow", "DebugWndAttach", "0"), 0) != 0;
  return s;
}

bool WriteIniSettings(const std::string& iniPath, const IniSettings& s) {
  Trace("CMainWindow::WriteIniSettings");
  const char* path = iniPath.c_str();
  char text[64];
  snprintf(text, sizeof text, "%d,%d", s.pos.x, s.pos.y);
  if (!plat::WritePrivateProfileString("MainWindow", "Pos", text, path)) return false;
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
    if (!plat::WritePrivateProfileString("System", k.name, text, path)) return false;
  }
  return true;
}
