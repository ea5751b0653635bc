// Writing and reading the generator's pictures: picture files, PNG files
// and hit maps.
#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "app/core/Trace.h"
#include "assets/PictureWriter.h"
#include "assets/PngEncode.h"
#include "gen/DrawScript.h"
#include "ui/HitMap.h"

namespace gen {

namespace {

std::string Extension(const std::string& path) {
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return ext;
}

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}

void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

// A cursor file: one 32-bit image with its alpha, and the mask that older
// readers use (set where the picture is fully transparent).
std::vector<uint8_t> CursorFile(const std::vector<uint32_t>& pixels, int w, int h, int hotX, int hotY) {
  std::vector<uint8_t> dib;
  size_t maskStride = (static_cast<size_t>(w) + 31) / 32 * 4;
  Put32(dib, 40);
  Put32(dib, static_cast<uint32_t>(w));
  Put32(dib, static_cast<uint32_t>(h * 2));
  Put16(dib, 1);
  Put16(dib, 32);
  Put32(dib, 0);
  Put32(dib, static_cast<uint32_t>(w * h * 4 + maskStride * h));
  for (int i = 0; i < 4; ++i) Put32(dib, 0);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) Put32(dib, pixels[static_cast<size_t>(y) * w + x]);
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(maskStride, 0);
    for (int x = 0; x < w; ++x)
      if ((pixels[static_cast<size_t>(y) * w + x] >> 24) == 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    dib.insert(dib.end(), row.begin(), row.end());
  }
  std::vector<uint8_t> file;
  Put16(file, 0);
  Put16(file, 2);
  Put16(file, 1);
  file.push_back(static_cast<uint8_t>(w & 0xFF));
  file.push_back(static_cast<uint8_t>(h & 0xFF));
  file.push_back(0);
  file.push_back(0);
  Put16(file, static_cast<uint32_t>(hotX));
  Put16(file, static_cast<uint32_t>(hotY));
  Put32(file, static_cast<uint32_t>(dib.size()));
  Put32(file, 22);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& data, std::string* error) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  out.close();
  if (!out) {
    *error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace

bool WritePicture(const std::string& path, const PictureResult& picture, std::string* error, bool quick) {
  Trace("WritePicture");
  std::vector<uint32_t> pixels = picture.canvas.ToArgb();
  int w = picture.canvas.Width(), h = picture.canvas.Height();
  std::string ext = Extension(path);
  std::vector<uint8_t> file;
  if (ext == "png") {
    if (!EncodePngPixels(pixels.data(), w, h, true, &file, quick ? 1 : -1)) {
      *error = "PNG encoding failed";
      return false;
    }
  } else if (ext == "bmp") {
    if (w != hitmap::kWidth || h != hitmap::kHeight) {
      *error = path + ": a hit map is 800x600";
      return false;
    }
    if (picture.smoothEdges) {
      *error = path + ": a hit map's regions need sharp edges: draw it with 'smooth off'";
      return false;
    }
    std::vector<uint8_t> map(hitmap::kMapSize);
    for (size_t i = 0; i < map.size(); ++i) {
      uint32_t p = pixels[i];
      uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (r != g || g != b) {
        *error = path + ": pixel " + std::to_string(i % hitmap::kWidth) + "," + std::to_string(i / hitmap::kWidth) +
                 " is not grey (draw hit maps with 'smooth off' and grey colours)";
        return false;
      }
      map[i] = static_cast<uint8_t>(b);
    }
    file = hitmap::Encode(map.data());
  } else if (ext == "cur") {
    if (w > 256 || h > 256) {
      *error = path + ": a cursor is at most 256x256";
      return false;
    }
    file = CursorFile(pixels, w, h, picture.hotX, picture.hotY);
  } else if (ext == "mgd") {
    if (!BuildPictureFile(pixels.data(), w, h, picture.encoding, picture.elements, picture.elementWidth, &file,
                          error))
      return false;
  } else {
    *error = path + ": the output must end in .MGD, .png, .BMP or .CUR";
    return false;
  }
  return WriteFile(path, file, error);
}

bool LoadPicture(const std::string& path, LoadedPicture* out, std::string* error) {
  Trace("LoadPicture");
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) {
    *error = "cannot read " + path;
    return false;
  }
  if (Extension(path) == "png") {
    if (!LoadPngImage(data.data(), data.size(), &out->pixels, &out->width, &out->height, size_t{1} << 26)) {
      *error = path + ": not a readable PNG";
      return false;
    }
    out->elements.assign(1, SprtElement{0, 0, static_cast<int16_t>(out->width), static_cast<int16_t>(out->height), 0, 0});
    return true;
  }
  CDIBSprite sprite;
  if (!sprite.ReadFromMemory(data.data(), data.size()) || !sprite.GetPixels()) {
    *error = path + ": not a readable picture file";
    return false;
  }
  out->width = sprite.GetWidth();
  out->height = sprite.GetHeight();
  const uint32_t* p = sprite.GetPixels();
  out->pixels.assign(p, p + static_cast<size_t>(out->width) * out->height);
  out->elements.clear();
  for (int i = 0; i < sprite.GetSprtCount(); ++i) out->elements.push_back(*sprite.GetSprtInfo(i));
  return true;
}

}  // namespace gen
