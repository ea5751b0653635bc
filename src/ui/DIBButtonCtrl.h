// A push button: five looks (normal, focused, pressed, disabled,
// focused-disabled), activated by Return or a click released on it.
#pragma once
#include "assets/FontInfo.h"
#include "ui/DIBBaseCtrl.h"

constexpr int kButtonRecordSize = kCtrlRecordBase + 24;

class CDIBButtonCtrl : public CDIBBaseCtrl {
 public:
  explicit CDIBButtonCtrl(CBaseGame* owner);
  ~CDIBButtonCtrl() override;

  bool Initialize(const CtrlDef* def) override;
  void Release() override;
  uint8_t* Save(uint8_t* dst) override;
  const uint8_t* Load(const uint8_t* src) override;
  bool IsMouseOn() override;
  void UpdateVertex() override;
  void SetEnable(bool enable) override;
  void Blt(CDIBImage* target) override;
  void OnLockInput() override;

  // Captions: a private picture of the five state frames stacked top to
  // bottom, onto which the owner draws text or pictures. InitCaption makes
  // it from the parts, ResCaption redraws the plain frames (erasing what was
  // drawn on them), SetCaption draws a picture into one state's frame with
  // the quad's points taken relative to that frame; the text form draws a
  // text at (x, y) of that frame with DrawString (smooth, `smooth` true) or
  // DrawString2 (hard-edged, mixed by the colour's alpha). What is drawn
  // stays inside the state's frame.
  bool InitCaption();
  void ResCaption();
  void SetCaption(int32_t state, CDIBImage* picture, const SprtVertex& quad);
  void SetCaption(const FontInfo& font, int32_t state, int32_t x, int32_t y, uint32_t color, const char* text,
                  bool smooth);
  CDIBSprite* GetCaption() const { return mpCaption; }

  int32_t GetState() const { return mnState; }
  const SprtVertex& GetVertex() const { return mVertex; }
  void SetBlend(bool blend) { mbBlend = blend; }

 protected:
  int GetQuads(const SprtVertex* quads[2]) override;
  void UpdateState() override;
  void ShowPressed(bool on) override;
  // Gives the caption picture back to the sprite cache.
  void ReleaseCaption();

  int32_t mFrame[5] = {};
  int32_t mnState = 0;
  SprtVertex mVertex;
  CDIBSprite* mpCaption = nullptr;
  bool mbBlend = false;
  bool mbVertex = false;  // mVertex holds a real frame
};
