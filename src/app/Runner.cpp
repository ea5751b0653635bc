#include "app/Runner.h"

#include <cstdio>

#include "app/core/Trace.h"
#include "assets/PngEncode.h"
#include "platform/KeyState.h"
#include "platform/Window.h"

CRunner::CRunner(const RunOptions& options) : mOptions(options) { Trace("CRunner::CRunner"); }

CRunner::~CRunner() {
  Trace("CRunner::~CRunner");
  if (mpRecord) fclose(mpRecord);
}

bool CRunner::Prepare(std::string& error) {
  Trace("CRunner::Prepare");
  if (!mOptions.inputFile.empty()) {
    if (!LoadInputScript(mOptions.inputFile, mEvents, error)) return false;
    // A replayed run listens to its script only.
    plat::SetScriptedInputOnly(true);
  }
  if (!mOptions.recordFile.empty()) {
    mpRecord = fopen(mOptions.recordFile.c_str(), "wb");
    if (!mpRecord) {
      error = mOptions.recordFile + ": cannot write the record file";
      return false;
    }
    fputs("# veltogame input record: FRAME EVENT ARGS\n", mpRecord);
  }
  return true;
}

void CRunner::Record(InputEvent::Kind kind, int a, int b) {
  Trace("CRunner::Record");
  if (!mpRecord || mbReplaying) return;
  InputEvent e;
  e.frame = mNextFrame;
  e.kind = kind;
  e.a = a;
  e.b = b;
  fprintf(mpRecord, "%s\n", FormatInputEvent(e).c_str());
  fflush(mpRecord);
}

void CRunner::RecordWheel(int delta) {
  Trace("CRunner::RecordWheel");
  Record(InputEvent::kWheel, delta, 0);
}
void CRunner::RecordChar(int code) {
  Trace("CRunner::RecordChar");
  Record(InputEvent::kChar, code, 0);
}
void CRunner::RecordActivate(bool active) {
  Trace("CRunner::RecordActivate");
  Record(InputEvent::kActivate, active ? 1 : 0, 0);
}

void CRunner::BeforeFrame(long long frame, plat::HWND hwnd) {
  Trace("CRunner::BeforeFrame");
  mNextFrame = frame;
  mbReplaying = true;
  while (mNextEvent < mEvents.size() && mEvents[mNextEvent].frame <= frame) {
    const InputEvent& e = mEvents[mNextEvent++];
    switch (e.kind) {
      case InputEvent::kMove: plat::SetScriptedCursor(e.a, e.b); break;
      case InputEvent::kDown: plat::SetScriptedKey(e.a, true); break;
      case InputEvent::kUp: plat::SetScriptedKey(e.a, false); break;
      case InputEvent::kWheel: {
        plat::RECT r = plat::GetWindowRect(hwnd);
        plat::POINT pt = plat::GetCursorClientPos(hwnd);
        auto lp = static_cast<plat::LPARAM>(plat::MakeLong(static_cast<uint16_t>(pt.x + r.left),
                                                           static_cast<uint16_t>(pt.y + r.top)));
        plat::SendMessage(hwnd, plat::WM_MOUSEWHEEL, plat::MakeLong(0, static_cast<uint16_t>(e.a)), lp);
        break;
      }
      case InputEvent::kChar: plat::SendMessage(hwnd, plat::WM_CHAR, static_cast<plat::WPARAM>(e.a), 0); break;
      case InputEvent::kActivate:
        plat::SendMessage(hwnd, plat::WM_ACTIVATE, e.a ? plat::WA_ACTIVE : plat::WA_INACTIVE, 0);
        plat::SendMessage(hwnd, plat::WM_ACTIVATEAPP, e.a ? 1 : 0, 0);
        break;
    }
  }
  mbReplaying = false;

  // Only the player's own devices are recorded; a replayed run has none.
  if (mpRecord && !plat::IsHeadless() && !plat::IsScriptedInputOnly()) {
    plat::POINT pt = plat::GetCursorClientPos(hwnd);
    if (pt.x != mRecordedMouse.x || pt.y != mRecordedMouse.y) {
      Record(InputEvent::kMove, pt.x, pt.y);
      mRecordedMouse = pt;
    }
    for (const plat::PolledKey& key : plat::PolledKeys()) {
      int vk = key.vk;
      bool down = (plat::GetAsyncKeyState(vk) & 0x8000) != 0;
      if (down != mRecordedDown[vk]) {
        Record(down ? InputEvent::kDown : InputEvent::kUp, vk, 0);
        mRecordedDown[vk] = down;
      }
    }
  }
}

bool CRunner::AfterFrame(long long frame, plat::HWND hwnd) {
  Trace("CRunner::AfterFrame");
  auto range = mOptions.screenshots.equal_range(frame);
  for (auto it = range.first; it != range.second; ++it) {
    int w = 0, h = 0;
    const auto& picture = plat::GetPresentedPicture(hwnd, w, h);
    std::vector<uint8_t> png;
    FILE* f = nullptr;
    // Fast compression: a run may write a picture every few frames, and
    // the files are read back once.
    bool ok = EncodePngPixels(picture.data(), w, h, false, &png, 1) && (f = fopen(it->second.c_str(), "wb")) &&
              fwrite(png.data(), 1, png.size(), f) == png.size();
    if (f) ok = (fclose(f) == 0) && ok;
    if (!ok) fprintf(stderr, "veltogame: cannot write the screenshot %s\n", it->second.c_str());
  }
  mNextFrame = frame + 1;
  return mOptions.frames >= 0 && frame >= mOptions.frames;
}
