#include "save/GameFile.h"

#include <strings.h>

#include <cstdio>
#include <algorithm>
#include <cstring>

#include "save/ByteIO.h"

namespace {

constexpr size_t kSigLen = 32;
constexpr size_t kStateLenOffset = 78674;  // + T

struct Layout {
  uint32_t sumSize = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint32_t stateSize = 0;
};

// Checks the signature and every size the file declares against its length.
GameFileError CheckLayout(const uint8_t* bytes, size_t size, const char* phrase, HexDigestFn digest, Layout& lay,
                          bool checkSignature = true) {
  if (size < kGameFixedSize) return GameFileError::kShort;
  if (checkSignature && !HasGameSignature(bytes, size, phrase, digest)) return GameFileError::kSignature;
  CByteReader r(bytes + 100, 12);
  lay.sumSize = r.U32();
  lay.width = r.I32();
  lay.height = r.I32();
  if (lay.sumSize != 0) {
    if (lay.width < 1 || lay.height < 1 || lay.width > kMaxSumSide || lay.height > kMaxSumSide)
      return GameFileError::kThumbnail;
    if (static_cast<uint64_t>(lay.width) * static_cast<uint64_t>(lay.height) * 4 != lay.sumSize)
      return GameFileError::kThumbnail;
  }
  if (size - kGameFixedSize < lay.sumSize) return GameFileError::kShort;
  CByteReader l(bytes + kStateLenOffset + lay.sumSize, 4);
  lay.stateSize = l.U32();
  if (lay.stateSize > kStateBufSize) return GameFileError::kState;
  if (size - kGameFixedSize - lay.sumSize < lay.stateSize) return GameFileError::kShort;
  return GameFileError::kNone;
}

void ReadPixels(CByteReader& r, std::vector<uint32_t>& px, uint32_t sumSize) {
  px.resize(sumSize / 4);
  for (uint32_t& p : px) p = r.U32();
}

void Names(CByteWriter& w, const char (*names)[kNameLen], int count) {
  for (int i = 0; i < count; ++i) w.Text(names[i], kNameLen);
}

void Names(CByteReader& r, char (*names)[kNameLen], int count) {
  for (int i = 0; i < count; ++i) r.Text(names[i], kNameLen, kNameLen);
}

}  // namespace

bool HasGameSignature(const uint8_t* bytes, size_t size, const char* phrase, HexDigestFn digest) {
  std::string sig = GameSignature(phrase, digest);
  return size >= kSigLen && sig.size() == kSigLen &&
         strncasecmp(reinterpret_cast<const char*>(bytes), sig.c_str(), kSigLen) == 0;
}

std::string GameSignature(const char* phrase, HexDigestFn digest) {
  return digest(std::string(phrase ? phrase : "") + "SaveData");
}

void ScrambleState(uint8_t* data, size_t size, const char* phrase, HexDigestFn digest) {
  std::string base(phrase ? phrase : "");
  for (size_t i = 0; i * 32 < size; ++i) {
    std::string key = digest(base + std::to_string(i));
    size_t n = std::min<size_t>(32, size - i * 32);
    for (size_t j = 0; j < n && j < key.size(); ++j) data[i * 32 + j] ^= static_cast<uint8_t>(key[j]);
  }
}

