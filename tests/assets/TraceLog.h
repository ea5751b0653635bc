// Captures the trace ring for a test: what the code under test traced.
#pragma once
#include <fstream>
#include <sstream>
#include <string>

#include "TestDir.h"
#include "app/core/Trace.h"

class TraceLog {
 public:
  TraceLog() { TraceInit(); }
  ~TraceLog() { TraceDump(nullptr); }
  // The log so far; tracing stops afterwards.
  std::string Take() {
    TestDir dir;
    TraceDump(dir.path().c_str());
    std::ifstream in(dir.File("VQLog.txt"), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
};
