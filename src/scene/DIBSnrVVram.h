// The virtual screen the scenario composes its picture on: two 800 × 600
// pages of 16 layers each, a camera per page, 256 layer actions and the
// transition between the pages. One page is shown (the front page);
// scenario commands change the other (the back page), and a transition
// carries the display from the front page to the back page, after which
// the pages swap and the old front page's layers are cleared. A page is
// recomposed from its layers only in a frame in which one of them changed
// or its camera moved.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "assets/DIBImage.h"
#include "scene/DIBCamera.h"
#include "scene/DIBSnrAction.h"
#include "scene/DIBSnrLayer.h"

class CDIBOverlap;

class CDIBSnrVVram {
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;
  static constexpr int kLayerCount = 16;
  static constexpr int kActionCount = 256;
  // The largest record Save writes.
  static constexpr size_t kSaveSizeMax =
      8 + kActionCount * CDIBSnrAction::kSaveSizeMax + 2 * kLayerCount * CDIBSnrLayer::kSaveSize +
      2 * CDIBCamera::kSaveSize;

  CDIBSnrVVram();
  virtual ~CDIBSnrVVram();
  CDIBSnrVVram(const CDIBSnrVVram&) = delete;
  CDIBSnrVVram& operator=(const CDIBSnrVVram&) = delete;

  // Makes the transition, both pages (cleared), the actions, the layers and
  // the cameras; sends every layer's state to the debugger. False on any
  // failure.
  virtual bool Initialize();
  virtual void Release();
  // Writes the whole state (at most kSaveSizeMax bytes); returns its end.
  virtual uint8_t* Save(uint8_t* dst) const;
  // Restores a state written by Save from `size` bytes and recomposes both
  // pages. The end of what was read; null, with nothing of the running
  // state changed, when any part of the record is short or damaged.
  virtual const uint8_t* Load(const uint8_t* src, size_t size);
  // The length of the record at `src` when Load would take it, else 0.
  static size_t CheckRecord(const uint8_t* src, size_t size);
  // One frame: cameras, actions, changed pages recomposed, the transition
  // advanced (and the pages swapped when it ends), the screen marked dirty
  // when what it shows changed. `skip` hurries every animation.
  virtual void Move(bool skip);
  // The transition while it runs, else the screen action over the front
  // page, else the front page's dirty areas.
  virtual void Draw(CDIBImage* target);
  // As Draw, but the whole front page.
  virtual void Blt(CDIBImage* target);
  virtual CDIBOverlap* GetOverlap();
  // Index 1 … 256; null outside.
  virtual CDIBSnrAction* GetAction(int32_t index);
  virtual CDIBImage* GetPage();
  virtual CDIBImage* GetBackPage();
  // Index 0 … 15; null outside.
  virtual CDIBSnrLayer* GetLayer(int32_t index);
  virtual CDIBSnrLayer* GetBackLayer(int32_t index);
  virtual CDIBCamera* GetCamera();
  virtual CDIBCamera* GetBackCamera();
  // 1 … 256, or 0 for none (anything else is taken as none).
  virtual void SetScreenAction(int32_t action);
  virtual int32_t GetScreenAction();
  // Sends one layer's state to the debugger library, when one is attached;
  // page 0 is the front page, 1 the back page.
  virtual void SendToDebug_LayerInfo(int32_t page, int32_t layer);

  int32_t GetFrontIndex() const { return mnFront; }

 protected:
  // Fills the page with 0 and draws its 16 layers through its camera.
  void Compose(int page);
  // The move is hurried by the skip flag, the player's skip keys or the
  // no-effect switch.
  bool IsHurried(bool skip) const;
  // Ends a finished transition: clears the old front page, swaps, resets
  // the old front camera.
  void SwapPages();
  // Draws the screen action over the front page; false when none is set.
  bool DrawScreenAction(CDIBImage* target);

  std::unique_ptr<CDIBOverlap> mpOverlap;
  CDIBImage mPage[2];
  int32_t mnFront = 0;
  int32_t mnScreenAction = 0;
  std::unique_ptr<CDIBSnrAction[]> mpAction;
  CDIBSnrLayer mLayer[2][kLayerCount];
  CDIBCamera mCamera[2];
  // A page whose picture no longer matches its layers, whatever their
  // changed flags say (the old front page after a swap).
  bool mbPageStale[2] = {};
};
