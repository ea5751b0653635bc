// A check box: the five looks of a button, unticked (0–4) and ticked (5–9);
// each activation toggles the tick.
#pragma once
#include "ui/DIBBaseCtrl.h"

constexpr int kCheckRecordSize = kCtrlRecordBase + 45;

class CDIBCheckCtrl : public CDIBBaseCtrl {
 public:
  explicit CDIBCheckCtrl(CBaseGame* owner);
  ~CDIBCheckCtrl() override;

  bool Initialize(const CtrlDef* def) override;
  uint8_t* Save(uint8_t* dst) override;
  const uint8_t* Load(const uint8_t* src) override;
  bool IsMouseOn() override;
  void UpdateVertex() override;
  void SetEnable(bool enable) override;
  void Blt(CDIBImage* target) override;
  void OnLockInput() override;
  virtual bool IsCheck();
  virtual void SetCheck(bool check);

  int32_t GetState() const { return mnState; }

 protected:
  int GetQuads(const SprtVertex* quads[2]) override;
  void UpdateState() override;
  void ShowPressed(bool on) override;
  void ShowReleased(bool on) override;
  void OnActivate() override;

  int32_t mFrame[10] = {};
  int32_t mnState = 0;
  bool mbCheck = false;
  SprtVertex mVertex;
  bool mbVertex = false;
};
