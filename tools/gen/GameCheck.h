// Checks a game folder the way the game will use it: the six file sources
// open; the setup tables of the screens, the gallery and scene lists and
// every scenario read; and every picture, hit map, sound, movie and
// scenario they name exists and can be read, with the frames and regions
// the screens' controls use. Each problem is one line naming where it was
// found and what is missing.
#pragma once
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "assets/FileJoin.h"

class CSnrBuffer;

namespace gen {

class CGameChecker {
 public:
  CGameChecker();
  ~CGameChecker();
  // Opens the six sources of `dir`. False (with the problem) when one is
  // missing or cannot be read; nothing else can be checked then.
  bool Open(const std::string& dir);
  // Checks the tables, lists and scenarios (after Open).
  void CheckAll();
  // Checks only what the game needs to start: its title table and START.
  void CheckStart();
  const std::vector<std::string>& Problems() const { return mProblems; }
  // Files looked at, by kind, for the summary.
  size_t CheckedFiles() const { return mChecked.size(); }

 private:
  enum Source { kData, kMgd, kMsd, kSe, kBgm, kVoice, kSourceCount };
  bool ReadEntry(int source, const std::string& name, std::vector<uint8_t>* out);
  void Problem(const std::string& where, const std::string& what);
  // Each Need* checks a file once and returns false (having reported) when
  // it cannot be used.
  bool NeedPicture(const std::string& name, const std::string& where, int* elements = nullptr);
  bool NeedHitMap(const std::string& name, const std::string& where, std::set<int>* regions = nullptr);
  bool NeedSound(int source, const std::string& name, const std::string& where);
  bool NeedData(const std::string& name, const std::string& where);
  bool NeedScenario(const std::string& name, const std::string& where);
  bool Table(const std::string& name, CSnrBuffer* buffer);
  std::string Text(CSnrBuffer& table, int a, int b, const std::string& fallback);
  // The frames of controls (records first..last of key a, each giving
  // `frames` frame numbers) must lie in the parts picture.
  void Frames(CSnrBuffer& table, const std::string& where, int a, int first, int last, int frames,
              const std::string& parts);
  // The hit values of controls (records first..last of key a) must be
  // regions of the hit map.
  void Regions(CSnrBuffer& table, const std::string& where, int a, int first, int last, const std::string& hitmap);
  void CheckTitle();
  void CheckConf();
  void CheckOption();
  void CheckMesWnd();
  void CheckSaveLoad();
  void CheckOmake();
  void CheckLists();
  void CheckScenarios();
  void CheckScenario(const std::string& name);

  std::string mDir;
  std::unique_ptr<CFileJoin> mpSource[kSourceCount];
  std::vector<std::string> mProblems;
  std::map<std::string, bool> mChecked;
  std::map<std::string, int> mElements;
  std::map<std::string, std::set<int>> mRegions;
  std::set<std::string> mCgNames, mSceneNames;
  int mMaxPlate = -1;
  std::string mNamePlates = "NAME_P.MGD";
};

}  // namespace gen
