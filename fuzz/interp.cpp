// Compiled scenarios run by the interpreter: each input is a scenario file
// (plain or scrambled) played for a few hundred frames on a headless
// application whose game folder holds a few pictures, sounds and a second
// scenario to load. Nothing may crash, hang or read out of bounds; the
// error boxes a damaged story raises are answered silently.
#include "HeadlessGame.h"
#include "platform/Random.h"

namespace {

constexpr int kFrames = 200;
// A story that loops without waiting stops after this many commands a
// frame here, so that an input costs milliseconds, not seconds.
constexpr int kCommandsPerFrame = 2000;

class CFuzzScreen : public CDIBSnrBaseScreen {
 public:
  CFuzzScreen() : CDIBSnrBaseScreen(nullptr) { mnRunCommandLimit = kCommandsPerFrame; }
};

void FillGame() {
  using namespace headless;
  Scenario("START", "END\n");
  Scenario("NEXT", "*a:\nMOV $1, ($1 + 1)\nATIMES 60\nAWAIT 1, 2, 3, 4, 5, 6\nIF $1, \"<\", 3, *a\nLS \"START\"\n");
  Picture("BG01", 800, 600, 0xFF336699u);
  Picture("CH01", 200, 300, 0x80FFCC00u);
  Picture("DROP", 4, 16, 0xC0FFFFFFu);
  Picture("MASK", 64, 48, 0xFF808080u);
  Tone("BGM", "BGM01", 600);
  Tone("SE", "SE01", 200);
  Tone("VOICE", "V0001", 300);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CMainWindowImpl* app = headless::Start("fuzz-interp", FillGame);
  headless::Write("MSD/FUZZ.MSD", data, size);
  plat::SRand(1);
  auto* screen = new CFuzzScreen;
  if (screen->Initialize(nullptr) && screen->ReadScenario("FUZZ")) headless::Frames(app, screen, kFrames);
  delete screen;
  headless::Reset(app);
  return 0;
}
