#include "gen/GameCheck.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "app/core/Trace.h"
#include "assets/DIBSprite.h"
#include "audio/OggVorbis.h"
#include "platform/Encoding.h"
#include "scenario/SnrBuffer.h"
#include "ui/HitMap.h"

namespace gen {

namespace {

const char* const kSourceNames[] = {"DATA", "MGD", "MSD", "SE", "BGM", "VOICE"};
const char* const kSourceExt[] = {".DAT", ".MGD", ".MSD", ".OGG", ".OGG", ".OGG"};

// The name as the source looks it up: the default extension added to a
// name without one, in upper case for the record of what was checked.
std::string Full(const std::string& name, const char* ext) {
  std::string n = name.find('.') == std::string::npos ? name + ext : name;
  for (char& c : n) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return n;
}

// Scenario command identifiers whose texts name files.
enum : uint16_t {
  kLS = 2, kIMREAD = 100, kLYIMAGE = 102, kOVERLAP = 110, kCURSOR = 112, kMOVIE = 113, kBGMLIST = 200,
  kBGMPLAY = 201, kVOICELIST = 204, kVOICEPLAY = 205, kSEPLAY = 208, kSEREAD = 211, kMSG = 1000,
  kSELECT = 1003, kSETCGFLAG = 1006, kSETSCENEFLAG = 1007, kSELITEM = 1009, kMESNAME = 2007, kMESVPLAY = 2008,
  kSELRUN = 2014, kACTMAKE = 2015, kSAVESAM = 2020
};

}  // namespace

CGameChecker::CGameChecker() = default;
CGameChecker::~CGameChecker() = default;

void CGameChecker::Problem(const std::string& where, const std::string& what) {
  Trace("CGameChecker::Problem");
  std::string line = where + ": " + what;
  if (std::find(mProblems.begin(), mProblems.end(), line) == mProblems.end()) mProblems.push_back(line);
}

bool CGameChecker::Open(const std::string& dir) {
  Trace("CGameChecker::Open");
  namespace fs = std::filesystem;
  mDir = dir;
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) {
    Problem(dir, "no such game folder");
    return false;
  }
  std::string base = (fs::path(dir) / "").string();
  for (int s = 0; s < kSourceCount; ++s) {
    mpSource[s] = std::make_unique<CFileJoin>();
    if (!mpSource[s]->Initialize(base.c_str(), kSourceNames[s], kSourceExt[s])) {
      bool there = fs::exists(fs::path(dir) / kSourceNames[s], ec);
      Problem(dir, std::string(there ? "the source " : "no folder or archive named ") + kSourceNames[s] +
                       (there ? " is damaged (not a folder and not a readable archive)" : ""));
      return false;
    }
  }
  return true;
}

bool CGameChecker::ReadEntry(int source, const std::string& name, std::vector<uint8_t>* out) {
  Trace("CGameChecker::ReadEntry");
  CFileJoin& s = *mpSource[source];
  std::string local = plat::FromUtf8(name);
  if (!s.Open(local.c_str())) return false;
  uint32_t size = s.GetSize();
  out->resize(size);
  bool ok = size == 0 || s.Read(out->data(), size) == size;
  s.Close();
  return ok;
}

bool CGameChecker::NeedPicture(const std::string& name, const std::string& where, int* elements) {
  Trace("CGameChecker::NeedPicture");
  std::string key = "MGD/" + Full(name, ".MGD");
  auto done = mChecked.find(key);
  if (done == mChecked.end()) {
    std::vector<uint8_t> data;
    CDIBSprite sprite;
    bool ok = false;
    if (!ReadEntry(kMgd, name, &data))
      Problem(where, "picture " + name + " is missing from MGD");
    else if (!sprite.ReadFromMemory(data.data(), data.size()))
      Problem(where, "picture " + name + " cannot be read");
    else
      ok = true;
    done = mChecked.emplace(key, ok).first;
    mElements[key] = ok ? sprite.GetSprtCount() : 0;
  }
  if (elements) *elements = mElements[key];
  return done->second;
}

