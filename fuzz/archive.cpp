// Archive files as a file source reads them: header, entry tables, FJSYS
// name tables, lookup and reading of every entry, the Multi operations.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/File.h"
#include "assets/FileJoin.h"

namespace {

std::string gScratch;

void RemoveScratch() {
  unlink((gScratch + "MGD").c_str());
  rmdir(gScratch.c_str());
}

// One folder for the run, removed at exit; each input becomes its archive.
const std::string& ScratchDir() {
  if (gScratch.empty()) {
    // Memory-backed when the system has it: one file is written per input.
    char tmpl[] = "/dev/shm/velto-fuzz-archive-XXXXXX";
    char fallback[] = "/tmp/velto-fuzz-archive-XXXXXX";
    const char* made = mkdtemp(tmpl);
    if (!made) made = mkdtemp(fallback);
    if (!made) abort();
    gScratch = std::string(made) + "/";
    atexit(RemoveScratch);
  }
  return gScratch;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& dir = ScratchDir();
  std::string path = dir + "MGD";
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return 0;
  fwrite(data, 1, size, f);
  fclose(f);

  CFileJoin join;
  if (!join.Initialize(dir.c_str(), "MGD", ".MGD")) return 0;
  static std::vector<char> buffer(1 << 16);
  ArchiveEntryInfo info;
  for (int i = 0; i < 16 && join.GetEntryInfo(i, &info); ++i) {
    if (join.Open(info.name.c_str())) {
      uint32_t n = join.GetSize();
      if (n > buffer.size()) n = static_cast<uint32_t>(buffer.size());
      join.Seek(0);
      join.Read(buffer.data(), n);
      join.Close();
    }
    intptr_t token = join.OpenMulti(info.name.c_str());
    if (token) {
      FileHandle h = join.GetHandleMulti(token);
      uint32_t n = join.GetSizeMulti(token);
      if (n > buffer.size()) n = static_cast<uint32_t>(buffer.size());
      FileReadAt(h, buffer.data(), n, join.GetBeginOffsetMulti64(token));
      FileCloseHandle(h);
    }
  }
  for (const char* key : {"", "A", "a.mgd", "ZZZZZZZZ", "~", "\xFF"}) {
    join.FileSearch(key, false);
    join.OpenMulti(key);
  }
  return 0;
}
