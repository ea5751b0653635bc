// A screen transition: carries the display from an old full-screen picture
// to a new one over a given time with one of the numbered effects. Each
// effect is four members (initialise, move, draw, release) and one row of
// the effect table; the frame here dispatches by number.
#pragma once
#include <cstdint>

class CDIBImage;
struct EffectParam;

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
  // Copies the new picture whole to the target.
  void CopyNew(CDIBImage* target);

  void InitBlt(const EffectParam* param);
  void MoveBlt();
  void DrawBlt(CDIBImage* target);
  void ReleaseBlt();

  void InitFade(const EffectParam* param);
  void MoveFade();
  void DrawFade(CDIBImage* target);
  void ReleaseFade();

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
};