bool CGameChecker::NeedHitMap(const std::string& name, const std::string& where, std::set<int>* regions) {
  Trace("CGameChecker::NeedHitMap");
  std::string key = "DATA/" + Full(name, ".DAT");
  auto done = mChecked.find(key);
  if (done == mChecked.end()) {
    std::vector<uint8_t> data, map(hitmap::kMapSize);
    bool ok = false;
    if (!ReadEntry(kData, name, &data))
      Problem(where, "hit map " + name + " is missing from DATA");
    else if (!hitmap::Decode(data.data(), data.size(), map.data()))
      Problem(where, "hit map " + name + " is not an 8-bit 800x600 bitmap");
    else
      ok = true;
    if (ok) mRegions[key] = std::set<int>(map.begin(), map.end());
    done = mChecked.emplace(key, ok).first;
  }
  if (regions) *regions = mRegions[key];
  return done->second;
}

bool CGameChecker::NeedSound(int source, const std::string& name, const std::string& where) {
  Trace("CGameChecker::NeedSound");
  if (name.empty()) return true;
  std::string key = std::string(kSourceNames[source]) + "/" + Full(name, ".OGG");
  auto done = mChecked.find(key);
  if (done != mChecked.end()) return done->second;
  std::vector<uint8_t> data;
  bool ok = false;
  if (!ReadEntry(source, name, &data))
    Problem(where, "sound " + name + " is missing from " + kSourceNames[source]);
  else if (!IsOggSignature(data.data(), data.size()))
    Problem(where, "sound " + name + " is not an Ogg file");
  else
    ok = true;
  mChecked[key] = ok;
  return ok;
}

bool CGameChecker::NeedData(const std::string& name, const std::string& where) {
  Trace("CGameChecker::NeedData");
  std::string key = "DATA/" + Full(name, ".DAT");
  auto done = mChecked.find(key);
  if (done != mChecked.end()) return done->second;
  std::vector<uint8_t> data;
  bool ok = ReadEntry(kData, name, &data) && !data.empty();
  if (!ok) Problem(where, name + " is missing from DATA");
  mChecked[key] = ok;
  return ok;
}

bool CGameChecker::NeedScenario(const std::string& name, const std::string& where) {
  Trace("CGameChecker::NeedScenario");
  std::string key = "MSD/" + Full(name, ".MSD");
  if (mChecked.count(key)) return mChecked[key];
  CSnrBuffer buffer;
  bool ok = Table(name, &buffer);
  if (!ok) Problem(where, "scenario " + name + " is missing from MSD or cannot be read");
  mChecked[key] = ok;
  return ok;
}

bool CGameChecker::Table(const std::string& name, CSnrBuffer* buffer) {
  Trace("CGameChecker::Table");
  std::vector<uint8_t> data;
  if (!ReadEntry(kMsd, name, &data)) return false;
  std::string local = plat::FromUtf8(name);
  return buffer->ReadMemory(local.c_str(), data.data(), data.size());
}

std::string CGameChecker::Text(CSnrBuffer& table, int a, int b, const std::string& fallback) {
  Trace("CGameChecker::Text");
  char text[512] = {0};
  table.SeekBegin(0);
  if (!table.GetSetupParam(a, b, "S", text)) return fallback;
  return plat::ToUtf8(text);
}

void CGameChecker::Frames(CSnrBuffer& table, const std::string& where, int a, int first, int last, int frames,
                          const std::string& parts) {
  Trace("CGameChecker::Frames");
  int count = 0;
  if (!NeedPicture(parts, where, &count)) return;
  for (int b = first; b <= last; ++b) {
    int32_t f[10] = {};
    table.SeekBegin(0);
    const char* sig = frames == 10 ? "NNNNNNNNNN" : "NNNNN";
    bool found = frames == 10 ? table.GetSetupParam(a, b, sig, &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &f[6], &f[7],
                                                    &f[8], &f[9])
                              : table.GetSetupParam(a, b, sig, &f[0], &f[1], &f[2], &f[3], &f[4]);
    if (!found) continue;
    for (int i = 0; i < frames; ++i)
      if (f[i] < 0 || f[i] >= count)
        Problem(where, "record " + std::to_string(b) + " names frame " + std::to_string(f[i]) + " of " + parts +
                           ", which has " + std::to_string(count) + " elements");
  }
}

