// The whole program, headless, with a first screen that owns a message
// window and feeds it messages and choices the way the scenario screen
// does. The game folder holds the window's pictures and its setup table.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/AppFixture.h"
#include "app/flow/ScreenBlocks.h"
#include "app/flow/ScreenFactory.h"
#include "assets/DIBDisplay.h"
#include "assets/PictureWriter.h"
#include "assets/PixelRules.h"
#include "platform/Encoding.h"
#include "save/SaveData.h"
#include "text/MesWnd.h"
#include "ui/DIBBaseCtrl.h"
#include "ui/Input.h"

namespace mestest {

// The window background and the colours of the parts picture.
constexpr uint32_t kWndColor = 0xFF203040u;
constexpr int kWndW = 770, kWndH = 130;
constexpr uint32_t kScreenColor = 0xFF406080u;
// The window's background as the screen shows it (blended over the screen).
inline uint32_t WndOnScreen() { return pix::Blend(kScreenColor, kWndColor, 0xFFFFFFFFu); }
inline uint32_t PartColor(int frame) { return 0xFF000000u | static_cast<uint32_t>(frame) * 0x030507u; }
inline uint32_t NameColor(int n) { return 0xFF000000u | (0x80u + 0x20u * n) << 16 | 0x4020u; }
// Where button `id` stands and where to click it (the default layout).
inline int BtnX(int id) { return 664 + (id % 2) * 64 + 10; }
inline int BtnY(int id) { return 474 + (id / 2) * 20 + 6; }

inline std::string PictureFile(const std::vector<uint32_t>& px, int w, int h, const std::vector<SprtElement>& e) {
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_TRUE(BuildPictureFile(px.data(), w, h, kPictureRaw, e, 4, &out, &error)) << error;
  return std::string(out.begin(), out.end());
}

// "GAME_P.MGD": frame 0 the window, frames 1–80 small parts of 20 × 12;
// "NAME_P.MGD": three name plates of 120 × 30; "MESWND" with `defs` added
// to a table that names no hit map (buttons are hit by their quads).
inline void WriteWindowData(const TestDir& game, const std::string& defs = "", bool names = true) {
  const int w = 800, h = 180;
  std::vector<uint32_t> px(static_cast<size_t>(w) * h, 0);
  std::vector<SprtElement> e;
  e.push_back(SprtElement{0, 0, kWndW, kWndH, 0, 0});
  for (int y = 0; y < kWndH; ++y)
    for (int x = 0; x < kWndW; ++x) px[y * w + x] = kWndColor;
  for (int k = 1; k <= 80; ++k) {
    const int x0 = (k - 1) % 38 * 20, y0 = 140 + (k - 1) / 38 * 12;
    e.push_back(SprtElement{static_cast<int16_t>(x0), static_cast<int16_t>(y0), 20, 12, 0, 0});
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 20; ++x) px[(y0 + y) * w + x0 + x] = PartColor(k);
  }
  game.Write("MGD/GAME_P.MGD", PictureFile(px, w, h, e));
  if (names) {
    std::vector<uint32_t> np(360 * 30);
    std::vector<SprtElement> ne;
    for (int n = 0; n < 3; ++n) {
      ne.push_back(SprtElement{static_cast<int16_t>(n * 120), 0, 120, 30, 0, 0});
      for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) np[y * 360 + n * 120 + x] = NameColor(n);
    }
    game.Write("MGD/NAME_P.MGD", PictureFile(np, 360, 30, ne));
  }
  std::string source = "DEF 3, 1, \"\"\n" + defs;
  snr::CompileResult table = snr::CompileScenario(source, "MESWND.txt", snr::BuildTextEncoding());
  EXPECT_TRUE(table.ok) << table.error;
  game.Write("MSD/MESWND.MSD", std::string(table.file.begin(), table.file.end()));
}

using Step = std::function<void(CDIBMesWnd&)>;

// What the scenario screen's message command does.
inline Step Msg(const std::string& utf8, int mesNo = -1, int name = -1, const std::string& voice = "") {
  return [=](CDIBMesWnd& w) {
    w.SetOutNameNo(name);
    w.SetOutVFName(voice.c_str());
    w.AddOutFunc(MESFUNC_CLEAR);
    w.AddOutString(plat::FromUtf8(utf8).c_str());
    w.AddOutFunc(MESFUNC_CLICK);
    w.OutStart(mesNo);
  };
}

// A scenario screen in miniature: it opens its window, then runs one step
// each time the window is idle.
class CMesTestScreen : public CDIBBaseScreen {
 public:
  CMesTestScreen() : CDIBBaseScreen(nullptr) {}
  ~CMesTestScreen() override { delete wnd; }
  bool Build() {
    if (!Initialize()) return false;
    mpBackImage->FillFull(kScreenColor);
    wnd = new CDIBMesWnd(this);
    if (!wnd->Initialize()) return false;
    wnd->Close(false);
    wnd->SetCtrlActive(true);
    wnd->Open(true);
    return true;
  }
  void Move() override {
    CDIBBaseScreen::Move();
    ++frames;
    const long long now = static_cast<CMainWindowImpl*>(gpMainWindow)->FramesRun();
    if (now >= startFrame && !wnd->IsRun() && !wnd->IsOpenCloseMove() && next < steps.size()) {
      ++next;
      steps[next - 1](*wnd);
    }
    wnd->Move();
  }
  void Draw(CDIBImage* target) override {
    mpBackImage->Copy(target, 0, 0, 0, 0, 800, 600);
    wnd->Draw(target);
  }
  void CopyImage(CDIBImage* target) override { Draw(target); }

