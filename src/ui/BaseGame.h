// The base of every screen and in-screen window: a list of controls made
// from definitions, the focus requests that move focus between them once a
// frame, an exit request, and the sprite-motion timer screens use for timed,
// skippable waits and looping timers.
#pragma once
#include <cstdint>

#include "ui/CtrlDef.h"

class CDIBBaseCtrl;
class CDIBImage;

struct SprtMotion {
  bool bActive;
  int32_t nKind;
  int32_t nSpan;
  int32_t nTime;
  bool bLoop;
  bool bSkip;
  bool bUpdate;
};

// Focus requests besides a control ID.
enum : int32_t { FORCUS_REQ_NONE = -1, FORCUS_REQ_KILL_ALL = -2 };

class CBaseGame {
 public:
  explicit CBaseGame(CBaseGame* parent);
  virtual ~CBaseGame();
  CBaseGame(const CBaseGame&) = delete;
  CBaseGame& operator=(const CBaseGame&) = delete;

  virtual bool Initialize();
  virtual void Release();
  virtual CDIBBaseCtrl* MakeControl(int32_t type, const CtrlDef* def);
  virtual void DeleteControl(int32_t id);
  virtual int32_t GetCtrlCount();
  virtual void Move();
  virtual void UpdateForcus();
  virtual void Draw(CDIBImage* target);
  virtual CDIBBaseCtrl* GetCtrl(int32_t id);
  virtual bool IsForcusInAll();
  virtual void ResetForcusInAll();
  virtual void SetAllCtrlInput(bool enable);
  virtual void SetExit(int32_t code);
  virtual bool IsExit();
  virtual CBaseGame* GetParent();
  virtual bool IsCtrlLock();
  virtual void SetCtrlLock(bool lock);
  virtual int32_t GetForcusReq();
  virtual void SetForcusReq(int32_t id);
  virtual CDIBBaseCtrl* GetCtrlTop();
  virtual void CopyImage(CDIBImage* target);
  virtual int32_t Reaction(int32_t a, int32_t b);
  virtual void SetSprtMotion(SprtMotion* motion, int32_t kind, int32_t span, bool loop);
  virtual void MoveSprtMotion(SprtMotion* motion);

 protected:
  bool mbExit = false;
  int32_t mnExitCode = 0;
  int32_t mnExitParam = 0;
  CBaseGame* mpParent = nullptr;
  bool mbCtrlLock = false;
  int32_t mnForcusReq = 0;
  CDIBBaseCtrl* mpCtrlTop = nullptr;
};
