// The camera of one page of the virtual screen: it looks at the page's 2D
// layers as if they lay in 3D space, projecting each layer's quad through a
// view and a perspective matrix, so that a camera move pans, zooms and
// tilts the scene. Each layer hands in its own rates just before it is
// drawn, so one camera serves a whole page with parallax. A move is a timed
// flight along a natural cubic spline through up to 16 keys.
#pragma once
#include <cstddef>
#include <cstdint>

#include "scene/Geometry.h"

struct SprtVertex;

class CDIBCamera {
 public:
  static constexpr int kMaxKeys = 16;
  // Bytes of the saved-game record.
  static constexpr size_t kSaveSize = 168;
  // The eye's distance from the page, which is also the projection's far
  // plane: a layer at z = 0 lands where it would without the camera.
  static constexpr float kEyeDistance = 1000.0f;

  CDIBCamera() = default;
  virtual ~CDIBCamera();
  CDIBCamera(const CDIBCamera&) = delete;
  CDIBCamera& operator=(const CDIBCamera&) = delete;

  // Reset; always true.
  virtual bool Initialize();
  // Every field to its default: the identity view from (0, 0, −1000), no
  // move, no keys.
  virtual void Reset();
  // No keys.
  virtual void ResetMove();
  // Appends a key: position (x, y, z) in page coordinates and a zoom (kept
  // × 10). False, and nothing added, once 16 keys are there.
  virtual bool AddMove(float x, float y, float z, float zoom);
  // Starts the flight through the keys, lasting `duration` milliseconds.
  virtual void StartMove(int32_t duration);
  // One frame of a running move; a hurried move lands on its end at once.
  virtual void Move(bool hurried);
  // Projects the destination points of `count` quads in place. A quad with
  // a point at or behind the near limit is cleared to zeros (IsCleared) and
  // must not be drawn.
  virtual void Transform(SprtVertex* quads, int count);
  // Writes the 168-byte record; returns its end.
  virtual uint8_t* Save(uint8_t* dst) const;
  // Reads a record from `size` bytes; the end of what was read, or null
  // (and nothing changed) when it is short or holds a non-finite float.
  virtual const uint8_t* Load(const uint8_t* src, size_t size);
  // 168 when Load would take the record at `src`, else 0.
  static size_t CheckRecord(const uint8_t* src, size_t size);

  // The per-layer values, written by each layer before it is drawn.
  void SetLayerState(bool camera, bool billboard, float xyRate, float wRate);
  bool IsMove() const { return mbMove != 0; }
  bool IsChange() const { return mbChange != 0; }
  bool IsBillboard() const { return mbBillboard != 0; }
  const CVector& GetEye() const { return mEye; }
  const CVector& GetLookAt() const { return mLookAt; }
  const CVector& GetUp() const { return mUp; }
  float GetZoom() const { return mfZoom; }
  int32_t GetKeyCount() const { return mnKeyCount; }
  int32_t GetDuration() const { return mnDuration; }
  int32_t GetElapsed() const { return mnElapsed; }

  // A quad Transform cleared: it is not to be drawn.
  static bool IsCleared(const SprtVertex& quad);

 protected:
  uint8_t mbCamera = 1;
  uint8_t mbBillboard = 0;
  float mfXYRate = 1.0f;
  float mfWRate = 1.0f;
  CVector mEye{0.0f, 0.0f, -kEyeDistance, 0.0f};
  CVector mLookAt{0.0f, 0.0f, 0.0f, 0.0f};
  CVector mUp{0.0f, 1.0f, 0.0f, 0.0f};
  float mfZoom = 0.0f;
  uint8_t mbChange = 0;
  uint8_t mbMove = 0;
  int32_t mnDuration = 0;
  int32_t mnElapsed = 0;
  int32_t mnKeyCount = 0;
  float mfKeyZoom[kMaxKeys] = {};
  CVector mKeyPos[kMaxKeys];
};
