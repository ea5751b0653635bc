// Making movies for the game: a sequence of pictures and an optional sound
// encoded as an MPEG-1 system stream (MPEG-1 video, MPEG audio layer II), the
// form every build of the player plays.
#pragma once
#include <string>
#include <vector>

struct MovieMakeOptions {
  std::vector<std::string> pictures;  // PNG files, in order
  std::string sound;                  // any sound file FFmpeg reads; "" = none
  int fps = 30;                       // 24, 25, 30, 50 or 60
  int hold = 1;                       // frames each picture is shown
  int width = 0;                      // 0: the first picture's size
  int height = 0;
  int quality = 4;                    // MPEG quantiser, 2 (best) … 31
};

// Writes the movie to `path`. The last picture stays on until the sound is
// over. False with the reason in `error`.
bool MakeMovie(const MovieMakeOptions& options, const std::string& path, std::string* error);

// Reads a whole sound file as 44100 Hz stereo 16-bit frames (interleaved).
// False with the reason in `error`.
bool ReadSoundFile(const std::string& path, std::vector<int16_t>* samples, std::string* error);
