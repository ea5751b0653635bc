// The screen flow: the screen shown now, the one replacing it, and a stack
// of screens to return to. Every switch is shown through a transition
// between two full-screen pictures, optionally in one stage to a blank
// picture and a second from it, and may change the music in step with it.
#pragma once
#include <cstdint>

#include "app/flow/BGMChangeParam.h"
#include "ui/EffectParam.h"

class CDIBBaseScreen;
class CDIBImage;
class CDIBOverlap;

// Music-change states.
enum : int32_t {
  BGMSTATE_DELAY = 0,
  BGMSTATE_STOP = 10,
  BGMSTATE_STOPWAIT = 11,
  BGMSTATE_PLAY = 20,
  BGMSTATE_PLAYWAIT = 21,
  BGMSTATE_END = 30,
};

class CRootFlow {
 public:
  static constexpr int kStackSize = 256;

  CRootFlow();
  virtual ~CRootFlow();
  CRootFlow(const CRootFlow&) = delete;
  CRootFlow& operator=(const CRootFlow&) = delete;

  virtual bool Initialize();
  virtual void Release();
  // Takes ownership of `screen` (null ends the game when the switch
  // completes). `second` and `bgm` may be null.
  virtual void ChangeScreen(const EffectParam* effect, const EffectParam* second, const BGMChangeParam* bgm,
                            CDIBBaseScreen* screen, bool keep);
  virtual void ReturnScreen(const EffectParam* effect, const EffectParam* second, const BGMChangeParam* bgm,
                            int32_t levels);
  virtual void Move();
  virtual void Draw(CDIBImage* target);

  CDIBBaseScreen* GetScreen() const { return mpScreen; }
  CDIBBaseScreen* GetNextScreen() const { return mpNextScreen; }
  int32_t GetStackCount() const { return mStackCount; }
  CDIBBaseScreen* GetStackScreen(int32_t i) const { return i >= 0 && i < mStackCount ? mpStack[i] : nullptr; }
  bool IsChanging() const { return mbChanging; }
  bool IsBGMChange() const { return mbBGMChange; }
  int32_t GetBGMState() const { return mBGMState; }
  CDIBOverlap* GetOverlap() const { return mpOverlap; }

 protected:
  // Reads the first scenario once to learn that the game data can be read.
  virtual bool CheckScenarioData();
  // One step of the music change; false while the old music is being stopped.
  bool MoveBGMChange();
  // Captures `screen` (or black) into `image`.
  void CaptureScreen(CDIBBaseScreen* screen, CDIBImage* image);
  // The stages' common start: the music record and the second stage.
  void StartBGMChange(const BGMChangeParam* bgm);
  void StartSecondStage(const EffectParam* effect, const EffectParam* second);
  void ClearStack();
  // A screen handed over for a switch that is refused is not kept anywhere.
  void DiscardRefused(CDIBBaseScreen* screen);
  bool Owns(const CDIBBaseScreen* screen) const;
  void StartTransition(const EffectParam* effect);

  CDIBBaseScreen* mpScreen = nullptr;
  CDIBBaseScreen* mpNextScreen = nullptr;
  bool mbPushScreen = false;
  CDIBBaseScreen* mpStack[kStackSize] = {};
  int32_t mStackCount = 0;
  CDIBImage* mpBackImage = nullptr;
  CDIBOverlap* mpOverlap = nullptr;
  CDIBImage* mpOVImage = nullptr;  // two: source, destination
  bool mbSecondEffect = false;
  uint32_t mBlankColor = 0;
  EffectParam mSecondEffect = {};
  bool mbBGMChange = false;
  BGMChangeParam mBGMChange = {};
  int32_t mBGMWait = 0;
  bool mbBGMSkip = false;
  int32_t mBGMState = BGMSTATE_DELAY;

  // A switch is under way from ChangeScreen/ReturnScreen until it completes
  // (also when it leads to no screen, or its effect does not run).
  bool mbChanging = false;
  // The switch completed this frame: the new screen has not composed its
  // picture yet.
  bool mbSwitched = false;
};
