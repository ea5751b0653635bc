// A plain picture among the controls: one frame, drawn blended. It follows
// the keyboard focus rows like the others but never reacts to the mouse and
// never reports a decision.
#pragma once
#include "ui/DIBBaseCtrl.h"

constexpr int kImageRecordSize = kCtrlRecordBase + 4;

class CDIBImageCtrl : public CDIBBaseCtrl {
 public:
  explicit CDIBImageCtrl(CBaseGame* owner);
  ~CDIBImageCtrl() override;

  bool Initialize(const CtrlDef* def) override;
  uint8_t* Save(uint8_t* dst) override;
  const uint8_t* Load(const uint8_t* src) override;
  void UpdateVertex() override;
  void Blt(CDIBImage* target) override;
  bool OnKeyEnterDown() override;
  bool OnKeyEnterUp() override;
  bool OnMouseLBtnDown() override;
  bool OnMouseLBtnUp() override;
  bool OnMouseMove() override;

  // Shows another frame of the parts picture.
  void SetFrame(int32_t frame);
  int32_t GetFrame() const { return mnFrame; }
  const SprtVertex& GetVertex() const { return mVertex; }

 protected:
  int GetQuads(const SprtVertex* quads[2]) override;

  int32_t mnFrame = 0;
  SprtVertex mVertex;
  bool mbVertex = false;
};
