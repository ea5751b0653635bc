// The shared store of everything that outlives a frame: scenario variables,
// the music, voice, effect and picture slots the scenario declares, the
// player's settings, the read-text bits of every scenario file, the gallery
// and scene unlock flags, the thumbnail and subtitle of the next save. It
// writes and reads the saved games and "CONFIG.SAV".
//
// One object, owned by the application; the interpreter, the message window
// and the screens read and write its members directly. It is large (the
// gallery list alone is 2.5 MB): make it with new, never on the stack.
#pragma once
#include <cstdint>

#include "save/SaveTypes.h"

class CDIBImage;
class CDIBSprite;
struct SavedGame;

class CSaveData {
 public:
  CSaveData();
  virtual ~CSaveData();
  CSaveData(const CSaveData&) = delete;
  CSaveData& operator=(const CSaveData&) = delete;

  virtual bool Initialize();
  virtual void Release();

  bool SaveGame(int slot);
  bool LoadGame(int slot);
  // The subtitle (64 bytes) of a saved game and, when asked, a new thumbnail
  // image (the caller deletes it) and the file's last-write time as a
  // 64-bit file time. Uses no member.
  static bool GetSubTitle(int slot, char* subTitle, CDIBImage** image, uint64_t* time);
  bool CreateSaveSum(CDIBImage* source);

  bool SaveConfig();
  bool LoadConfig();

  KidokuData* SearchKidokuBuff(const char* name);
  bool SetupKidoku(KidokuData* record, int n);
  bool CheckKidokuFlag(int n);
  void SetKidokuFlag(int n);

  void SetCGFlag(const char* name);
  void SetSceneFlag(const char* name);
  bool ReadCGList();
  bool ReadSceneList();

  // Creates every missing folder of the path.
  static bool CreateDirectoryA(const char* path);
  // The path exists and is a folder.
  static bool IsExistFile(const char* path);

  ConfigRecord mConfig;
  CDIBImage* mpSumImage = nullptr;
  int32_t mSumType = 0;
  char mSumParam[64] = {};
  int32_t mVariable[kVariableCount] = {};
  char mStrVariable[kStrVariableCount][kNameLen] = {};
  CDIBSprite* mpPicture[kSlotCount] = {};
  char mBGMList[kSlotCount][kNameLen] = {};
  int32_t mSEHandle[kSlotCount] = {};
  char mVoiceList[kSlotCount][kNameLen] = {};
  char mszSubTitle[kNameLen] = {};
  SelItemData mSelItem[kSlotCount];
  uint8_t* mpStateBuf = nullptr;
  uint32_t mdwStateSize = 0;
  char mszSnrName[256] = {};
  KidokuData mKidoku[kKidokuCount];
  uint8_t mCGFlag[kCGGroups][kCGEntries][kCGVariants] = {};
  uint8_t mSceneFlag[kSceneGroups][kSceneEntries] = {};
  bool mbReplay = false;

  // The gallery and scene lists, read from "CGLIST" and "SCENELIST".
  char mCGList[kCGGroups][kCGEntries][kCGVariants][kNameLen] = {};
  int32_t mCGCount[kCGGroups] = {};
  char mSceneList[kSceneGroups][kSceneEntries][kNameLen] = {};
  int32_t mSceneCount[kSceneGroups] = {};

  // The 32-bit value of `mSumParam` (a colour 0xFFRRGGBB or a strength).
  uint32_t GetSumValue() const;
  void SetSumValue(uint32_t value);

 private:
  void FreeKidoku();
  // Picture slots: given back to the cache, named in a save, re-read.
  void FreePictures();
  void StorePictures(SavedGame& game) const;
  void LoadPictures(const SavedGame& game);
  // Music and effects: recorded in a save and restarted from it.
  void StoreSound(SavedGame& game) const;
  void RestartSound(const SavedGame& game);
};
