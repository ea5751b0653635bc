// One layer of a page of the virtual screen: one picture from the cache
// with its position, drawn size, colour, blend and camera settings, drawn
// either plainly or by one of the virtual screen's 256 actions. Every
// setter marks the layer changed, which makes its page recompose.
#pragma once
#include <cstddef>
#include <cstdint>

class CDIBImage;
class CDIBSprite;
class CDIBCamera;
class CDIBSnrAction;

// The layer's properties, from the changed flag to the W rate.
struct SnrLayerProp {
  uint8_t bChange = 0;
  CDIBSprite* pImage = nullptr;  // a cache reference, or null
  int32_t nX = 0, nY = 0, nZ = 0;
  int32_t nBaseWidth = 0, nBaseHeight = 0;  // 0: the picture's own size
  uint32_t dwColor = 0xFFFFFFFFu;
  uint8_t bBlend = 1;
  uint8_t bAnti = 0;
  int32_t nAction = 0;  // 1 … 256; 0 = none
  uint8_t bCamera = 1;
  uint8_t bBillboard = 0;
  float fXYRate = 1.0f;
  float fWRate = 1.0f;
};

// A layer that reaches its page as one unscaled rectangle (no action, and
// a quad the camera left square and unscaled): the rectangle operation its
// drawing comes down to, which the page can run a band of rows at a time.
struct LayerBlit {
  enum Op { kNothing, kCopy, kBlend, kOpaque };
  Op op = kNothing;
  CDIBImage* pSrc = nullptr;
  int32_t x = 0, y = 0, sx = 0, sy = 0, w = 0, h = 0;
  uint32_t color = 0;
};

class CDIBSnrLayer {
 public:
  static constexpr size_t kSaveSize = 105;
  static constexpr size_t kNameSize = 64;
  static constexpr int kActionCount = 256;

  CDIBSnrLayer() = default;
  virtual ~CDIBSnrLayer();
  CDIBSnrLayer(const CDIBSnrLayer&) = delete;
  CDIBSnrLayer& operator=(const CDIBSnrLayer&) = delete;

  // Points the layer at the virtual screen's 256 actions (index 1 is
  // actions[0]); then Release and every property to its default.
  virtual bool Initialize(CDIBSnrAction* actions);
  // Gives the picture back to the cache.
  virtual void Release();
  // Writes the 105-byte record; returns its end.
  virtual uint8_t* Save(uint8_t* dst) const;
  // Reads a record from `size` bytes, taking its picture from the cache (a
  // picture that cannot be read leaves the layer empty). The end of what
  // was read, or null with nothing changed when the record is damaged.
  virtual const uint8_t* Load(const uint8_t* src, size_t size);
  // 105 when Load would take the record at `src`, else 0.
  static size_t CheckRecord(const uint8_t* src, size_t size);
  // Frees the picture and restores every property to its default.
  virtual void SetDefaultProp();
  // Changed = the action reported a change in this frame.
  virtual void Move();
  // Draws the layer onto `target` through `camera` (null: none).
  virtual void Draw(CDIBImage* target, CDIBCamera* camera);
  // Gives the picture back and takes `name` from the cache (null or empty:
  // none). False, and no picture, when it cannot be read.
  virtual bool SetImage(const char* name);
  virtual void SetPos(int32_t x, int32_t y, int32_t z);
  virtual void SetBaseSize(int32_t width, int32_t height);
  // Each value clamped to 0 … 255, stored as 0xAARRGGBB.
  virtual void SetColor(int32_t alpha, int32_t red, int32_t green, int32_t blue);
  virtual void SetBlend(bool blend);
  virtual void SetAnti(bool anti);
  // 1 … 256; anything else means none.
  virtual void SetAction(int32_t action);
  // A rate that is not a finite number keeps the default 1.
  virtual void SetCameraState(bool camera, bool billboard, float xyRate, float wRate);
  virtual const SnrLayerProp* GetProp() const;
  virtual bool IsChanged() const;

  // What Draw (target, camera) would do when it comes down to a rectangle
  // operation or to nothing; false when the layer needs Draw.
  bool GetBlit(CDIBCamera* camera, LayerBlit* out);
  // The picture's file name, or "" without a picture.
  const char* GetImageName() const;
  // The action this layer draws through, or null.
  CDIBSnrAction* GetAction() const;

 protected:
  CDIBSnrAction* mpActionTbl = nullptr;
  SnrLayerProp mProp;
};
