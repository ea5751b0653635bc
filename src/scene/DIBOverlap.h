// A screen transition: carries the display from an old full-screen picture
// to a new one over a given time with one of the numbered effects. Each
// effect is four members (initialise, move, draw, release) and one row of
// the effect table; the frame here dispatches by number.
#pragma once
#include <cstdint>

class CDIBImage;
class CDIBSprite;
struct EffectParam;
struct OverlapArea;

// Effect numbers.
enum : int32_t {
  EFFECT_NONE = 0,
  EFFECT_BLT = 1,
  EFFECT_FADE = 2,
  EFFECT_ALPHA = 3,
  EFFECT_WIPE = 4,
  EFFECT_ROTATE = 5,
  EFFECT_LENSFLARE = 6,
  EFFECT_TWIST = 7,
  EFFECT_BOUND = 8,
  EFFECT_KACCHIN = 9,
  EFFECT_GLASS = 10,
  EFFECT_FIRE = 11,
  EFFECT_WATER = 12,
  EFFECT_FILM = 13,
  EFFECT_ROTDOOR = 14,
  EFFECT_BLUR = 15,
  EFFECT_COUNT = 16,
};

class CDIBOverlap {
 public:
  CDIBOverlap() = default;
  virtual ~CDIBOverlap();
  CDIBOverlap(const CDIBOverlap&) = delete;
  CDIBOverlap& operator=(const CDIBOverlap&) = delete;

  // Ends the current effect and frees what it made.
  virtual void Release();

  // Starts the effect the record names; a number without an effect does
  // nothing (the transition is then not running).
  void InitEffect(CDIBImage* oldImage, CDIBImage* newImage, const EffectParam* param);
  // One frame: advances the elapsed time, or ends the effect once the frame
  // at the full duration has been drawn.
  void Move(int32_t frameMs);
  void Draw(CDIBImage* target);

  bool IsRun() const { return mbRun; }
  // Asks the running effect to jump to its last frame at the next Move.
  void SetFinish() { mbFinish = true; }
  int32_t GetEffect() const { return mnEffect; }
  int32_t GetTime() const { return mnTime; }
  int32_t GetSpan() const { return mnSpan; }
  // Whether this build has the effect with that number.
  static bool HasEffect(int32_t effect);

 protected:
  // What every initialiser does: the number and duration recorded, the
  // clock at 0, running.
  void StartEffect(int32_t effect, int32_t span);
  // elapsed × 255 ÷ duration; 255 when the duration is not positive.
  uint32_t Alpha255() const;
  // elapsed × whole ÷ duration (integer); whole when the duration is not
  // positive.
  int64_t Share(int64_t whole) const;
  // elapsed ÷ duration, 0 … 1; 1 when the duration is not positive.
  double Progress() const;
  // Whether the last frame (elapsed at the duration) is due.
  bool AtEnd() const { return mnTime >= mnSpan; }
  // Copies the new picture whole to the target.
  void CopyNew(CDIBImage* target);
  void CopyOld(CDIBImage* target);
  // The area the old and new pictures and the target have in common; false
  // when one of them has no pixels.
  bool CommonSize(const CDIBImage* target, int* width, int* height) const;
  // Makes the effect area of the effect starting now (a fresh one).
  OverlapArea& NewArea();
  // Reads a picture the effect needs through the picture cache (kept in
  // the area and given back at release); null when there is no name, no
  // cache or the picture cannot be read.
  CDIBSprite* ReadPicture(const char* name, int slot);
  // Gives back the cached pictures, deletes the images and effect objects
  // and drops the area.
  void ReleaseArea();

  void InitBlt(const EffectParam* param);
  void MoveBlt();
  void DrawBlt(CDIBImage* target);
  void ReleaseBlt();

  void InitFade(const EffectParam* param);
  void MoveFade();
  void DrawFade(CDIBImage* target);
  void ReleaseFade();

  void InitAlpha(const EffectParam* param);
  void MoveAlpha();
  void DrawAlpha(CDIBImage* target);
  void ReleaseAlpha();
  void DrawAlpha00(CDIBImage* target);
  void DrawAlpha01(CDIBImage* target);
  void DrawAlpha02(CDIBImage* target);

  void InitWipe(const EffectParam* param);
  void MoveWipe();
  void DrawWipe(CDIBImage* target);
  void ReleaseWipe();
  void DrawWipe00(CDIBImage* target);
  void DrawWipe01(CDIBImage* target);

  void InitRotate(const EffectParam* param);
  void MoveRotate();
  void DrawRotate(CDIBImage* target);
  void ReleaseRotate();

  void InitLensFlare(const EffectParam* param);
  void MoveLensFlare();
  void DrawLensFlare(CDIBImage* target);
  void ReleaseLensFlare();

  void InitTwist(const EffectParam* param);
  void MoveTwist();
  void DrawTwist(CDIBImage* target);
  void ReleaseTwist();

  void InitBound(const EffectParam* param);
  void MoveBound();
  void DrawBound(CDIBImage* target);
  void ReleaseBound();

  void InitKacchin(const EffectParam* param);
  void MoveKacchin();
  void DrawKacchin(CDIBImage* target);
  void ReleaseKacchin();

  void InitGlass(const EffectParam* param);
  void MoveGlass();
  void DrawGlass(CDIBImage* target);
  void ReleaseGlass();

  void InitFire(const EffectParam* param);
  void MoveFire();
  void DrawFire(CDIBImage* target);
  void ReleaseFire();

  void InitWater(const EffectParam* param);
  void MoveWater();
  void DrawWater(CDIBImage* target);
  void ReleaseWater();

  void InitFilm(const EffectParam* param);
  void MoveFilm();
  void DrawFilm(CDIBImage* target);
  void ReleaseFilm();

  void InitRotDoor(const EffectParam* param);
  void MoveRotDoor();
  void DrawRotDoor(CDIBImage* target);
  void ReleaseRotDoor();

  void InitBlur(const EffectParam* param);
  void MoveBlur();
  void DrawBlur(CDIBImage* target);
  void ReleaseBlur();

  struct EffectOps {
    void (CDIBOverlap::*init)(const EffectParam*);
    void (CDIBOverlap::*move)();
    void (CDIBOverlap::*draw)(CDIBImage*);
    void (CDIBOverlap::*release)();
  };
  static const EffectOps kEffects[EFFECT_COUNT];

  CDIBImage* mpOldImage = nullptr;  // not owned
  CDIBImage* mpNewImage = nullptr;  // not owned
  int32_t mnEffect = EFFECT_NONE;
  int32_t mnTime = 0;
  int32_t mnSpan = 0;
  bool mbRun = false;
  bool mbFinish = false;
  // Milliseconds the last Move added to the elapsed time (what the effect
  // objects are advanced by).
  int32_t mnStepTime = 0;
  OverlapArea* mpArea = nullptr;  // owned; null while idle and for effects without one
};
