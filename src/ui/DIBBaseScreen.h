// A full screen: a background image and the composed picture, redrawn each
// frame only inside the areas its controls changed.
#pragma once
#include "ui/BaseGame.h"

struct EffectParam;

class CDIBBaseScreen : public CBaseGame {
 public:
  explicit CDIBBaseScreen(CBaseGame* parent);
  ~CDIBBaseScreen() override;

  bool Initialize() override;
  void Release() override;
  void Move() override;
  void Draw(CDIBImage* target) override;
  void CopyImage(CDIBImage* target) override;
  virtual void GetCallEffectParam(EffectParam* param);
  virtual void OnChangeScreen1st();
  virtual void OnChangeScreen2nd();
  virtual void Update();

  CDIBImage* GetBackImage() const { return mpBackImage; }
  CDIBImage* GetDrawImage() const { return mpDrawImage; }

 protected:
  CDIBImage* mpBackImage = nullptr;
  CDIBImage* mpDrawImage = nullptr;

 private:
  // The composed picture has been restored whole from the background once.
  bool mbComposed = false;
};
