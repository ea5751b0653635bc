// A window inside a screen, with a timed open/close animation. The base owns
// no images: a derived window draws itself into the target its screen hands
// to Blt.
#pragma once
#include "ui/BaseGame.h"

class CDIBBaseWnd : public CBaseGame {
 public:
  explicit CDIBBaseWnd(CBaseGame* parent);
  ~CDIBBaseWnd() override;

  bool Initialize() override;
  void Release() override;
  void Move() override;
  void Draw(CDIBImage* target) override;
  virtual void Open(bool animate);
  virtual void Close(bool animate);
  virtual void Blt(CDIBImage* target);
  virtual void MoveOpenClose();
  virtual bool IsOpen();
  virtual bool IsOpenCloseMove();

  int32_t GetOpenCloseTime() const { return mnOpenCloseTime; }
  int32_t GetOpenCloseSpan() const { return mnOpenCloseSpan; }
  void SetOpenCloseSpan(int32_t span) { mnOpenCloseSpan = span; }

 protected:
  bool mbOpenCloseMove = false;
  int32_t mnOpenCloseTime = 0;
  int32_t mnOpenCloseSpan = 0;
  bool mbOpen = false;
};
