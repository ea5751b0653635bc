// The extras screen's table: any source that compiles is read over the
// built-in layout, which must stay within what the screen can hold; the
// layout is printed and read again.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "scenario/SnrBuffer.h"
#include "scenario/SnrCompiler.h"
#include "scenario/TextCodec.h"
#include "screens/DIBOmakeScreen.h"

namespace {

void Check(bool ok) {
  if (!ok) abort();
}

std::unique_ptr<OmakeLayout> Read(const std::string& source) {
  snr::CompileResult r = snr::CompileScenario(source, "OMAKE.txt", snr::BuildTextEncoding());
  if (!r.ok) return nullptr;
  CSnrBuffer table;
  if (!table.ReadMemory("OMAKE", r.file.data(), r.file.size())) return nullptr;
  auto layout = CDIBOmakeScreen::DefaultLayout();
  CDIBOmakeScreen::ReadLayout(table, *layout);
  return layout;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto layout = Read(std::string(reinterpret_cast<const char*>(data), size));
  if (!layout) return 0;
  for (const OmakeModeLayout& m : layout->mode) {
    Check(m.nSumPerPage >= 0 && m.nSumPerPage <= OmakeModeLayout::kMaxSums);
    Check(m.nChars >= 0 && m.nChars <= OmakeModeLayout::kMaxChars);
    Check(memchr(m.szBack, 0, sizeof m.szBack) && memchr(m.szParts, 0, sizeof m.szParts));
  }
  for (int32_t v : layout->nViewerVar) Check(v >= -1 && v < 2000);
  Check(CDIBOmakeScreen::MusicCount(*layout) <= OmakeLayout::kMaxMusic);
  (void)Read(CDIBOmakeScreen::LayoutSource(*layout));
  return 0;
}
