// velto-tool hitmap: makes hit-map files (8-bit 800 × 600 bitmaps whose pixel
// values are region numbers) from grey PNG pictures, and turns them back.
#include <cstdio>
#include <string>
#include <vector>

#include "Command.h"
#include "assets/PngEncode.h"
#include "ui/HitMap.h"

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

const tool::Command& Self() {
  for (const auto& c : tool::Commands())
    if (std::string(c.name) == "hitmap") return c;
  return tool::Commands().front();
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* out) {
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return false;
  out->clear();
  uint8_t buf[1 << 16];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out->insert(out->end(), buf, buf + n);
  bool ok = !ferror(f);
  fclose(f);
  return ok;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& data) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(data.data(), 1, data.size(), f) == data.size();
  return fclose(f) == 0 && ok;
}

int Encode(const std::string& in, const std::string& out) {
  std::vector<uint8_t> file;
  if (!ReadWholeFile(in, &file)) return tool::Fail("cannot read " + in);
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
      return tool::Fail(in + ": pixel " + std::to_string(i % hitmap::kWidth) + "," + std::to_string(i / hitmap::kWidth) +
                        " is not grey");
    map[i] = b;
  }
  if (!WriteWholeFile(out, hitmap::Encode(map.data()))) return tool::Fail("cannot write " + out);
  return 0;
}

int Decode(const std::string& in, const std::string& out) {
  std::vector<uint8_t> file;
  if (!ReadWholeFile(in, &file)) return tool::Fail("cannot read " + in);
  std::vector<uint8_t> map(hitmap::kMapSize);
  if (!hitmap::Decode(file.data(), file.size(), map.data()))
    return tool::Fail(in + ": not an 8-bit 800x600 hit map");
  std::vector<uint32_t> pixels(hitmap::kMapSize);
  for (size_t i = 0; i < map.size(); ++i) pixels[i] = 0xFF000000u | map[i] * 0x010101u;
  std::vector<uint8_t> png;
  if (!EncodePngPixels(pixels.data(), hitmap::kWidth, hitmap::kHeight, false, &png) || !WriteWholeFile(out, png))
    return tool::Fail("cannot write " + out);
  return 0;
}

int HitmapMain(const tool::Args& args) {
  if (args.size() != 3) return tool::Usage(Self());
  if (args[0] == "encode") return Encode(args[1], args[2]);
  if (args[0] == "decode") return Decode(args[1], args[2]);
  return tool::Usage(Self());
}

}  // namespace
