// Saved virtual-screen records as a saved game hands them to the virtual
// screen: the front page, the screen action, 256 action records of every
// kind, 32 layer records naming pictures, two camera records. A valid record
// is tens of kilobytes, so besides the raw input the target loads a valid
// record with the input patched into it (an offset, a new length, the bytes
// to write there). The pictures come from a cache over an in-memory source.
// Whatever loads must move, draw, and save again to a record that checks.
// The base record attaches no layer to its waving action and sets no screen
// action (one byte each away), so that most inputs stay quick.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "app/core/MainWindow.h"
#include "assets/DIBDisplay.h"
#include "assets/DIBSprite.h"
#include "assets/FileJoin.h"
#include "assets/PictureWriter.h"
#include "assets/SpriteCache.h"
#include "platform/Random.h"
#include "scene/DIBSnrVVram.h"

namespace {

// A picture source held in memory.
class CMemoryJoin : public CFileJoin {
 public:
  void Put(const std::string& name, std::vector<uint8_t> file) { mFiles[name] = std::move(file); }
  bool Open(const char* name) override {
    auto it = mFiles.find(name ? name : "");
    mpOpen = it == mFiles.end() ? nullptr : &it->second;
    mPos = 0;
    return mpOpen != nullptr;
  }
  uint32_t GetSize() override { return mpOpen ? static_cast<uint32_t>(mpOpen->size()) : 0; }
  uint32_t Read(void* buffer, uint32_t count) override {
    if (!mpOpen || mPos >= mpOpen->size()) return 0;
    const uint32_t n = static_cast<uint32_t>(std::min<size_t>(count, mpOpen->size() - mPos));
    memcpy(buffer, mpOpen->data() + mPos, n);
    mPos += n;
    return n;
  }
  void Seek(uint32_t position) override { mPos = position; }
  void Close() override { mpOpen = nullptr; }

 private:
  std::map<std::string, std::vector<uint8_t>> mFiles;
  const std::vector<uint8_t>* mpOpen = nullptr;
  size_t mPos = 0;
};

std::vector<uint8_t> Picture(int w, int h, uint32_t seed) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * h);
  for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<uint32_t>(i * 2654435761u) ^ seed;
  std::vector<uint8_t> out;
  std::string error;
  BuildPictureFile(px.data(), w, h, kPictureRaw, {SprtElement{0, 0, 0, 0, 0, 0}}, 4, &out, &error);
  return out;
}

struct World {
  CMainWindow window;
  CMemoryJoin source;
  CSpriteCache cache;
  CDIBDisplay display;
  CDIBSnrVVram vvram;
  std::vector<uint8_t> base;

  World() {
    gpMainWindow = &window;
    window.mpSpriteCache = &cache;
    window.mpDisplay = &display;
    source.Put("A", Picture(24, 16, 1));
    source.Put("B", Picture(40, 30, 2));
    source.Put("D", Picture(2, 6, 3));
    cache.Initialize(&source);
    display.Initialize();
    vvram.Initialize();
    base = BaseRecord();
  }

  // A state with layers, cameras and an action of every kind but Fire,
  // whose flames cost too much time to light in every input.
  std::vector<uint8_t> BaseRecord() {
    CDIBSnrVVram screen;
    screen.Initialize();
    SnrActionParam p[4] = {};
    p[0].nKind = SNRACT_2DROT;
    p[0].rot.nPeriod = 500;
    p[1].nKind = SNRACT_SCROLL;
    p[1].scroll.nPeriod = 300;
    p[1].scroll.nCount = 3;
    p[1].scroll.nX[1] = 500;
    p[1].scroll.nY[2] = 400;
    p[1].scroll.bSmooth = 1;
    p[2].nKind = SNRACT_RASTER;
    p[2].raster.nPeriod = 200;
    p[2].raster.nAmplitude = 5;
    p[2].raster.nMode = 2;
    p[3].nKind = SNRACT_RAIN;
    p[3].rain.nFallTime = 400;
    p[3].rain.nCount = 6;
    p[3].rain.nSway = 3;
    p[3].rain.nWind = 10;
    strcpy(p[3].rain.szDrop, "D");
    for (int i = 0; i < 4; ++i) {
      screen.GetAction(i + 1)->Setup(&p[i]);
      screen.GetAction(i + 1)->Play();
    }
    for (int i = 0; i < 8; ++i) {
      CDIBSnrLayer* front = screen.GetLayer(i);
      CDIBSnrLayer* back = screen.GetBackLayer(i);
      front->SetImage(i % 2 ? "A" : "B");
      back->SetImage(i % 3 ? "B" : "A");
      front->SetPos(i * 90, i * 60, i * 10);
      back->SetAction(i < 4 && i != 2 ? i + 1 : 0);
      back->SetCameraState(true, i == 5, 0.5f, 1.5f);
      front->SetBlend(i % 2 == 0);
    }
    screen.GetBackCamera()->AddMove(420, 310, -980, 1);
    screen.GetBackCamera()->AddMove(380, 290, -900, 2);
    screen.GetBackCamera()->StartMove(600);
    screen.Move(false);
    std::vector<uint8_t> out(CDIBSnrVVram::kSaveSizeMax);
    out.resize(static_cast<size_t>(screen.Save(out.data()) - out.data()));
    return out;
  }
};

World& TheWorld() {
  static World* world = new World;
  return *world;
}

std::vector<uint8_t> Patched(const std::vector<uint8_t>& base, const uint8_t* data, size_t size) {
  return fuzzin::Patched(base, data, size, 64, false);
}

void Try(World& w, std::vector<uint8_t> record) {
  // Exactly sized, so any overread is caught.
  record.shrink_to_fit();
  const uint8_t* end = w.vvram.Load(record.data(), record.size());
  if (!end) return;
  if (end < record.data() || end > record.data() + record.size()) __builtin_trap();
  w.vvram.Move(record.size() & 1);
  w.display.BeginFrame();
  w.display.InvalidateAll();
  w.display.BuildDirtyRects();
  w.vvram.Draw(w.display.GetBackImage());
  // What loaded saves to a record that would load again.
  std::vector<uint8_t> again(CDIBSnrVVram::kSaveSizeMax);
  again.resize(static_cast<size_t>(w.vvram.Save(again.data()) - again.data()));
  if (CDIBSnrVVram::CheckRecord(again.data(), again.size()) != again.size()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  World& w = TheWorld();
  plat::SRand(1);
  Try(w, std::vector<uint8_t>(data, data + size));
  Try(w, Patched(w.base, data, size));
  return 0;
}
