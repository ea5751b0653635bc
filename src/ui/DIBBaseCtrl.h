// The base of every control: a focusable, clickable piece of a screen or
// window, drawn from a frame sheet (the parts picture) and driven once a
// frame by its owner. Activation raises a one-frame decide flag the owner
// polls; the owner's lock makes sure only one control is held down at once.
#pragma once
#include <cstdint>

#include "app/core/Trace.h"
#include "assets/SprtVertex.h"
#include "platform/Win.h"
#include "ui/CtrlDef.h"

class CBaseGame;
class CDIBImage;
class CDIBSprite;

// System sounds played through the application object.
enum : int32_t { SYSSE_CANCEL = 0, SYSSE_DECIDE = 1, SYSSE_CURSOR = 2 };

// Size of the part of a saved control record every type shares.
constexpr int kCtrlRecordBase = 5674;

class CDIBBaseCtrl {
 public:
  explicit CDIBBaseCtrl(CBaseGame* owner);
  virtual ~CDIBBaseCtrl();
  CDIBBaseCtrl(const CDIBBaseCtrl&) = delete;
  CDIBBaseCtrl& operator=(const CDIBBaseCtrl&) = delete;

  virtual bool Initialize(const CtrlDef* def);
  virtual void Release();
  virtual uint8_t* Save(uint8_t* dst);
  virtual const uint8_t* Load(const uint8_t* src);
  virtual bool IsMouseOn();
  virtual void UpdateVertex();
  virtual void SetNext(CDIBBaseCtrl* next);
  virtual bool SetParts(const char* name);
  virtual bool SetHitFName(const char* name);
  virtual void SetShow(bool show);
  virtual void SetEnable(bool enable);
  virtual void SetPos(int32_t x, int32_t y);
  virtual void SetColor(uint32_t color);
  virtual void SetEnterSE(bool on);
  virtual void SetOncurSE(bool on);
  virtual int32_t GetJumpToCtrlID(int32_t dir);
  virtual void SetInputEnable(bool enable);
  virtual void Move();
  virtual void UpdateRGN(CDIBImage* image);
  virtual void Draw(CDIBImage* target, bool force);
  virtual void Blt(CDIBImage* target);
  virtual bool OnGetForcus();
  virtual bool OnKillForcus();
  virtual CBaseGame* GetOwner();
  virtual CDIBBaseCtrl* GetNext();
  virtual bool IsUpdate();
  virtual void SetUpdate();
  virtual int32_t GetType();
  virtual int32_t GetID();
  virtual int32_t GetHitNo();
  virtual bool IsForcus();
  virtual bool IsShow();
  virtual bool IsEnable();
  virtual const plat::POINT* GetPos();
  virtual bool IsEnterSE();
  virtual bool IsOncurSE();
  virtual int32_t GetJumpID(int32_t row, int32_t dir);
  virtual bool IsDecide();
  virtual void OnLockInput();
  virtual bool OnKeyInput();
  virtual bool OnMouseInput();
  virtual bool OnChangeInputType();
  virtual bool OnKeyEnterDown();
  virtual bool OnKeyEnterUp();
  virtual bool OnKeyUpBtn();
  virtual bool OnKeyDownBtn();
  virtual bool OnKeyLeftBtn();
  virtual bool OnKeyRightBtn();
  virtual bool OnKeyTabBtn();
  virtual bool OnMouseLBtnDown();
  virtual bool OnMouseLBtnUp();
  virtual bool OnMouseMove();

  bool IsInputEnable() const { return mbInputEnable; }
  // The quads the control covers now, for redraw decisions of its owner.
  int GetDrawQuads(const SprtVertex* quads[2]) { return GetQuads(quads); }
  CDIBSprite* GetParts() const { return mpParts; }

 protected:
  // The quads the control occupies now (at most two).
  virtual int GetQuads(const SprtVertex* quads[2]);
  // Looks and reactions of the derived types. UpdateState picks the resting
  // state for the focus, enable (and tick) flags; ShowPressed the look while
  // held down (on the control or dragged off it); ShowReleased the look after
  // a mouse release; OnActivate runs on activation before the decide flag is
  // seen; OnPressAt follows the pointer while pressed (`drag` after the
  // first frame).
  virtual void UpdateState() { Trace("CDIBBaseCtrl::UpdateState"); }
  virtual void ShowPressed(bool /*on*/) { Trace("CDIBBaseCtrl::ShowPressed"); }
  virtual void ShowReleased(bool /*on*/) {
    Trace("CDIBBaseCtrl::ShowReleased");
    UpdateState();
  }
  virtual void OnActivate() { Trace("CDIBBaseCtrl::OnActivate"); }
  virtual void OnPressAt(const plat::POINT& /*mouse*/, bool /*drag*/) { Trace("CDIBBaseCtrl::OnPressAt"); }
  // A press on the control while it lacks focus takes the focus from any
  // other control of the owner; false while another control is held.
  bool TakeForcusForPress();
  // Another control of the owner holds focus in mouse mode: the owner's
  // lock, if set, is a mouse press.
  bool IsLockHeldByMouse();
  // Shared by the keyboard and mouse paths.
  bool MoveForcus(int32_t dir);
  void PlayEnterSE();
  bool IsInsideQuad(const SprtVertex& quad, int32_t mx, int32_t my) const;
  bool HitMapOn();
  bool LeftButtonDown() const;
  const plat::POINT& MousePos() const;
  int32_t CurrentInputType() const;
  // Reads the parts picture through the sprite cache, giving back the old.
  bool ReadParts(const char* name);

  CBaseGame* mpOwner = nullptr;
  CDIBBaseCtrl* mpNext = nullptr;
  bool mbUpdate = false;
  int32_t mnInputType = 0;
  bool mbDecidePend = false;
  CDIBSprite* mpParts = nullptr;
  char mszHitFName[256] = {};
  int32_t mnType = 0;
  int32_t mnID = 0;
  int32_t mnHitNo = 0;
  bool mbForcus = false;
  bool mbShow = false;
  bool mbEnable = false;
  plat::POINT mPos;
  uint32_t mdwColor = 0;
  bool mbEnterSE = false;
  bool mbOncurSE = false;
  int32_t mnJumpNum = 0;
  int32_t mJump[kJumpRows][5] = {};
  bool mbDecide = false;
  bool mbInputEnable = false;
  bool mbCancel = false;
  // The name the parts picture was read under, for saving.
  char mszParts[256] = {};
};
