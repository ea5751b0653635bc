// The movie screen: plays one movie full screen through the video player and
// returns to the screen that opened it, optionally starting music on the
// way back. While the movie plays the picture is the player's; afterwards
// the screen shows the player's last picture until the return transition
// is over.
#pragma once
#include <cstdint>

#include "app/flow/ScreenBlocks.h"
#include "ui/DIBBaseScreen.h"

class CDIBImage;

// Steps of CDIBMovieScreen::Move.
enum : int32_t { MOVIE_STEP_START = 0, MOVIE_STEP_PLAY = 1, MOVIE_STEP_STOP = 2, MOVIE_STEP_RETURN = 3 };

class CDIBMovieScreen : public CDIBBaseScreen {
 public:
  explicit CDIBMovieScreen(CBaseGame* parent);
  ~CDIBMovieScreen() override;

  using CDIBBaseScreen::Initialize;
  // Keeps the block and makes the last-picture image (black); false when it
  // cannot be made. The base screen's images are not made.
  virtual bool Initialize(const MovieStartBlock* block);
  void Release() override;
  void Move() override;
  void Draw(CDIBImage* target) override;
  void CopyImage(CDIBImage* target) override;
  // Nothing: the screen has no controls to redraw.
  void Update() override;
  // Returns to the opener with a fade out and in, and the return music.
  virtual void OnEnd();

  int32_t GetStep() const { return mnStep; }
  const MovieStartBlock& GetBlock() const { return mBlock; }

  // The factory's maker for SCREEN_MOVIE.
  static CDIBBaseScreen* Make(CBaseGame* parent, const void* startBlock);

 protected:
  MovieStartBlock mBlock{};
  CDIBImage* mpLastFrame = nullptr;
  int32_t mnStep = MOVIE_STEP_START;
};
