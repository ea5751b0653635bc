// A saved game, "GAME%02d.SAV": a signature that names the product, the main
// block (subtitle, thumbnail, variables, names of pictures, music, effects
// and voices) and the scenario screen's state record, scrambled. The reader
// checks every size against the file before it takes anything, so a damaged
// file is refused whole and never half-loaded.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "save/SaveTypes.h"

// The 32 lower-case hexadecimal characters of a text's MD5 digest.
using HexDigestFn = std::string (*)(const std::string& text);

inline constexpr size_t kGameHeadSize = 112;     // signature, S, subtitle, T, width, height
inline constexpr size_t kGameFixedSize = 78678;  // the whole file without T and L
inline constexpr uint32_t kGameBlockBase = 78642;  // S = this + T
inline constexpr int kMaxSumSide = 4096;

struct GameSE {
  char name[32] = {};
  bool play = false;
  bool loop = false;
};

struct SavedGame {
  char subTitle[kNameLen] = {};
  int32_t sumWidth = 0;
  int32_t sumHeight = 0;
  std::vector<uint32_t> sumPixels;  // sumWidth × sumHeight, empty for none
  int32_t variable[kGameVariableCount] = {};
  char snrName[256] = {};
  char strVariable[kStrVariableCount][kNameLen] = {};
  char picture[kSlotCount][kNameLen] = {};
  char bgmList[kSlotCount][kNameLen] = {};
  char bgmName[kNameLen] = {};
  bool bgmPlay = false;
  bool bgmLoop = false;
  GameSE se[kSlotCount];
  char voiceList[kSlotCount][kNameLen] = {};
  std::vector<uint8_t> state;  // plain, at most 1 MiB
};

// The signature text: digest of the title phrase followed by "SaveData".
std::string GameSignature(const char* phrase, HexDigestFn digest);
// XORs block i of 32 bytes with the digest of the phrase followed by i;
// the same call undoes it.
void ScrambleState(uint8_t* data, size_t size, const char* phrase, HexDigestFn digest);

std::vector<uint8_t> BuildGameFile(const SavedGame& game, const char* phrase, HexDigestFn digest);

enum class GameFileError { kNone, kShort, kSignature, kThumbnail, kState };
const char* GameFileErrorText(GameFileError e);

// The whole file. Fails on a short file, a signature of another product, a
// thumbnail size that is not width × height × 4 (or absurd), or a state
// record longer than 1 MiB or than the file. Inspection tools may skip the
// signature test; the state then unscrambles only with the right phrase.
GameFileError ParseGameFile(const uint8_t* bytes, size_t size, const char* phrase, HexDigestFn digest,
                            SavedGame& out, bool checkSignature = true);
// True when the file starts with this product's signature (case ignored).
bool HasGameSignature(const uint8_t* bytes, size_t size, const char* phrase, HexDigestFn digest);

// Only the head (for the save list): the subtitle and, when `wantSum`, the
// thumbnail.
struct GameHead {
  char subTitle[kNameLen] = {};
  int32_t sumWidth = 0;
  int32_t sumHeight = 0;
  uint32_t sumSize = 0;
  std::vector<uint32_t> sumPixels;
};
GameFileError ParseGameHead(const uint8_t* bytes, size_t size, const char* phrase, HexDigestFn digest,
                            bool wantSum, GameHead& out);
