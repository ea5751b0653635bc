// The picture description language: one drawing command a line, after the
// source preprocessor. See docs/drawing.md for the commands.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "assets/DIBSprite.h"
#include "gen/Canvas.h"
#include "gen/Preprocess.h"
#include "gen/Shapes.h"

namespace gen {

struct PictureResult {
  CCanvas canvas;
  uint16_t encoding = kPictureSGD;
  std::vector<SprtElement> elements;
  int elementWidth = 4;
  // A shape was drawn with smooth edges (a hit map must not have them).
  bool smoothEdges = false;
  // The hot spot of a mouse cursor.
  int hotX = 0, hotY = 0;
};

// A picture read for the image command: pixels and elements.
struct LoadedPicture {
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  std::vector<SprtElement> elements;
  std::vector<Rgba> premul;  // the pixels as the canvas holds them, made once
};

class CDrawScript {
 public:
  // Folders searched for the files of the image command after the
  // description's own folder.
  void AddImageDir(const std::string& dir);
  // The largest picture (width × height) a description may ask for.
  void SetMaxPixels(long pixels) { mMaxPixels = pixels; }
  bool Run(const std::vector<SourceLine>& lines, PictureResult* out, std::string* error);
  // Files the image command read, for build dependencies.
  const std::vector<std::string>& ImageFiles() const { return mImageFiles; }

 private:
  struct Args {
    std::vector<std::string> pos;
    std::map<std::string, std::string> opt;
  };
  bool Split(const std::string& text, Args* args);
  bool Command(const std::string& name, Args& args);
  bool Num(const std::string& text, float* out);
  bool Pos(const Args& a, size_t i, float* out);
  bool OptNum(Args& a, const char* key, float* out);
  bool Color(const std::string& text, uint32_t* out);
  bool ParsePaint(const std::string& text, const Box& box, Paint* out);
  bool Style(Args& a, const Box& box, ShapeStyle* style, bool fillByDefault);
  bool Draw(const Shape& shape, Args& a, bool fillByDefault);
  bool Points(const Args& a, size_t from, std::vector<Point>* out);
  bool Path(const Args& a, std::vector<Point>* out);
  bool Image(Args& a);
  bool Text(Args& a);
  bool Noise(Args& a);
  bool Blur(Args& a);
  bool GradeCmd(Args& a);
  bool Figure(Args& a);
  bool Elements(const std::string& name, Args& a);
  const LoadedPicture* LoadImage(const std::string& name);
  bool NoUnused(const Args& a);
  bool Fail(const std::string& message);

  std::vector<std::string> mImageDirs;
  std::vector<std::string> mImageFiles;
  std::map<std::string, LoadedPicture> mImages;
  const SourceLine* mpLine = nullptr;
  PictureResult* mpOut = nullptr;
  bool mSmooth = true;
  bool mFilling = false;
  long mMaxPixels = 4096L * 4096L;
  bool mStarted = false;
  std::string mError;
};

// Writes the picture by the extension of `path`: ".MGD" a picture file in
// the picture's encoding, ".png" an RGBA PNG, ".BMP" a hit map (800 × 600,
// every pixel grey; grey n is region n), ".CUR" a mouse cursor (at most
// 256 × 256, with its hot spot). Case does not matter. `quick`
// compresses a PNG less (movie frames, read once by the next step).
bool WritePicture(const std::string& path, const PictureResult& picture, std::string* error, bool quick = false);
// Reads a picture file (".MGD") or a PNG.
bool LoadPicture(const std::string& path, LoadedPicture* out, std::string* error);

}  // namespace gen
