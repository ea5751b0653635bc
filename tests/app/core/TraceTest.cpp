#include "app/core/Trace.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "TestDir.h"

namespace {

std::string ReadLog(const std::string& dir) {
  std::ifstream in(dir + "VQLog.txt", std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(Trace, WithoutRingNothingIsRecordedAndNoLogWritten) {
  TestDir dir;
  Trace("CBefore::Init");
  TraceDump(dir.path().c_str());
  EXPECT_FALSE(dir.Exists("VQLog.txt"));
  ASSERT_TRUE(TraceInit());
  Trace("CInside::Call");
  TraceDump(dir.path().c_str());
  EXPECT_EQ(ReadLog(dir.path()), "【実行ログ】\nOld\n0001:CInside::Call\nNew\n");
  // Released: a second dump has no ring to write.
  Trace("CAfter::Release");
  TestDir other;
  TraceDump(other.path().c_str());
  EXPECT_FALSE(other.Exists("VQLog.txt"));
}

TEST(Trace, TenEntriesAreListedInOrder) {
  TestDir dir;
  ASSERT_TRUE(TraceInit());
  std::vector<std::string> names;
  for (int i = 0; i < 10; ++i) {
    names.push_back("CTen::Method" + std::to_string(i));
    Trace(names.back().c_str());
  }
  TraceDump(dir.path().c_str());
  std::string expected = "【実行ログ】\nOld\n";
  char line[64];
  for (int i = 0; i < 10; ++i) {
    snprintf(line, sizeof line, "%04d:%s\n", i + 1, names[i].c_str());
    expected += line;
  }
  expected += "New\n";
  EXPECT_EQ(ReadLog(dir.path()), expected);
}

TEST(Trace, RingKeepsTheLast256OldestFirst) {
  TestDir dir;
  ASSERT_TRUE(TraceInit());
  std::vector<std::string> names;
  for (int i = 0; i < 300; ++i) names.push_back("C::M" + std::to_string(i));
  for (const auto& n : names) Trace(n.c_str());
  TraceDump(dir.path().c_str());
  std::string log = ReadLog(dir.path());
  EXPECT_NE(log.find("0001:C::M44\n"), std::string::npos);
  EXPECT_NE(log.find("0256:C::M299\n"), std::string::npos);
  EXPECT_EQ(log.find("0257:"), std::string::npos);
  EXPECT_EQ(log.find("C::M43\n"), std::string::npos);
}

TEST(Trace, SecondInitFailsAndKeepsTheRing) {
  TestDir dir;
  ASSERT_TRUE(TraceInit());
  Trace("CKeep::This");
  EXPECT_FALSE(TraceInit());
  TraceDump(dir.path().c_str());
  EXPECT_NE(ReadLog(dir.path()).find("0001:CKeep::This\n"), std::string::npos);
}

TEST(Trace, ConcurrentTracingKeepsEveryEntryWhole) {
  TestDir dir;
  ASSERT_TRUE(TraceInit());
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      std::string name = "CThread" + std::to_string(t) + "::Work";
      for (int i = 0; i < 20000; ++i) Trace(name.c_str());
    });
  }
  for (auto& th : threads) th.join();
  TraceDump(dir.path().c_str());
  std::istringstream lines(ReadLog(dir.path()));
  std::string line;
  int entries = 0;
  while (std::getline(lines, line)) {
    if (line.size() < 5 || line[4] != ':') continue;
    ++entries;
    std::string text = line.substr(5);
    EXPECT_TRUE(text.rfind("CThread", 0) == 0 && text.size() == std::string("CThread0::Work").size()) << text;
  }
  EXPECT_EQ(entries, 256);
}

}  // namespace