  CDIBMesWnd* wnd = nullptr;
  std::vector<Step> steps;
  size_t next = 0;
  int frames = 0;
  long long startFrame = 30;  // after the opening slide and the input's dead time
};

// A screen another screen opens: it notes how it was opened and, for the
// confirmation screen, answers on its first frame.
struct Opened {
  ScreenKind kind;
  CBaseGame* parent;
  std::string block;
};
inline std::vector<Opened>& OpenLog() {
  static std::vector<Opened> log;
  return log;
}
inline int& ConfAnswer() {
  static int answer = 0;
  return answer;
}

class CNoteScreen : public CDIBBaseScreen {
 public:
  CNoteScreen(CBaseGame* parent, const ConfStartBlock* conf) : CDIBBaseScreen(parent) {
    Initialize();
    if (conf) mConf = *conf;
    mbAnswer = conf != nullptr;
  }
  void Move() override {
    CDIBBaseScreen::Move();
    if (mbAnswer && mConf.pReceiver) {
      mbAnswer = false;
      mConf.pReceiver->Reaction(mConf.nCode, ConfAnswer());
    }
  }

 private:
  ConfStartBlock mConf{};
  bool mbAnswer = false;
};

template <ScreenKind kKind, size_t kSize>
CDIBBaseScreen* MakeNoteScreen(CBaseGame* parent, const void* block) {
  OpenLog().push_back({kKind, parent, std::string(static_cast<const char*>(block), kSize)});
  return new CNoteScreen(parent, kKind == SCREEN_CONF ? static_cast<const ConfStartBlock*>(block) : nullptr);
}

inline void RegisterNoteScreens() {
  OpenLog().clear();
  RegisterScreen(SCREEN_SAVELOAD, MakeNoteScreen<SCREEN_SAVELOAD, sizeof(SaveLoadStartBlock)>);
  RegisterScreen(SCREEN_OPTION, MakeNoteScreen<SCREEN_OPTION, sizeof(OptionStartBlock)>);
  RegisterScreen(SCREEN_CONF, MakeNoteScreen<SCREEN_CONF, sizeof(ConfStartBlock)>);
  RegisterScreen(SCREEN_TITLE, MakeNoteScreen<SCREEN_TITLE, sizeof(TitleStartBlock)>);
  RegisterScreen(SCREEN_SNR, MakeNoteScreen<SCREEN_SNR, sizeof(SnrStartBlock)>);
}

class MesWndGame : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    plat::SetMessageBoxHook([this](const char* text, const char*, uint32_t) {
      boxes.push_back(plat::ToUtf8(text));
      return 1;
    });
    WriteWindowData(game, defs);
    SetStartScreenFactory([this]() -> CDIBBaseScreen* {
      auto* s = new CMesTestScreen;
      screen = s;
      s->steps = steps;
      if (s->Build()) return s;
      delete s;
      screen = nullptr;
      return nullptr;
    });
  }
  void TearDown() override {
    ClearScreenMakers();
    AppFixture::TearDown();
  }
  // Starts the program with an input script (frames count from 1).
  void Begin(const std::string& script = "") {
    game.Write("input.txt", script);
    RunOptions o;
    o.headless = true;
    o.fixedStep = true;
    o.gameDir = game.path();
    o.inputFile = game.File("input.txt");
    Start(o);
    if (!gpMainWindow) {  // the first screen failed and the program ended
      app = nullptr;
      screen = nullptr;
      return;
    }
    std::string error;
    EXPECT_TRUE(app->GetRunner()->Prepare(error)) << error;
    if (gpMainWindow && gpMainWindow->mpSaveData) {
      CSaveData* save = gpMainWindow->mpSaveData;
      snprintf(save->mszSnrName, sizeof save->mszSnrName, "TEST");
      save->mConfig.nMesSpeed = mesSpeed;
      save->mConfig.nAutoSpeed = autoSpeed;
      save->mConfig.nSkipMode = skipMode;
    }
  }
  // Runs frames until the frame count reaches `frame`, or the program ends
  // (the application object deletes itself with its window).
  void RunTo(long long frame) {
    while (gpMainWindow && app->FramesRun() < frame) Idle(30);
    if (!gpMainWindow) app = nullptr, screen = nullptr;
  }
  bool Ended() const { return gpMainWindow == nullptr; }
  long long Frame() const { return app->FramesRun(); }
  CDIBMesWnd* W() const { return screen ? screen->wnd : nullptr; }
  // Runs until the window is waiting or idle; false when it takes too long.
  bool RunUntil(const std::function<bool()>& done, int limit = 2000) {
    for (int i = 0; i < limit; ++i) {
      if (done()) return true;
      Idle(30);
    }
    return done();
  }
  uint32_t Pixel(int x, int y) const {
    return gpMainWindow->mpDisplay->GetBackImage()->GetPixels()[y * 800 + x];
  }

  std::string defs;
  std::vector<Step> steps;
  int mesSpeed = 255, autoSpeed = 128, skipMode = 1;
  CMesTestScreen* screen = nullptr;
  std::vector<std::string> boxes;
};

// Script lines.
inline std::string Click(long long frame, int x = 400, int y = 300) {
  return std::to_string(frame) + " move " + std::to_string(x) + " " + std::to_string(y) + "\n" +
         std::to_string(frame + 2) + " down LBUTTON\n" + std::to_string(frame + 4) + " up LBUTTON\n";
}
inline std::string Key(long long frame, const char* key, int hold = 2) {
  return std::to_string(frame) + " down " + key + "\n" + std::to_string(frame + hold) + " up " + key + "\n";
}
inline std::string Wheel(long long frame, int delta) {
  return std::to_string(frame) + " wheel " + std::to_string(delta) + "\n";
}

}  // namespace mestest
