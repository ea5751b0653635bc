// Reading a scenario file from the scenario file source.
#include "app/core/Trace.h"
#include "scenario/SnrBuffer.h"

bool CSnrBuffer::Read(const char* name) {
  Trace("CSnrBuffer::Read");
  Release();
  (void)name;
  return false;  // NOT DONE: waits for the file sources
}
