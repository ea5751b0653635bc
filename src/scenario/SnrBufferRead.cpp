// Reading a scenario file from the scenario file source.
#include <new>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/FileJoin.h"
#include "scenario/SnrBuffer.h"

bool CSnrBuffer::Read(const char* name) {
  Trace("CSnrBuffer::Read");
  Release();
  CFileJoin* source = gpMainWindow ? gpMainWindow->mpFileJoin[kJoinMsd] : nullptr;
  if (!source || !name || !source->Open(name)) return false;
  uint32_t size = source->GetSize();
  uint8_t* data = new (std::nothrow) uint8_t[size ? size : 1];
  uint32_t got = data && size ? source->Read(data, size) : 0;
  source->Close();
  if (!data || got != size) {
    delete[] data;
    return false;
  }
  return Attach(name, data, size, nullptr);
}
