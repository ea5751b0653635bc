#include "gen/Caption.h"

#include "app/core/Trace.h"

namespace gen {

// The engine's text drawing is not part of this build yet: captions are
// left out of the pictures until it is.
bool CaptionsAvailable() { return false; }

bool DrawCaption(CCanvas&, int, int, const CaptionStyle&, const std::string&, std::string*) {
  Trace("DrawCaption");
  return true;
}

}  // namespace gen
