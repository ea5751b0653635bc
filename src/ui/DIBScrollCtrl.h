// A slider: a bar and a knob, each with the five looks of a button. Along
// its axis the arrow keys step the value and the mouse drags it; the range
// may run backwards (minimum above maximum).
#pragma once
#include "ui/DIBBaseCtrl.h"

constexpr int kScrollRecordSize = kCtrlRecordBase + 68;

class CDIBScrollCtrl : public CDIBBaseCtrl {
 public:
  explicit CDIBScrollCtrl(CBaseGame* owner);
  ~CDIBScrollCtrl() override;

  bool Initialize(const CtrlDef* def) override;
  uint8_t* Save(uint8_t* dst) override;
  const uint8_t* Load(const uint8_t* src) override;
  bool IsMouseOn() override;
  void UpdateVertex() override;
  void SetEnable(bool enable) override;
  void Blt(CDIBImage* target) override;
  void OnLockInput() override;
  bool OnKeyUpBtn() override;
  bool OnKeyDownBtn() override;
  bool OnKeyLeftBtn() override;
  bool OnKeyRightBtn() override;
  virtual int32_t GetScrollPos();
  virtual void SetScrollPos(int32_t value);

  // The value for a mouse point, from the bar frame of the current state.
  int32_t CalcScrollPos(int32_t mx, int32_t my);
  int32_t GetState() const { return mnState; }
  const SprtVertex& GetKnobVertex() const { return mKnobVertex; }
  const SprtVertex& GetBarVertex() const { return mBarVertex; }

 protected:
  int GetQuads(const SprtVertex* quads[2]) override;
  void UpdateState() override;
  void ShowPressed(bool on) override;
  void OnPressAt(const plat::POINT& mouse, bool drag) override;
  // One step towards the minimum (-1) or the maximum (+1).
  bool Step(int direction);
  int32_t Clamp(int32_t value) const;

  int32_t mFrame[10] = {};
  int32_t mnState = 0;
  int32_t mnScrollPos = 0;
  int32_t mnDir = 0;  // 0 horizontal, 1 vertical
  int32_t mnMin = 0;
  int32_t mnMax = 0;
  int32_t mnMarginTop = 0;
  int32_t mnMarginBottom = 0;
  SprtVertex mBarVertex;
  SprtVertex mKnobVertex;
  bool mbBarVertex = false;
  bool mbKnobVertex = false;
};
