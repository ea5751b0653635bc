// Runs the application in this process, headless on the virtual clock, with
// a story started as a game maker's --start would: scenarios compiled in the
// test, an optional input script, and the error boxes collected as UTF-8.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppFixture.h"
#include "assets/PictureWriter.h"
#include "audio/OggEncode.h"
#include "platform/Encoding.h"
#include "platform/Random.h"
#include "save/SaveData.h"
#include "scenario/interp/DIBSnrBaseScreen.h"

class InterpTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    SetStartScreenFactory({});
    plat::SetMessageBoxHook([this](const char* text, const char*, uint32_t) {
      boxes.push_back(plat::ToUtf8(text));
      return plat::IDOK;
    });
  }

  // Compiles `source` into MSD/<name>.MSD of the game folder.
  void Scenario(const std::string& name, const std::string& source) {
    snr::CompileResult r = snr::CompileScenario(source, name + ".txt", snr::BuildTextEncoding());
    ASSERT_TRUE(r.ok) << r.error;
    game.Write("MSD/" + name + ".MSD", std::string(r.file.begin(), r.file.end()));
  }

  // A flat picture of one colour in MGD/<name>.MGD.
  void Picture(const std::string& name, int w, int h, uint32_t color) {
    std::vector<uint32_t> px(static_cast<size_t>(w) * h, color);
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(BuildPictureFile(px.data(), w, h, kPictureRaw, {{0, 0, 0, 0, 0, 0}}, 4, &out, &error)) << error;
    game.Write("MGD/" + name + ".MGD", std::string(out.begin(), out.end()));
  }

  // A tone of `ms` milliseconds in <folder>/<name>.OGG.
  void Sound(const std::string& folder, const std::string& name, uint32_t ms) {
    std::vector<uint8_t> out;
    ASSERT_TRUE(EncodeOggTone(440, ms, 22050, 1, out));
    game.Write(folder + "/" + name + ".OGG", std::string(out.begin(), out.end()));
  }

  // The application a run is made of.
  virtual CMainWindowImpl* MakeApp(const RunOptions& options) { return new CMainWindowImpl(options); }

  // Starts the game on scenario `name`; `script` is an input script's text.
  void Run(const std::string& name, const std::string& script = "") {
    RunOptions options;
    options.headless = true;
    options.fixedStep = true;
    options.startScenario = name;
    if (!script.empty()) {
      game.Write("input.txt", script);
      options.inputFile = game.File("input.txt");
    }
    plat::SRand(1);
    app = MakeApp(options);
    gpMainWindow = app;
    std::string error;
    ASSERT_TRUE(app->GetRunner()->Prepare(error)) << error;
    ASSERT_TRUE(app->Create());
    Pump();
  }

  // One frame; false once the program has closed.
  bool Frame() {
    if (!gpMainWindow) return false;
    Idle(30);
    if (!gpMainWindow) app = nullptr;
    return app != nullptr;
  }
  // Frames until `done` holds or `limit` frames have run; the frames run.
  template <class Done>
  int FramesUntil(Done done, int limit = 1000) {
    for (int n = 1; n <= limit; ++n) {
      if (!Frame()) return n;
      if (done()) return n;
    }
    return limit + 1;
  }
  void Frames(int n) {
    for (int i = 0; i < n && Frame(); ++i) {
    }
  }
  bool Closed() const { return app == nullptr; }

  CDIBSnrBaseScreen* Screen() const {
    return app && app->mpRootFlow ? dynamic_cast<CDIBSnrBaseScreen*>(app->mpRootFlow->GetScreen()) : nullptr;
  }
  int32_t Var(int i) const { return app->mpSaveData->mVariable[i]; }
  long long FrameNo() const { return app ? app->FramesRun() : -1; }

  std::vector<std::string> boxes;
};

// Ends a test scenario: waits for ever without closing the program.
inline const char kIdle[] = "*idle:\nATIMES -1\nAWAIT 0, 1990, 1991, 1992, 1993, 1994\nJP *idle\n";
