// The music change of a screen switch: wait, stop the old music and wait
// for it to end, then start the new one and wait for its fade-in.
#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "app/flow/RootFlow.h"
#include "audio/BGMBuffer.h"

bool CRootFlow::MoveBGMChange() {
  Trace("CRootFlow::MoveBGMChange");
  CBGMBuffer* music = gpMainWindow ? gpMainWindow->mpBGMBuffer : nullptr;
  const int32_t delay = static_cast<int32_t>(mBGMChange.dwDelay & 0x7FFFFFFF);
  const uint32_t flags = mBGMChange.dwFlags;
  if (mbBGMSkip) {
    if (music) music->mbFadeSkip = true;
    mBGMWait = delay;
  }
  bool proceed = true;
  switch (mBGMState) {
    case BGMSTATE_DELAY:
      if (mBGMWait < delay) {
        int32_t step = gpMainWindow ? gpMainWindow->mFrameTime : 30;
        mBGMWait = mBGMWait + step < delay ? mBGMWait + step : delay;
      }
      if (mBGMWait >= delay) mBGMState = BGMSTATE_STOP;
      break;
    case BGMSTATE_STOP:
      if ((flags & BGMCHANGE_STOP) && music) {
        music->Stop(mBGMChange.dwFadeOut);
        mBGMState = BGMSTATE_STOPWAIT;
      } else {
        mBGMState = BGMSTATE_PLAY;
      }
      proceed = false;
      break;
    case BGMSTATE_STOPWAIT:
      if (music && music->mbPlay)
        proceed = false;
      else
        mBGMState = BGMSTATE_PLAY;
      break;
    case BGMSTATE_PLAY:
      // Music that cannot be read or started ends the change without music
      // rather than trying again every frame.
      if (!(flags & BGMCHANGE_PLAY) || !music) {
        mBGMState = BGMSTATE_END;
      } else if (flags & BGMCHANGE_RESTART) {
        bool started = music->Read(mBGMChange.szName) && music->Play(mBGMChange.dwFadeIn, true);
        mBGMState = started ? BGMSTATE_PLAYWAIT : BGMSTATE_END;
      } else if (music->CheckPlaying(mBGMChange.szName)) {
        mBGMState = BGMSTATE_END;
      } else if (!music->Read(mBGMChange.szName) || !music->Play(mBGMChange.dwFadeIn, true)) {
        mBGMState = BGMSTATE_END;
      }
      break;
    case BGMSTATE_PLAYWAIT:
      // A piece that stopped playing has no fade-in left to wait for.
      if (!music || !music->mbPlay || music->mFadeMode != 1) mBGMState = BGMSTATE_END;
      break;
    case BGMSTATE_END:
    default:
      mBGMState = BGMSTATE_DELAY;
      mbBGMSkip = false;
      mbBGMChange = false;
      break;
  }
  return proceed;
}