void CGameChecker::Regions(CSnrBuffer& table, const std::string& where, int a, int first, int last,
                           const std::string& hitmap) {
  Trace("CGameChecker::Regions");
  std::set<int> regions;
  if (!NeedHitMap(hitmap, where, &regions)) return;
  for (int b = first; b <= last; ++b) {
    int32_t v = 0;
    table.SeekBegin(0);
    if (table.GetSetupParam(a, b, "N", &v) && !regions.count(v))
      Problem(where, "record " + std::to_string(b) + ": region " + std::to_string(v) + " is not in " + hitmap);
  }
}

void CGameChecker::CheckTitle() {
  Trace("CGameChecker::CheckTitle");
  CSnrBuffer t;
  if (!Table("TITLE", &t)) return Problem("TITLE", "the title's setup table is missing from MSD");
  char p[6][512] = {"TITLE01", "", "TITLE02", "", "TITLE", ""};
  t.SeekBegin(0);
  t.GetSetupParam(0, 0, "SSSSSS", p[0], p[1], p[2], p[3], p[4], p[5]);
  for (auto& name : p)
    if (name[0]) NeedPicture(plat::ToUtf8(name), "TITLE");
  std::string parts = Text(t, 0, 1, "TITLE_P"), hit = Text(t, 0, 2, "TITLE_C.BMP");
  Frames(t, "TITLE", 0, 30, 34, 5, parts);
  Regions(t, "TITLE", 0, 10, 14, hit);
  NeedSound(kBgm, Text(t, 0, 3, "M01"), "TITLE");
  NeedData(Text(t, 0, 4, "OP.MPG"), "TITLE");
}

void CGameChecker::CheckConf() {
  Trace("CGameChecker::CheckConf");
  CSnrBuffer t;
  if (!Table("CONF", &t)) return Problem("CONF", "the confirmation screen's setup table is missing from MSD");
  for (int m = 0; m < 5; ++m) NeedPicture(Text(t, 1, m, "CONF0" + std::to_string(m + 1) + "_B"), "CONF");
  std::string parts = Text(t, 1, 5, "CONF_P");
  Frames(t, "CONF", 1, 30, 31, 5, parts);
  Regions(t, "CONF", 1, 10, 11, "CONF_C.BMP");
}

void CGameChecker::CheckOption() {
  Trace("CGameChecker::CheckOption");
  CSnrBuffer t;
  if (!Table("OPTION", &t)) return Problem("OPTION", "the option screen's setup table is missing from MSD");
  NeedPicture(Text(t, 2, 0, "OPTION_B"), "OPTION");
  std::string parts = Text(t, 2, 1, "OPTION_P");
  for (int c = 0; c <= 18; ++c) {
    bool slider = c == 4 || c == 5 || c == 8 || c == 12 || c == 16;
    Frames(t, "OPTION", 2, 90 + c, 90 + c, slider ? 10 : 5, parts);
  }
  Regions(t, "OPTION", 2, 10, 28, Text(t, 2, 2, "OPTION_C.BMP"));
  NeedSound(kSe, Text(t, 2, 3, "TEST.OGG"), "OPTION");
  NeedSound(kVoice, Text(t, 2, 4, "TEST.OGG"), "OPTION");
}

