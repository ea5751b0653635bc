// velto-tool mgd: makes picture files (".MGD") from PNG files, turns them
// back into PNG, and shows their size, encoding and sprite elements.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Command.h"
#include "ToolFiles.h"
#include "assets/DIBSprite.h"
#include "assets/PictureWriter.h"
#include "assets/PngEncode.h"

namespace {

int MgdMain(const tool::Args& args);

VELTO_TOOL_COMMAND("mgd", "make, decode and inspect picture files (.MGD)",
                   "usage: velto-tool mgd encode [--encoding raw|sgd|png] [--element X,Y,W,H[,OX,OY]]... IN.png OUT.MGD\n"
                   "       velto-tool mgd decode IN.MGD OUT.png\n"
                   "       velto-tool mgd info IN.MGD\n"
                   "\n"
                   "encode  stores the picture (default encoding sgd); without --element one\n"
                   "        element covers the picture; a PNG without alpha is taken as opaque\n"
                   "decode  writes the picture as RGBA PNG, the stored alpha kept\n"
                   "info    prints WIDTHxHEIGHT encoding=ENC elements=N, then X Y W H OX OY\n"
                   "        per element\n",
                   &MgdMain);

// "X,Y,W,H" or "X,Y,W,H,OX,OY", each a signed 16-bit value.
bool ParseElement(const std::string& text, SprtElement* e, int* values) {
  std::vector<long> v;
  size_t at = 0;
  while (at <= text.size()) {
    size_t comma = text.find(',', at);
    std::string part = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
    char* end = nullptr;
    long n = strtol(part.c_str(), &end, 10);
    if (part.empty() || *end || n < -32768 || n > 32767) return false;
    v.push_back(n);
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  if (v.size() != 4 && v.size() != 6) return false;
  *values = static_cast<int>(v.size());
  v.resize(6, 0);
  *e = SprtElement{static_cast<int16_t>(v[0]), static_cast<int16_t>(v[1]), static_cast<int16_t>(v[2]),
                   static_cast<int16_t>(v[3]), static_cast<int16_t>(v[4]), static_cast<int16_t>(v[5])};
  return true;
}

const char* EncodingName(uint16_t encoding) {
  switch (encoding) {
    case kPictureRaw: return "raw";
    case kPictureSGD: return "sgd";
    case kPicturePNG: return "png";
    default: return "unknown";
  }
}

int Encode(const tool::Args& args) {
  uint16_t encoding = kPictureSGD;
  std::vector<SprtElement> elements;
  int elementWidth = 4;
  std::vector<std::string> rest;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--encoding" && i + 1 < args.size()) {
      const std::string& e = args[++i];
      if (e == "raw") encoding = kPictureRaw;
      else if (e == "sgd") encoding = kPictureSGD;
      else if (e == "png") encoding = kPicturePNG;
      else return tool::Fail("unknown encoding '" + e + "'");
    } else if (args[i] == "--element" && i + 1 < args.size()) {
      SprtElement e;
      int values = 0;
      if (!ParseElement(args[++i], &e, &values)) return tool::Fail("bad element '" + args[i] + "'");
      if (values == 6) elementWidth = 6;
      elements.push_back(e);
    } else {
      rest.push_back(args[i]);
    }
  }
  if (rest.size() != 2) return tool::Usage("mgd");
  std::vector<uint8_t> png;
  if (!tool::ReadWholeFile(rest[0], &png)) return tool::Fail("cannot read '" + rest[0] + "'");
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  if (!LoadPngImage(png.data(), png.size(), &pixels, &w, &h)) return tool::Fail("'" + rest[0] + "' is not a readable PNG");
  if (elements.empty()) elements.push_back(SprtElement{0, 0, static_cast<int16_t>(w), static_cast<int16_t>(h), 0, 0});
  std::vector<uint8_t> file;
  std::string error;
  if (!BuildPictureFile(pixels.data(), w, h, encoding, elements, elementWidth, &file, &error)) return tool::Fail(error);
  if (!tool::WriteWholeFile(rest[1], file)) return tool::Fail("cannot write '" + rest[1] + "'");
  return 0;
}

bool Load(const std::string& path, CDIBSprite* sprite) {
  std::vector<uint8_t> file;
  if (!tool::ReadWholeFile(path, &file)) {
    tool::Fail("cannot read '" + path + "'");
    return false;
  }
  if (!sprite->ReadFromMemory(file.data(), file.size())) {
    tool::Fail("'" + path + "' is not a readable picture file");
    return false;
  }
  return true;
}

int Decode(const tool::Args& args) {
  if (args.size() != 3) return tool::Usage("mgd");
  CDIBSprite sprite;
  if (!Load(args[1], &sprite)) return 1;
  if (!sprite.GetPixels()) return tool::Fail("the picture is empty");
  std::vector<uint8_t> png;
  if (!EncodePngPixels(sprite.GetPixels(), sprite.GetWidth(), sprite.GetHeight(), true, &png))
    return tool::Fail("PNG encoding failed");
  if (!tool::WriteWholeFile(args[2], png)) return tool::Fail("cannot write '" + args[2] + "'");
  return 0;
}

int Info(const tool::Args& args) {
  if (args.size() != 2) return tool::Usage("mgd");
  CDIBSprite sprite;
  if (!Load(args[1], &sprite)) return 1;
  printf("%dx%d encoding=%s elements=%d\n", sprite.GetWidth(), sprite.GetHeight(), EncodingName(sprite.GetEncoding()),
         sprite.GetSprtCount());
  for (int i = 0; i < sprite.GetSprtCount(); ++i) {
    const SprtElement* e = sprite.GetSprtInfo(i);
    printf("%d %d %d %d %d %d\n", e->x, e->y, e->w, e->h, e->ox, e->oy);
  }
  return 0;
}

int MgdMain(const tool::Args& args) {
  if (args.empty()) return tool::Usage("mgd");
  if (args[0] == "encode") return Encode(args);
  if (args[0] == "decode") return Decode(args);
  if (args[0] == "info") return Info(args);
  return tool::Usage("mgd");
}

}  // namespace
