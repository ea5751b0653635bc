// velto-tool hitmap: makes hit-map files (8-bit 800 × 600 bitmaps whose pixel
// values are region numbers) from grey PNG pictures, and turns them back.
#include "ui/HitMap.h"

#include <cstdio>
#include <string>
#include <vector>

#include "Command.h"
#include "ToolFiles.h"
#include "assets/PngEncode.h"

namespace {

int HitmapMain(const tool::Args& args);

VELTO_TOOL_COMMAND("hitmap", "make and decode hit maps (8-bit 800x600 bitmaps of region numbers)",
                   "usage: velto-tool hitmap encode IN.png OUT.BMP\n"
                   "       velto-tool hitmap decode IN.BMP OUT.png\n"
                   "\n"
                   "encode  takes an 800x600 grey picture whose grey level (0-255) is the\n"
                   "        region number of each pixel and writes it as a hit map\n"
                   "decode  writes a hit map as an 800x600 grey picture, region n as grey n\n",
                   &HitmapMain);

int Encode(const std::string& in, const std::string& out) {
  std::vector<uint8_t> file;
  if (!tool::ReadWholeFile(in, &file)) return tool::Fail("cannot read " + in);
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  if (!LoadPngImage(file.data(), file.size(), &pixels, &width, &height, hitmap::kMapSize))
    return tool::Fail(in + ": not a PNG picture of at most 800x600");
  if (width != hitmap::kWidth || height != hitmap::kHeight)
    return tool::Fail(in + ": " + std::to_string(width) + "x" + std::to_string(height) + ", a hit map is 800x600");
  std::vector<uint8_t> map(hitmap::kMapSize);
  for (size_t i = 0; i < map.size(); ++i) {
    uint32_t p = pixels[i];
    uint8_t b = p & 0xFF, g = (p >> 8) & 0xFF, r = (p >> 16) & 0xFF;
    if (r != g || g != b)
      return tool::Fail(in + ": pixel " + std::to_string(i % hitmap::kWidth) + "," +
                        std::to_string(i / hitmap::kWidth) + " is not grey");
    map[i] = b;
  }
  if (!tool::WriteWholeFile(out, hitmap::Encode(map.data()))) return tool::Fail("cannot write " + out);
  return 0;
}

int Decode(const std::string& in, const std::string& out) {
  std::vector<uint8_t> file;
  if (!tool::ReadWholeFile(in, &file)) return tool::Fail("cannot read " + in);
  std::vector<uint8_t> map(hitmap::kMapSize);
  if (!hitmap::Decode(file.data(), file.size(), map.data())) return tool::Fail(in + ": not an 8-bit 800x600 hit map");
  std::vector<uint32_t> pixels(hitmap::kMapSize);
  for (size_t i = 0; i < map.size(); ++i) pixels[i] = 0xFF000000u | map[i] * 0x010101u;
  std::vector<uint8_t> png;
  if (!EncodePngPixels(pixels.data(), hitmap::kWidth, hitmap::kHeight, false, &png) || !tool::WriteWholeFile(out, png))
    return tool::Fail("cannot write " + out);
  return 0;
}

int HitmapMain(const tool::Args& args) {
  if (args.size() != 3) return tool::Usage("hitmap");
  if (args[0] == "encode") return Encode(args[1], args[2]);
  if (args[0] == "decode") return Decode(args[1], args[2]);
  return tool::Usage("hitmap");
}

}  // namespace
