// The game program with a first screen that owns a message window instead of
// the title. It shows the messages of "MESSAGES.txt" in the game folder (one
// a line, UTF-8; "|" inside a line is a click mark, a line "SKIP" turns skip
// on) and prints "message N FRAME" as each one ends and "backlog N" at the
// end. Used to drive the window by input scripts, headless or in a window.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/Entry.h"
#include "app/MainWindowImpl.h"
#include "app/StartScreen.h"
#include "assets/DIBImage.h"
#include "platform/Encoding.h"
#include "text/MesWnd.h"
#include "ui/DIBBaseScreen.h"

namespace {

class CTextScreen : public CDIBBaseScreen {
 public:
  CTextScreen() : CDIBBaseScreen(nullptr) {}
  ~CTextScreen() override {
    if (mpWnd) printf("backlog %d\n", mpWnd->GetBackLogCount());
    delete mpWnd;
  }
  bool Build() {
    if (!Initialize()) return false;
    mpBackImage->FillFull(0xFF406080u);
    std::ifstream in(std::string(gszInstallDir) + "MESSAGES.txt");
    for (std::string line; std::getline(in, line);)
      if (!line.empty()) mLines.push_back(line);
    mpWnd = new CDIBMesWnd(this);
    if (!mpWnd->Initialize()) return false;
    mpWnd->Close(false);
    mpWnd->SetCtrlActive(true);
    mpWnd->Open(true);
    return true;
  }
  void Move() override {
    CDIBBaseScreen::Move();
    const long long frame = static_cast<CMainWindowImpl*>(gpMainWindow)->FramesRun();
    if (mbStarted && !mpWnd->IsRun()) {
      printf("message %zu %lld\n", mNext, frame);
      mbStarted = false;
    }
    while (!mbStarted && !mpWnd->IsOpenCloseMove() && mNext < mLines.size()) {
      const std::string& line = mLines[mNext++];
      if (line == "SKIP") {
        mpWnd->SetMesSkip(true);
        continue;
      }
      mpWnd->AddOutFunc(MESFUNC_CLEAR);
      size_t from = 0;
      for (size_t bar; (bar = line.find('|', from)) != std::string::npos; from = bar + 1) {
        mpWnd->AddOutString(plat::FromUtf8(line.substr(from, bar - from)).c_str());
        mpWnd->AddOutFunc(MESFUNC_CLICK);
      }
      mpWnd->AddOutString(plat::FromUtf8(line.substr(from)).c_str());
      mpWnd->AddOutFunc(MESFUNC_CLICK);
      mpWnd->SetOutNameNo(static_cast<int32_t>(mNext % 3));
      mpWnd->OutStart(static_cast<int32_t>(mNext));
      mbStarted = true;
    }
    mpWnd->Move();
  }
  void Draw(CDIBImage* target) override {
    mpBackImage->Copy(target, 0, 0, 0, 0, 800, 600);
    mpWnd->Draw(target);
  }
  void CopyImage(CDIBImage* target) override { Draw(target); }

 private:
  CDIBMesWnd* mpWnd = nullptr;
  std::vector<std::string> mLines;
  size_t mNext = 0;
  bool mbStarted = false;
};

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  SetStartScreenFactory([]() -> CDIBBaseScreen* {
    auto* screen = new CTextScreen;
    if (screen->Build()) return screen;
    delete screen;
    return nullptr;
  });
  return VeltoMain(argc, argv);
}
