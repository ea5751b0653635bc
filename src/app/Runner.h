// The runner around the frame loop: replays an input script, records the
// player's input, writes screenshots and ends the run after a set number of
// frames. With --fixed-step and the same input two runs give the same pixels.
#pragma once
#include <cstdio>
#include <vector>

#include "app/InputScript.h"
#include "app/RunOptions.h"
#include "platform/Win.h"

class CRunner {
 public:
  explicit CRunner(const RunOptions& options);
  ~CRunner();

  // Reads the input script and opens the record file. False with a message
  // in `error` when either fails.
  bool Prepare(std::string& error);

  // Frame numbers count from 1. Before frame `frame` polls input: apply the
  // script's events of that frame and record changes of the real devices.
  void BeforeFrame(long long frame, plat::HWND hwnd);
  // After frame `frame` is shown: write its screenshots. True when the run
  // has reached its frame count.
  bool AfterFrame(long long frame, plat::HWND hwnd);

  // Messages that reach the window from the player, for the record.
  void RecordWheel(int delta);
  void RecordChar(int code);
  void RecordActivate(bool active);
  // True while a script event is being sent, so that it is not recorded twice.
  bool IsReplaying() const { return mbReplaying; }

  long long NextFrame() const { return mNextFrame; }

 private:
  void Record(InputEvent::Kind kind, int a, int b);

  RunOptions mOptions;
  std::vector<InputEvent> mEvents;
  size_t mNextEvent = 0;
  long long mNextFrame = 1;
  bool mbReplaying = false;
  FILE* mpRecord = nullptr;
  bool mRecordedDown[256] = {};
  plat::POINT mRecordedMouse{-100000, -100000};
};
