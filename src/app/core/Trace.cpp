#include "app/core/Trace.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kEntries = 256;
constexpr int kEntrySize = 1024;

// The entries live in static storage: a thread still tracing while the ring
// is released writes into memory that stays valid, it just isn't logged.
char gEntries[kEntries][kEntrySize];
std::atomic<bool> gAlive{false};
// Counts every claimed slot; the write index is its value modulo 256.
std::atomic<uint32_t> gClaimed{0};

}  // namespace

bool TraceInit() {
  bool expected = false;
  if (gAlive.load()) return false;
  memset(gEntries, 0, sizeof gEntries);
  gClaimed.store(0);
  return gAlive.compare_exchange_strong(expected, true);
}

void Trace(const char* text) {
  if (!gAlive.load(std::memory_order_acquire) || !text) return;
  // Claiming the slot and advancing the index is one atomic step.
  uint32_t slot = gClaimed.fetch_add(1, std::memory_order_relaxed) % kEntries;
  char* entry = gEntries[slot];
  size_t n = strnlen(text, kEntrySize - 2);
  memcpy(entry, text, n);
  entry[n] = '\n';
  entry[n + 1] = 0;
}

bool TraceWrite(const char* directory) {
  if (!directory || !gAlive.load()) return false;
  std::string path = std::string(directory) + "VQLog.txt";
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  fputs("【実行ログ】\n", f);
  fputs("Old\n", f);
  uint32_t start = gClaimed.load() % kEntries;
  int number = 1;
  for (int i = 0; i < kEntries; ++i) {
    const char* entry = gEntries[(start + i) % kEntries];
    if (!entry[0]) continue;
    fprintf(f, "%04d:%s", number++, entry);
  }
  fputs("New\n", f);
  return fclose(f) == 0;
}

void TraceDump(const char* directory) {
  TraceWrite(directory);
  gAlive.store(false);
}
