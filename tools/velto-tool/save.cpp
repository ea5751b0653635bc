// velto-tool save: inspects saved games and "CONFIG.SAV".
#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "Command.h"
#include "platform/Encoding.h"
#include "save/ConfigFile.h"
#include "save/GameFile.h"
#include "save/SaveDigest.h"
#include "save/SaveFileIO.h"

namespace {

constexpr size_t kMaxFile = 256u << 20;

const char kUsage[] =
    "usage: velto-tool save info [--key PHRASE] FILE\n"
    "       velto-tool save thumb FILE OUT.png\n"
    "       velto-tool save config FILE\n"
    "\n"
    "info    prints a saved game's subtitle, thumbnail size, scenario name and\n"
    "        music, and whether its signature matches the title phrase (the\n"
    "        game's window title, or PHRASE given in UTF-8)\n"
    "thumb   writes the thumbnail of a saved game as a PNG picture\n"
    "config  prints the settings of a CONFIG.SAV and counts its read-text\n"
    "        records and unlock flags\n";

int Usage() {
  fputs(kUsage, stderr);
  return 2;
}

bool Load(const std::string& path, std::vector<uint8_t>& bytes) {
  if (save::ReadWholeFile(path, kMaxFile, bytes)) return true;
  tool::Fail("cannot read " + path);
  return false;
}

std::string Utf8(const char* local) { return plat::ToUtf8(local); }

int Info(const std::string& phrase, const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!Load(path, bytes)) return 1;
  auto game = std::make_unique<SavedGame>();
  GameFileError e = ParseGameFile(bytes.data(), bytes.size(), phrase.c_str(), &SaveHexDigest, *game, false);
  if (e != GameFileError::kNone) return tool::Fail(path + ": " + GameFileErrorText(e));
  bool signed_ = HasGameSignature(bytes.data(), bytes.size(), phrase.c_str(), &SaveHexDigest);
  printf("subtitle: %s\n", Utf8(game->subTitle).c_str());
  if (game->sumPixels.empty())
    printf("thumbnail: none\n");
  else
    printf("thumbnail: %dx%d (%zu bytes)\n", game->sumWidth, game->sumHeight, game->sumPixels.size() * 4);
  printf("scenario: %s\n", Utf8(game->snrName).c_str());
  if (game->bgmName[0])
    printf("music: %s (%s%s)\n", Utf8(game->bgmName).c_str(), game->bgmPlay ? "playing" : "stopped",
           game->bgmLoop ? ", loops" : "");
  else
    printf("music: none\n");
  printf("state: %zu bytes\n", game->state.size());
  printf("signature: %s\n", signed_ ? "matches" : "does not match");
  return 0;
}

bool Encode(png_structp png, png_infop info, FILE* f, int width, int height, png_bytep* rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, f);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

// libpng reports errors by longjmp: everything with a destructor is made
// before the jump point.
bool WritePng(const std::string& out, int width, int height, const std::vector<uint32_t>& px) {
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < px.size() && i * 4 < rgba.size(); ++i) {
    rgba[i * 4 + 0] = static_cast<uint8_t>(px[i] >> 16);
    rgba[i * 4 + 1] = static_cast<uint8_t>(px[i] >> 8);
    rgba[i * 4 + 2] = static_cast<uint8_t>(px[i]);
    rgba[i * 4 + 3] = static_cast<uint8_t>(px[i] >> 24);
  }
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) rows[y] = rgba.data() + static_cast<size_t>(y) * width * 4;
  FILE* f = fopen(out.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = png && info && Encode(png, info, f, width, height, rows.data());
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  return (fclose(f) == 0) && ok;
}

int Thumb(const std::string& path, const std::string& out) {
  std::vector<uint8_t> bytes;
  if (!Load(path, bytes)) return 1;
  auto game = std::make_unique<SavedGame>();
  GameFileError e = ParseGameFile(bytes.data(), bytes.size(), "", &SaveHexDigest, *game, false);
  if (e != GameFileError::kNone) return tool::Fail(path + ": " + GameFileErrorText(e));
  if (game->sumPixels.empty()) return tool::Fail(path + ": no thumbnail");
  if (!WritePng(out, game->sumWidth, game->sumHeight, game->sumPixels)) return tool::Fail("cannot write " + out);
  return 0;
}

int Config(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!Load(path, bytes)) return 1;
  auto data = std::make_unique<ConfigFileData>();
  std::string why;
  if (!ParseConfigFile(bytes.data(), bytes.size(), *data, &why)) return tool::Fail(path + ": " + why);
  const ConfigRecord& c = data->config;
  printf("bFullScreen: %d\n", c.bFullScreen ? 1 : 0);
  printf("nSkipMode: %d\n", c.nSkipMode);
  printf("nMesSpeed: %d\n", c.nMesSpeed);
  printf("nAutoSpeed: %d\n", c.nAutoSpeed);
  printf("bBGM: %d\nbSE: %d\nbVoice: %d\n", c.bBGM ? 1 : 0, c.bSE ? 1 : 0, c.bVoice ? 1 : 0);
  printf("nBGMVol: %d\nnSEVol: %d\nnVoiceVol: %d\n", c.nBGMVol, c.nSEVol, c.nVoiceVol);
  size_t messages = 0;
  for (const auto& k : data->kidoku)
    for (uint8_t b : k.bits) messages += static_cast<size_t>(__builtin_popcount(b));
  printf("read-text records: %zu (%zu messages read)\n", data->kidoku.size(), messages);
  size_t cg = 0, scene = 0;
  for (auto& g : data->cgFlag)
    for (auto& e : g)
      for (uint8_t f : e) cg += f != 0;
  for (auto& g : data->sceneFlag)
    for (uint8_t f : g) scene += f != 0;
  printf("gallery flags: %zu of %d\n", cg, kCGGroups * kCGEntries * kCGVariants);
  printf("scene flags: %zu of %d\n", scene, kSceneGroups * kSceneEntries);
  return 0;
}

int SaveMain(const tool::Args& args) {
  if (args.empty()) return Usage();
  const std::string& sub = args[0];
  if (sub == "info") {
    std::string phrase = SavePhrase();
    size_t i = 1;
    if (args.size() > 2 && args[1] == "--key") {
      phrase = plat::FromUtf8(args[2]);
      i = 3;
    }
    if (args.size() != i + 1) return Usage();
    return Info(phrase, args[i]);
  }
  if (sub == "thumb" && args.size() == 3) return Thumb(args[1], args[2]);
  if (sub == "config" && args.size() == 2) return Config(args[1]);
  return Usage();
}

}  // namespace

VELTO_TOOL_COMMAND("save", "inspect saved games and CONFIG.SAV", kUsage, &SaveMain);