void CGameChecker::CheckMesWnd() {
  Trace("CGameChecker::CheckMesWnd");
  CSnrBuffer t;
  if (!Table("MESWND", &t)) return Problem("MESWND", "the message window's setup table is missing from MSD");
  std::string parts = Text(t, 3, 0, "GAME_P.MGD");
  Frames(t, "MESWND", 3, 50, 56, 5, parts);
  Frames(t, "MESWND", 3, 57, 58, 10, parts);
  Frames(t, "MESWND", 3, 59, 61, 5, parts);
  int count = 0, icon[3] = {67, 663, 563};
  t.SeekBegin(0);
  t.GetSetupParam(3, 117, "NNN", &icon[0], &icon[1], &icon[2]);
  if (NeedPicture(parts, "MESWND", &count) && (icon[0] < 0 || icon[0] >= count))
    Problem("MESWND", "the wait icon is frame " + std::to_string(icon[0]) + " of " + parts + ", which has " +
                          std::to_string(count) + " elements");
  Regions(t, "MESWND", 3, 10, 21, Text(t, 3, 1, "GAME_C.BMP"));
  mNamePlates = Text(t, 3, 2, "NAME_P.MGD");
  if (!mNamePlates.empty()) NeedPicture(mNamePlates, "MESWND");
}

void CGameChecker::CheckSaveLoad() {
  Trace("CGameChecker::CheckSaveLoad");
  CSnrBuffer t;
  if (!Table("SAVELOAD", &t)) return Problem("SAVELOAD", "the save/load screen's setup table is missing from MSD");
  NeedPicture(Text(t, 4, 0, "SL_B.MGD"), "SAVELOAD");
  NeedPicture(Text(t, 4, 1, "SL_B.MGD"), "SAVELOAD");
  int32_t pages = 5, slots = 14;
  t.SeekBegin(0);
  t.GetSetupParam(4, 210, "NN", &pages, &slots);
  if (pages < 1 || pages > 5 || slots < 1 || slots + 6 > 26)
    Problem("SAVELOAD", "record 210: " + std::to_string(pages) + " pages of " + std::to_string(slots) +
                            " slots (1-5 pages, at most 20 slots)");
  int last = std::clamp(slots + 5, 5, 25);
  Frames(t, "SAVELOAD", 4, 100, 100 + last, 5, Text(t, 4, 2, "SL_P"));
  Regions(t, "SAVELOAD", 4, 10, 10 + last, Text(t, 4, 3, "SL_C.BMP"));
}

void CGameChecker::CheckOmake() {
  Trace("CGameChecker::CheckOmake");
  CSnrBuffer t;
  if (!Table("OMAKE", &t)) return Problem("OMAKE", "the extras screen's setup table is missing from MSD");
  int plates = 0;
  NeedPicture(Text(t, 5, 0, "MUSIC_P"), "OMAKE", &plates);
  // The music list, and a plate for every piece.
  t.SeekBegin(0);
  int music = 0;
  while (!t.IsFinish()) {
    int32_t n = 0;
    char name[512] = {0};
    if (!t.GetSetupParam(5, 1, "NS", &n, name)) break;
    NeedSound(kBgm, plat::ToUtf8(name), "OMAKE");
    ++music;
    t.NextCommand();
  }
  if (music > plates) Problem("OMAKE", std::to_string(music) + " pieces of music but " + std::to_string(plates) + " plates");
  for (int mode = 0; mode < 2; ++mode) {
    std::string where = mode ? "OMAKE (scenes)" : "OMAKE (gallery)";
    int base = 10 + 10 * mode;
    NeedPicture(Text(t, 5, base, mode ? "SCENE_B" : "CG_B"), where);
    std::string parts = Text(t, 5, base + 1, "OMAKE_P");
    Frames(t, where, 5, 500 + 100 * mode, 500 + 100 * mode + 35, 5, parts);
    Regions(t, where, 5, 100 + 100 * mode, 100 + 100 * mode + 35, Text(t, 5, base + 2, "OMAKE_C.BMP"));
    t.SeekBegin(0);
    while (!t.IsFinish()) {
      int32_t c = 0, page = 0;
      char thumbs[512] = {0};
      if (!t.GetSetupParam(5, base + 3, "NNS", &c, &page, thumbs)) break;
      NeedPicture(plat::ToUtf8(thumbs), where);
      t.NextCommand();
    }
  }
  char viewer[512] = "CGVIEW";
  int32_t vars[3] = {0, 1, 2};
  t.SeekBegin(0);
  t.GetSetupParam(5, 1400, "SNNN", viewer, &vars[0], &vars[1], &vars[2]);
  NeedScenario(plat::ToUtf8(viewer), "OMAKE");
}

