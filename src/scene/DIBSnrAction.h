// A layer action: an animation that draws a layer's picture moved, turned,
// warped or surrounded by particles. The virtual screen owns 256 of them;
// scenario commands set one up with a kind and a parameter block, play and
// stop it, and attach it to layers by number (several layers may share
// one). The virtual screen moves every action once a frame, and a layer
// whose action reports a change is redrawn.
//
// Lifecycle: empty → Setup → resting → Play → active and playing → Stop →
// active, not playing → (next Move) resting. Only active actions move; a
// resting action still draws its current state.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "scene/SnrActionParam.h"

class CDIBImage;
class CDIBSprite;
class CDIBFireEx;
struct SprtVertex;

class CDIBSnrAction {
 public:
  // Bytes of a saved record before the kind's own part.
  static constexpr size_t kRecordHeadSize = 217;
  // The largest saved record (a Rain action's).
  static constexpr size_t kSaveSizeMax = kRecordHeadSize + 4 + 64;
  static constexpr int kMaxDrops = 4096;
  static constexpr int kRasterGrid = 51;  // points per side of the Raster grid
  static constexpr size_t kDropNameSize = 64;

  CDIBSnrAction();
  virtual ~CDIBSnrAction();
  CDIBSnrAction(const CDIBSnrAction&) = delete;
  CDIBSnrAction& operator=(const CDIBSnrAction&) = delete;

  // Release; always true.
  virtual bool Initialize();
  // The kind's release, then every flag, the kind, the block and the state
  // cleared.
  virtual void Release();
  // Writes the record (at most kSaveSizeMax bytes); returns its end.
  virtual uint8_t* Save(uint8_t* dst) const;
  // Reads a record from `size` bytes and rebuilds the kind's state; the end
  // of what was read, or null with nothing changed when the record is short
  // or damaged.
  virtual const uint8_t* Load(const uint8_t* src, size_t size);
  // The length of the record at `src` when Load would take it, else 0.
  static size_t CheckRecord(const uint8_t* src, size_t size);
  // Release, then the kind's setup from the block; false (and an empty
  // action) when the kind or its parameters cannot be used.
  virtual bool Setup(const SnrActionParam* param);
  virtual void Play();
  virtual void Stop();
  // One frame; nothing while not active.
  virtual void Move(bool hurried);
  virtual void Draw(const LayerDrawParam* param);
  virtual bool IsUse() const;
  virtual bool IsActive() const;
  virtual bool IsUpdate() const;
  virtual bool IsPlay() const;
  virtual bool IsStart() const;
  virtual bool IsStop() const;

  virtual bool Setup2DRot();
  virtual void Release2DRot();
  virtual void Save2DRot(uint8_t*& dst) const;
  virtual void Load2DRot(const uint8_t*& src);
  virtual void Move2DRot();
  virtual void Draw2DRot(const LayerDrawParam* param);
  virtual bool SetupScroll();
  virtual void ReleaseScroll();
  virtual void SaveScroll(uint8_t*& dst) const;
  virtual void LoadScroll(const uint8_t*& src);
  virtual void MoveScroll();
  virtual void DrawScroll(const LayerDrawParam* param);
  virtual bool SetupRaster();
  virtual void ReleaseRaster();
  virtual void SaveRaster(uint8_t*& dst) const;
  virtual void LoadRaster(const uint8_t*& src);
  virtual void MoveRaster();
  virtual void DrawRaster(const LayerDrawParam* param);
  // One Raster cell: rasterised like a blend without filtering, but a target
  // pixel is blended only where its coverage mark is clear, and blending it
  // sets the mark.
  virtual void BltRaster(CDIBImage* src, CDIBImage* dst, const SprtVertex& vertex);
  virtual bool SetupRain();
  virtual void ReleaseRain();
  virtual void SaveRain(uint8_t*& dst) const;
  virtual void LoadRain(const uint8_t*& src);
  virtual void MoveRain();
  virtual void DrawRain(const LayerDrawParam* param);
  virtual bool SetupFire();
  virtual void ReleaseFire();
  virtual void SaveFire(uint8_t*& dst) const;
  virtual void LoadFire(const uint8_t*& src);
  virtual void MoveFire();
  virtual void DrawFire(const LayerDrawParam* param);

  int32_t GetKind() const { return mnKind; }
  const SnrActionParam& GetParam() const { return mParam; }
  bool IsHurry() const { return mbHurry != 0; }
  // Kind state, for tests and the debugger.
  int32_t GetRotTime() const { return mnRotTime; }
  int32_t GetRotTurns() const { return mnRotTurns; }
  int32_t GetScrollTime() const { return mnScrollTime; }
  int32_t GetRasterPhase() const { return mnRasterPhase; }
  int32_t GetRasterFadeIn() const { return mnRasterFadeIn; }
  int32_t GetRasterFadeOut() const { return mnRasterFadeOut; }
  int GetDropCount() const { return static_cast<int>(mDrops.size()); }
  CDIBFireEx* GetFire() const { return mpFire.get(); }

  // One rain drop: where it starts, its own clock (negative: not yet
  // falling), its sway angle and its size.
  struct RainDrop {
    int32_t nX, nY, nZ;
    int32_t nTime;
    double fAngle;
    double fScale;
  };
  const RainDrop* GetDrop(int index) const;

  // One row of the wave's edge table: the leftmost and rightmost x of a
  // cell on the row, with the source position at each.
  struct RasterEdge {
    int32_t minX, maxX;
    int32_t minU, minV, maxU, maxV;
  };

 protected:
  // The start every move but Raster's shares: the change cleared, then
  // started while playing, or stopped and resting after a Stop.
  void BeginMove();
  // A rain drop made afresh; `timeSpan` bounds how long it waits to fall.
  void MakeDrop(RainDrop& drop, int32_t timeSpan);
  // The common end of every draw: through the camera when there is one,
  // then drawn by the layer's rule (blend, copy, or tinted opaque).
  void DrawQuads(const LayerDrawParam* param, CDIBImage* src, SprtVertex* quads, int count);
  // The picture as a plain width × height rectangle at (x, y, z).
  void PlainQuad(const LayerDrawParam* param, int64_t x, int64_t y, int64_t z, SprtVertex& out) const;
  // Checks a kind's block; false when it cannot be used.
  static bool CheckParam(const SnrActionParam& param);

  uint8_t mbActive = 0;
  uint8_t mbPlay = 0;
  int32_t mnKind = SNRACT_NONE;
  uint8_t mbChange = 0;
  uint8_t mbStart = 0;
  uint8_t mbStop = 0;
  uint8_t mbHurry = 0;
  SnrActionParam mParam{};

  // 2DRot: time into the turn and turns completed.
  int32_t mnRotTime = 0;
  int32_t mnRotTurns = 0;
  // Scroll: time along the path.
  int32_t mnScrollTime = 0;
  // Raster: wave phase, fade times, and the coverage mask of the target.
  int32_t mnRasterPhase = 0;
  int32_t mnRasterFadeIn = 0;
  int32_t mnRasterFadeOut = 0;
  std::vector<uint8_t> mRasterMask;
  int mnMaskWidth = 0;
  std::vector<RasterEdge> mRasterEdges;
  // Rain: time, the drops and their picture (a cache reference).
  int32_t mnRainTime = 0;
  std::vector<RainDrop> mDrops;
  CDIBSprite* mpDrop = nullptr;
  char mszDrop[kDropNameSize] = {};
  // Fire: the flames.
  std::unique_ptr<CDIBFireEx> mpFire;
};
