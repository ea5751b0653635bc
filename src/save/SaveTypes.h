// The records the save data keeps: the player's settings, one scenario
// file's read-text bits, and a choice item declared by the scenario.
#pragma once
#include <cstdint>
#include <memory>

// Sizes shared by the store and its two files.
inline constexpr int kVariableCount = 2000;
inline constexpr int kGameVariableCount = 1000;  // 0..999 travel with a saved game
inline constexpr int kStrVariableCount = 256;
inline constexpr int kNameLen = 64;
inline constexpr int kSlotCount = 256;  // picture slots, music/voice names, effects, choice items
inline constexpr int kKidokuCount = 1000;
inline constexpr int kCGGroups = 20;
inline constexpr int kCGEntries = 100;
inline constexpr int kCGVariants = 20;
inline constexpr int kSceneGroups = 20;
inline constexpr int kSceneEntries = 20;
inline constexpr uint32_t kStateBufSize = 1048576;
inline constexpr int kSumWidth = 160;
inline constexpr int kSumHeight = 120;

// The player's settings: 32 bytes at the end of "CONFIG.SAV".
struct ConfigRecord {
  bool bFullScreen = false;
  int32_t nSkipMode = 1;  // 1: skip only text already read; 0: skip all
  int32_t nMesSpeed = 128;
  int32_t nAutoSpeed = 128;
  bool bBGM = true;
  bool bSE = true;
  bool bVoice = true;
  int32_t nBGMVol = 128;
  int32_t nSEVol = 128;
  int32_t nVoiceVol = 128;
};

// Which messages of one scenario file have been shown: bit i (byte i / 8,
// value 1 << (i % 8)) for message i. A record without a block is free.
struct KidokuData {
  char szName[kNameLen] = {};
  std::unique_ptr<uint8_t[]> pFlags;
  uint32_t dwSize = 0;
};

// A choice button the scenario declared for the next choice screen.
struct SelItemData {
  char szParts[kNameLen] = {};
  int32_t nFrame[5] = {};  // normal, focused, pressed, disabled, focused-disabled
  char szHitFName[kNameLen] = {};
  int32_t nID = 0;
  int32_t x = 0;
  int32_t y = 0;
  bool bEnable = false;
  int32_t nJump[5] = {};  // Up, Down, Left, Right, Tab
};