void CGameChecker::CheckLists() {
  Trace("CGameChecker::CheckLists");
  CSnrBuffer cg, scenes;
  if (Table("CGLIST", &cg)) {
    for (cg.SeekBegin(0); !cg.IsFinish(); cg.NextCommand()) {
      if (cg.GetCmdID() != 0) continue;
      const uint8_t* p = cg.GetParam();
      int count = cg.GetNumParam();
      if (count < 4 || cg.GetValueParam(p) != 100) continue;
      for (int i = 0; i < count; ++i, p = cg.NextParam(p))
        if (i >= 4 && cg.IsStringParam(p)) {
          std::string name = plat::ToUtf8(cg.GetStringParam(p));
          mCgNames.insert(Full(name, ""));
          NeedPicture(name, "CGLIST");
        }
    }
  } else {
    Problem("CGLIST", "the gallery's list is missing from MSD");
  }
  if (Table("SCENELIST", &scenes)) {
    for (scenes.SeekBegin(0); !scenes.IsFinish(); scenes.NextCommand()) {
      if (scenes.GetCmdID() != 0 || scenes.GetNumParam() != 4) continue;
      const uint8_t* p = scenes.GetParam();
      if (scenes.GetValueParam(p) != 101) continue;
      for (int i = 0; i < 3; ++i) p = scenes.NextParam(p);
      std::string name = plat::ToUtf8(scenes.GetStringParam(p));
      mSceneNames.insert(Full(name, ""));
      NeedScenario(name, "SCENELIST");
    }
  } else {
    Problem("SCENELIST", "the scene list is missing from MSD");
  }
}

void CGameChecker::CheckScenario(const std::string& name) {
  Trace("CGameChecker::CheckScenario");
  CSnrBuffer s;
  if (!Table(name, &s)) return Problem(name, "cannot be read");
  std::map<int, std::string> voiceLists;
  for (s.SeekBegin(0); !s.IsFinish(); s.NextCommand()) {
    uint16_t id = s.GetCmdID();
    if (id == 0) continue;
    int count = s.GetNumParam();
    std::vector<const uint8_t*> p;
    for (const uint8_t* q = s.GetParam(); static_cast<int>(p.size()) < count; q = s.NextParam(q)) p.push_back(q);
    auto str = [&](int i) { return i < count && s.IsStringParam(p[i]) ? plat::ToUtf8(s.GetStringParam(p[i])) : std::string(); };
    auto num = [&](int i) { return i < count && !s.IsStringParam(p[i]) ? s.GetValueParam(p[i]) : 0; };
    char where[300];
    snprintf(where, sizeof where, "%s at %06x", name.c_str(), s.GetPos());
    switch (id) {
      case kLS: NeedScenario(str(0), where); break;
      case kIMREAD: NeedPicture(str(1), where); break;
      case kLYIMAGE: if (!str(1).empty()) NeedPicture(str(1), where); break;
      case kOVERLAP: {
        int effect = num(0) + 1;
        if ((effect == 3 || effect == 4) && !str(3).empty()) NeedPicture(str(3), where);
        if (effect == 6) NeedPicture(str(2), where);
        break;
      }
      case kCURSOR: if (!str(1).empty()) NeedData(str(1), where); break;
      case kMOVIE:
        NeedData(str(0), where);
        NeedSound(kBgm, str(1), where);
        break;
      case kBGMLIST: NeedSound(kBgm, str(1), where); break;
      case kBGMPLAY: if (!str(0).empty()) NeedSound(kBgm, str(0), where); break;
      case kVOICELIST: voiceLists[num(0)] = str(1); break;
      case kVOICEPLAY:
        if (count == 2) {
          NeedSound(kVoice, str(0), where);
        } else if (voiceLists.count(num(0))) {
          char file[300];
          snprintf(file, sizeof file, "%s%04d", voiceLists[num(0)].c_str(), num(1));
          NeedSound(kVoice, file, where);
        }
        break;
      case kSEPLAY: if (count == 3) NeedSound(kSe, str(0), where); break;
      case kSEREAD: NeedSound(kSe, str(1), where); break;
      case kMSG:
        NeedSound(kVoice, str(2), where);
        mMaxPlate = std::max(mMaxPlate, num(1));
        break;
      case kMESNAME: mMaxPlate = std::max(mMaxPlate, num(0)); break;
      case kMESVPLAY: NeedSound(kVoice, str(1), where); break;
      case kSELECT: if (!str(1).empty()) NeedPicture(str(1), where); break;
      case kSETCGFLAG:
        if (!mCgNames.count(Full(str(0), ""))) Problem(where, "SETCGFLAG " + str(0) + " is not in CGLIST");
        break;
      case kSETSCENEFLAG:
        if (!mSceneNames.count(Full(str(0), ""))) Problem(where, "SETSCENEFLAG " + str(0) + " is not in SCENELIST");
        break;
      case kSELITEM:
        NeedPicture(str(1), where);
        if (!str(7).empty()) NeedHitMap(str(7), where);
        break;
      case kSELRUN:
        NeedPicture(str(2), where);
        if (!str(3).empty()) NeedHitMap(str(3), where);
        break;
      case kACTMAKE: if (num(1) == 3) NeedPicture(str(6), where); break;
      case kSAVESAM: if (num(0) == 40) NeedPicture(str(1), where); break;
      default: break;
    }
  }
}