std::vector<uint8_t> BuildGameFile(const SavedGame& g, const char* phrase, HexDigestFn digest) {
  uint32_t sumSize = static_cast<uint32_t>(g.sumPixels.size() * 4);
  uint32_t stateSize = static_cast<uint32_t>(std::min<size_t>(g.state.size(), kStateBufSize));
  std::vector<uint8_t> out;
  out.reserve(kGameFixedSize + sumSize + stateSize);
  CByteWriter w(out);
  std::string sig = GameSignature(phrase, digest);
  sig.resize(kSigLen, '0');
  w.Bytes(sig.data(), kSigLen);
  w.U32(kGameBlockBase + sumSize);
  w.Text(g.subTitle, kNameLen);
  w.U32(sumSize);
  w.I32(sumSize ? g.sumWidth : 0);
  w.I32(sumSize ? g.sumHeight : 0);
  for (uint32_t p : g.sumPixels) w.U32(p);
  for (int32_t v : g.variable) w.I32(v);
  w.Text(g.snrName, sizeof g.snrName);
  Names(w, g.strVariable, kStrVariableCount);
  Names(w, g.picture, kSlotCount);
  Names(w, g.bgmList, kSlotCount);
  w.Text(g.bgmName, kNameLen);
  w.U8(g.bgmPlay ? 1 : 0);
  w.U8(g.bgmLoop ? 1 : 0);
  for (const GameSE& se : g.se) {
    w.Text(se.name, sizeof se.name);
    w.U8(se.name[0] && se.play ? 1 : 0);
    w.U8(se.name[0] && se.loop ? 1 : 0);
  }
  Names(w, g.voiceList, kSlotCount);
  w.U32(stateSize);
  size_t at = out.size();
  w.Bytes(g.state.data(), stateSize);
  ScrambleState(out.data() + at, stateSize, phrase, digest);
  return out;
}

const char* GameFileErrorText(GameFileError e) {
  switch (e) {
    case GameFileError::kNone: return "ok";
    case GameFileError::kShort: return "file too short for its contents";
    case GameFileError::kSignature: return "signature does not match";
    case GameFileError::kThumbnail: return "thumbnail size does not match width x height x 4";
    case GameFileError::kState: return "state record longer than 1 MiB";
  }
  return "?";
}

GameFileError ParseGameFile(const uint8_t* bytes, size_t size, const char* phrase, HexDigestFn digest,
                            SavedGame& out, bool checkSignature) {
  Layout lay;
  if (GameFileError e = CheckLayout(bytes, size, phrase, digest, lay, checkSignature); e != GameFileError::kNone)
    return e;
  CByteReader r(bytes, size);
  r.Skip(36);
  r.Text(out.subTitle, kNameLen, kNameLen);
  r.Skip(12);
  out.sumWidth = lay.sumSize ? lay.width : 0;
  out.sumHeight = lay.sumSize ? lay.height : 0;
  ReadPixels(r, out.sumPixels, lay.sumSize);
  for (int32_t& v : out.variable) v = r.I32();
  r.Text(out.snrName, sizeof out.snrName, sizeof out.snrName);
  Names(r, out.strVariable, kStrVariableCount);
  Names(r, out.picture, kSlotCount);
  Names(r, out.bgmList, kSlotCount);
  r.Text(out.bgmName, kNameLen, kNameLen);
  out.bgmPlay = r.U8() != 0;
  out.bgmLoop = r.U8() != 0;
  for (GameSE& se : out.se) {
    r.Text(se.name, sizeof se.name, sizeof se.name);
    se.play = r.U8() != 0;
    se.loop = r.U8() != 0;
  }
  Names(r, out.voiceList, kSlotCount);
  r.Skip(4);
  out.state.resize(lay.stateSize);
  r.Bytes(out.state.data(), lay.stateSize);
  ScrambleState(out.state.data(), out.state.size(), phrase, digest);
  return r.Ok() ? GameFileError::kNone : GameFileError::kShort;
}

GameFileError ParseGameHead(const uint8_t* bytes, size_t size, const char* phrase, HexDigestFn digest,
                            bool wantSum, GameHead& out) {
  Layout lay;
  if (GameFileError e = CheckLayout(bytes, size, phrase, digest, lay); e != GameFileError::kNone) return e;
  CByteReader r(bytes, size);
  r.Skip(36);
  r.Text(out.subTitle, kNameLen, kNameLen);
  r.Skip(12);
  out.sumSize = lay.sumSize;
  out.sumWidth = lay.sumSize ? lay.width : 0;
  out.sumHeight = lay.sumSize ? lay.height : 0;
  if (wantSum) ReadPixels(r, out.sumPixels, lay.sumSize);
  return r.Ok() ? GameFileError::kNone : GameFileError::kShort;
}
