// Compiled scenario files: reading, walking and decoding every command,
// jumps, setup records, the saved position, and the decompiler, whose text
// must compile back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "scenario/SnrBuffer.h"
#include "scenario/SnrCompiler.h"
#include "scenario/SnrDecompiler.h"

namespace {

class FuzzBuffer : public CSnrBuffer {
 public:
  const uint8_t* mData = nullptr;
  size_t mSize = 0;
  bool Read(const char* name) override { return ReadMemory(name, mData, mSize, "KEY"); }
};

int32_t gValues[2000];
char gStrings[256][64];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBuffer buffer;
  buffer.mData = data;
  buffer.mSize = size;
  if (!buffer.Read("FUZZ")) return 0;
  for (int i = 0; i < 2000; ++i) gValues[i] = i * 7 - 3000;
  // Full string variables without a terminator.
  memset(gStrings, 'v', sizeof gStrings);
  buffer.SetValList(gValues);
  for (int i = 0; i < 256; ++i) buffer.SetStrList(i, gStrings[i]);

  for (; !buffer.IsFinish(); buffer.NextCommand()) {
    (void)buffer.GetCmdID();
    int count = buffer.GetNumParam();
    const uint8_t* p = buffer.GetParam();
    for (int i = 0; i <= count; ++i, p = buffer.NextParam(p)) {
      if (buffer.IsStringParam(p)) (void)strlen(buffer.GetStringParam(p));
      (void)buffer.GetValueParam(p);
    }
  }
  for (uint32_t i = 0; i < buffer.GetLabelCount() && i < 64; ++i)
    if (buffer.JumpToLabel(static_cast<int>(i))) (void)buffer.GetNumParam();
  for (int t = 0; t < 256; ++t)
    if (buffer.JumpToLoadPoint(t, 0)) (void)buffer.GetCmdID();

  buffer.SeekBegin(0);
  while (!buffer.IsFinish()) {
    bool flag;
    int32_t number;
    char text[16];
    buffer.GetSetupParam(1, 0, "BNS", &flag, &number, text);
    buffer.NextCommand();
  }

  uint8_t saved[CSnrBuffer::kSaveSizeMax];
  uint8_t* end = buffer.Save(saved);
  FuzzBuffer other;
  other.mData = data;
  other.mSize = size;
  if (other.Load(saved, static_cast<size_t>(end - saved)) != end) abort();
  if (other.GetPos() != buffer.GetPos()) abort();
  // The input read as a saved position too, as a hostile saved game gives
  // it: whatever it names, the position and return stack must stay inside.
  FuzzBuffer restored;
  restored.mData = data;
  restored.mSize = size;
  if (const uint8_t* after = restored.Load(data, size)) {
    if (after < data || after > data + size || restored.GetPos() > restored.GetCommandSize()) abort();
    (void)restored.GetNumParam();
    uint8_t again[CSnrBuffer::kSaveSizeMax];
    (void)restored.Save(again);
  }

  snr::DecompileResult d = snr::DecompileScenario(data, size, "KEY", snr::TextEncoding::kSjis);
  if (!d.ok) abort();
  snr::CompileResult c = snr::CompileScenario(d.text, "fuzz.txt", snr::TextEncoding::kSjis);
  if (!c.ok || c.file.size() != buffer.GetSize() || memcmp(c.file.data(), buffer.GetData(), c.file.size()) != 0)
    abort();
  (void)snr::DumpScenario(data, size, "KEY", snr::TextEncoding::kGbk);
  return 0;
}