void CGameChecker::CheckScenarios() {
  Trace("CGameChecker::CheckScenarios");
  std::vector<std::string> names;
  CFileJoin& msd = *mpSource[kMsd];
  if (msd.GetMode() == CFileJoin::kModeArchive) {
    for (int i = 0; i < msd.GetEntryCount(); ++i) {
      ArchiveEntryInfo info;
      if (msd.GetEntryInfo(i, &info)) names.push_back(plat::ToUtf8(info.name));
    }
  } else {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(mDir) / "MSD", ec))
      if (e.is_regular_file(ec)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
  }
  static const char* const kTables[] = {"TITLE.MSD", "CONF.MSD", "OPTION.MSD", "MESWND.MSD", "SAVELOAD.MSD",
                                        "OMAKE.MSD", "CGLIST.MSD", "SCENELIST.MSD"};
  for (const auto& n : names) {
    std::string up = Full(n, ".MSD");
    if (std::find(std::begin(kTables), std::end(kTables), up) != std::end(kTables)) continue;
    CheckScenario(n);
  }
  if (mMaxPlate >= 0) {
    int plates = 0;
    if (mNamePlates.empty())
      Problem("MESWND", "the story uses name plates but the window has no name-plate picture");
    else if (NeedPicture(mNamePlates, "MESWND", &plates) && mMaxPlate >= plates)
      Problem("MESWND", "the story uses name plate " + std::to_string(mMaxPlate) + " but " + mNamePlates + " has " +
                            std::to_string(plates) + " elements");
  }
}

void CGameChecker::CheckStart() {
  Trace("CGameChecker::CheckStart");
  CSnrBuffer t;
  if (!Table("TITLE", &t)) Problem(mDir, "the title's setup table TITLE is missing from MSD");
  NeedScenario("START", mDir);
}

void CGameChecker::CheckAll() {
  Trace("CGameChecker::CheckAll");
  CheckTitle();
  CheckConf();
  CheckOption();
  CheckMesWnd();
  CheckSaveLoad();
  CheckOmake();
  CheckLists();
  NeedScenario("START", "the game");
  CheckScenarios();
}

}  // namespace gen
