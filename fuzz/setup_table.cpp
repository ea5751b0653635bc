// The game screens' layout tables: any bytes read as a compiled table give
// each screen a layout it can build, record by record.
#include <cstdint>
#include <cstdlib>

#include "scenario/SnrBuffer.h"
#include "screens/DIBOptionScreen.h"
#include "screens/DIBSaveLoadScreen.h"
#include "screens/DIBTitleScreen.h"

namespace {

void Check(bool ok) {
  if (!ok) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CSnrBuffer table;
  if (!table.ReadMemory("FUZZ", data, size, "KEY")) return 0;
  TitleLayout t = CDIBTitleScreen::DefaultLayout();
  CDIBTitleScreen::ReadLayout(table, t);
  Check(t.szPicture[0][63] == 0 && t.nIdleTime >= 0 && t.nName[4] >= 0);
  SaveLoadLayout s = CDIBSaveLoadScreen::DefaultLayout();
  CDIBSaveLoadScreen::ReadLayout(table, s);
  Check(s.nPages >= 1 && s.nPages <= SaveLoadLayout::kMaxPages && s.nSlots >= 0 &&
        s.nSlots + SAVELOAD_SLOT <= SaveLoadLayout::kControls);
  for (const SaveLoadFont& f : s.font) Check(f.szFace[63] == 0 && f.nHeight >= 1);
  OptionLayout o = CDIBOptionScreen::DefaultLayout();
  CDIBOptionScreen::ReadLayout(table, o);
  Check(o.szVoiceTest[63] == 0 && o.nCancelFade >= 0);
  return 0;
}
