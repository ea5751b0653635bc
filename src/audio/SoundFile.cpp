#include "audio/SoundFile.h"

#include <new>

#include "assets/FileJoin.h"

bool ReadSoundFile(CFileJoin* fileJoin, const char* name, std::unique_ptr<uint8_t[]>& data, uint32_t& size) {
  data.reset();
  size = 0;
  if (!fileJoin || !name || !fileJoin->Open(name)) return false;
  uint32_t n = fileJoin->GetSize();
  std::unique_ptr<uint8_t[]> block(n ? new (std::nothrow) uint8_t[n] : nullptr);
  if (!block) {
    fileJoin->Close();
    return false;
  }
  uint32_t got = fileJoin->Read(block.get(), n);
  fileJoin->Close();
  if (got != n) return false;
  data = std::move(block);
  size = n;
  return true;
}
