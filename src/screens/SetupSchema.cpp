#include "screens/SetupSchema.h"

#include "platform/Encoding.h"

namespace setup {

std::string CSetupPrinter::Quote(const char* local) {
  Trace("CSetupPrinter::Quote");
  std::string out = "\"";
  for (char c : plat::ToUtf8(local ? local : "")) {
    if (c == '"' || c == '\\' || c == '{') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace setup
