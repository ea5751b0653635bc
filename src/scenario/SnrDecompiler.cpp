#include "scenario/SnrDecompiler.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "scenario/CommandTable.h"
#include "scenario/SnrBuffer.h"
#include "scenario/SnrRender.h"

namespace snr {

namespace {

struct Record {
  uint32_t offset;
  uint16_t id;
  uint32_t size;  // parameter bytes
};

// The whole records of the command area; `tail` gets where the bytes that
// form no whole record begin.
std::vector<Record> Records(const CSnrBuffer& buffer, uint32_t& tail) {
  std::vector<Record> records;
  const uint8_t* begin = buffer.GetData() + buffer.GetSize() - buffer.GetCommandSize();
  uint32_t size = buffer.GetCommandSize();
  uint32_t pos = 0;
  while (size - pos >= kRecordHeaderSize) {
    uint32_t p = Get16(begin + pos + 2);
    if (size - pos - kRecordHeaderSize < p) break;
    records.push_back({pos, Get16(begin + pos), p});
    pos += kRecordHeaderSize + p;
  }
  tail = pos;
  return records;
}

bool Load(CSnrBuffer& buffer, const uint8_t* data, size_t size, const char* phrase, DecompileResult& result) {
  if (!buffer.ReadMemory("", data, size, phrase)) {
    result.error = "not a scenario file, or scrambled with another title phrase";
    return false;
  }
  result.scrambled = !(size >= kMagicSize && memcmp(data, kMagic, kMagicSize) == 0);
  return true;
}

std::string Hex(uint32_t v) {
  char s[16];
  snprintf(s, sizeof s, "0x%x", v);
  return s;
}

}  // namespace

DecompileResult DecompileScenario(const uint8_t* data, size_t size, const char* phrase, TextEncoding encoding) {
  DecompileResult result;
  CSnrBuffer buffer;
  if (!Load(buffer, data, size, phrase, result)) return result;
  TextCodec codec(encoding);
  const uint8_t* file = buffer.GetData();
  const uint8_t* begin = file + buffer.GetSize() - buffer.GetCommandSize();
  uint32_t tail;
  std::vector<Record> records = Records(buffer, tail);
  const uint32_t end = buffer.GetCommandSize();

  std::set<uint32_t> boundaries{tail, end};
  for (const auto& r : records) boundaries.insert(r.offset);

  std::string head;  // header lines and everything placed by raw offset
  std::map<uint32_t, std::string> before;  // lines placed before the item at an offset
  auto line = [](std::string& to, const std::string& text) { to += text + "\n"; };

  // Header bytes nobody reads.
  for (uint32_t from : {kReservedWordOffset, kReservedBlockOffset}) {
    uint32_t n = from == kReservedWordOffset ? 4 : kReservedBlockSize;
    bool any = false;
    std::string bytes;
    for (uint32_t i = 0; i < n; ++i) {
      any = any || file[from + i];
      bytes += " " + std::to_string(file[from + i]);
    }
    if (any) line(head, ".reserved " + std::to_string(from) + bytes);
  }

  // Labels: at the commands they point to when their numbering follows the
  // text, otherwise by raw offset.
  uint32_t labels = buffer.GetLabelCount();
  bool inPlace = true;
  for (uint32_t i = 0; i < labels && inPlace; ++i) {
    uint32_t off = buffer.GetLabelOffset(i);
    inPlace = boundaries.count(off) && (i == 0 || off >= buffer.GetLabelOffset(i - 1));
  }
  for (uint32_t i = 0; i < labels; ++i) {
    uint32_t off = buffer.GetLabelOffset(i);
    if (inPlace)
      line(before[off], "*L" + std::to_string(i) + ":");
    else
      line(head, ".label *L" + std::to_string(i) + " " + Hex(off));
  }

  // Load points: "LPT n" records itself where table 0 says so; every
  // other entry that is not 0 gets a directive.
  std::set<uint32_t> selfRecording;  // offsets of LPT written by name
  std::set<uint32_t> covered;        // entries of table 0 they record
  for (const auto& r : records) {
    if (r.id != kCmdLPT || r.size < 5 || begin[r.offset + 4] != kParamInt) continue;
    int32_t n = GetS32(begin + r.offset + 5);
    if (n < 0 || static_cast<uint32_t>(n) >= buffer.GetLoadPointCount(0) || covered.count(n)) continue;
    if (buffer.GetLoadPointOffset(0, static_cast<uint32_t>(n)) != r.offset) continue;
    selfRecording.insert(r.offset);
    covered.insert(static_cast<uint32_t>(n));
  }
  for (int t = 0; t < kTableCount; ++t) {
    uint32_t count = buffer.GetLoadPointCount(t);
    uint32_t implied = 0;
    for (uint32_t n = 0; n < count; ++n) {
      uint32_t off = buffer.GetLoadPointOffset(t, n);
      if (t == 0 && covered.count(n)) {
        implied = n + 1;
        continue;
      }
      if (off == 0) continue;
      implied = n + 1;
      std::string entry = ".loadpoint " + std::to_string(t) + " " + std::to_string(n);
      if (boundaries.count(off))
        line(before[off], entry);
      else
        line(head, entry + " " + Hex(off));
    }
    if (count != implied) line(head, ".tablesize " + std::to_string(t) + " " + std::to_string(count));
  }

  std::string& out = result.text;
  if (result.scrambled) out += "# stored scrambled\n";
  out += head;
  RenderLabels names{labels};
  for (const auto& r : records) {
    out += before[r.offset];
    const uint8_t* first = begin + r.offset + kRecordHeaderSize;
    std::string params = RenderParams(r.id, first, first + r.size, codec, names);
    const char* name = CommandName(r.id);
    std::string text;
    if (r.id == kSetupRecordId)
      text = "DEF";
    else if (name && (r.id != kCmdLPT || selfRecording.count(r.offset)))
      text = name;
    else
      text = "CMD " + std::to_string(r.id) + (params.empty() ? "" : ",");
    line(out, params.empty() ? text : text + " " + params);
  }
  if (tail < end) {
    out += before[tail];
    std::string bytes = ".bytes <";
    for (uint32_t i = tail; i < end; ++i) bytes += (i == tail ? "" : " ") + std::string(1, "0123456789abcdef"[begin[i] >> 4]) + "0123456789abcdef"[begin[i] & 15];
    line(out, bytes + ">");
  }
  out += before[end];
  result.ok = true;
  return result;
}

DecompileResult DumpScenario(const uint8_t* data, size_t size, const char* phrase, TextEncoding encoding) {
  DecompileResult result;
  CSnrBuffer buffer;
  if (!Load(buffer, data, size, phrase, result)) return result;
  TextCodec codec(encoding);
  const uint8_t* begin = buffer.GetData() + buffer.GetSize() - buffer.GetCommandSize();
  uint32_t tail;
  RenderLabels names{buffer.GetLabelCount()};
  for (const auto& r : Records(buffer, tail)) {
    const uint8_t* first = begin + r.offset + kRecordHeaderSize;
    const char* name = r.id == kSetupRecordId ? "DEF" : CommandName(r.id);
    char head[64];
    snprintf(head, sizeof head, "%08x %5u %-13s", r.offset, r.id, name ? name : "?");
    std::string params = RenderParams(r.id, first, first + r.size, codec, names);
    std::string text = params.empty() ? std::string(head) : std::string(head) + " " + params;
    while (!text.empty() && text.back() == ' ') text.pop_back();
    result.text += text + "\n";
  }
  if (tail < buffer.GetCommandSize()) {
    char note[64];
    snprintf(note, sizeof note, "%08x (%u bytes that form no whole command)\n", tail, buffer.GetCommandSize() - tail);
    result.text += note;
  }
  result.ok = true;
  return result;
}

}  // namespace snr
