#include "save/ConfigFile.h"

#include <algorithm>
#include <cstring>

#include "save/ByteIO.h"

namespace {

int32_t Clamp255(int32_t v) { return std::clamp<int32_t>(v, 0, 255); }

bool Fail(std::string* why, const char* text) {
  if (why) *why = text;
  return false;
}

}  // namespace

void WriteConfigRecord(const ConfigRecord& c, uint8_t out[32]) {
  std::vector<uint8_t> v;
  CByteWriter w(v);
  w.U8(c.bFullScreen ? 1 : 0);
  w.Zeros(3);
  w.I32(c.nSkipMode);
  w.I32(c.nMesSpeed);
  w.I32(c.nAutoSpeed);
  w.U8(c.bBGM ? 1 : 0);
  w.U8(c.bSE ? 1 : 0);
  w.U8(c.bVoice ? 1 : 0);
  w.U8(0);
  w.I32(c.nBGMVol);
  w.I32(c.nSEVol);
  w.I32(c.nVoiceVol);
  memcpy(out, v.data(), 32);
}

ConfigRecord ReadConfigRecord(const uint8_t in[32]) {
  CByteReader r(in, 32);
  ConfigRecord c;
  c.bFullScreen = r.U8() != 0;
  r.Skip(3);
  c.nSkipMode = r.I32() != 0 ? 1 : 0;
  c.nMesSpeed = Clamp255(r.I32());
  c.nAutoSpeed = Clamp255(r.I32());
  c.bBGM = r.U8() != 0;
  c.bSE = r.U8() != 0;
  c.bVoice = r.U8() != 0;
  r.Skip(1);
  c.nBGMVol = Clamp255(r.I32());
  c.nSEVol = Clamp255(r.I32());
  c.nVoiceVol = Clamp255(r.I32());
  return c;
}

std::vector<uint8_t> BuildConfigFile(const ConfigFileData& d) {
  std::vector<uint8_t> out;
  size_t size = kConfigFixedSize;
  for (const auto& k : d.kidoku) size += kConfigRecordHead + k.bits.size();
  out.reserve(size);
  CByteWriter w(out);
  for (int32_t v : d.globals) w.I32(v);
  w.U32(static_cast<uint32_t>(d.kidoku.size()));
  for (const auto& k : d.kidoku) {
    // The name sits in the first 64 bytes of its 256-byte field.
    w.Text(k.name.c_str(), kNameLen);
    w.Zeros(256 - kNameLen);
    w.U32(static_cast<uint32_t>(k.bits.size()));
    w.Bytes(k.bits.data(), k.bits.size());
  }
  w.Bytes(d.cgFlag, sizeof d.cgFlag);
  w.Bytes(d.sceneFlag, sizeof d.sceneFlag);
  uint8_t rec[32];
  WriteConfigRecord(d.config, rec);
  w.Bytes(rec, sizeof rec);
  return out;
}

bool ParseConfigFile(const uint8_t* bytes, size_t size, ConfigFileData& out, std::string* why) {
  if (size < kConfigFixedSize) return Fail(why, "shorter than the fixed part");
  CByteReader r(bytes, size);
  ConfigFileData d;
  for (int32_t& v : d.globals) v = r.I32();
  uint32_t n = r.U32();
  if (n > static_cast<uint32_t>(kKidokuCount)) return Fail(why, "more than 1000 read-text records");
  // Everything after the records is fixed: the records must fill exactly the rest.
  size_t recordBytes = size - kConfigFixedSize;
  d.kidoku.reserve(n);
  for (uint32_t i = 0; i < n; ++i) {
    if (recordBytes < kConfigRecordHead) return Fail(why, "a read-text record runs past the end");
    ConfigKidoku k;
    char name[kNameLen];
    r.Text(name, 256, kNameLen);
    k.name = name;
    uint32_t s = r.U32();
    recordBytes -= kConfigRecordHead;
    if (s > recordBytes) return Fail(why, "a read-text record runs past the end");
    k.bits.resize(s);
    r.Bytes(k.bits.data(), s);
    recordBytes -= s;
    d.kidoku.push_back(std::move(k));
  }
  if (recordBytes != 0) return Fail(why, "size does not match the records");
  r.Bytes(d.cgFlag, sizeof d.cgFlag);
  r.Bytes(d.sceneFlag, sizeof d.sceneFlag);
  uint8_t rec[32];
  r.Bytes(rec, sizeof rec);
  if (!r.Ok() || r.Left() != 0) return Fail(why, "size does not match the records");
  d.config = ReadConfigRecord(rec);
  out = std::move(d);
  return true;
}
