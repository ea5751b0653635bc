#include "scenario/CommandTable.h"

#include <strings.h>

namespace snr {

namespace {

constexpr SnrCommandInfo kCommands[] = {
    {kCmdLPT, "LPT"},
    {kCmdLS, "LS"},
    {kCmdJP, "JP"},
    {kCmdONJP, "ONJP"},
    {kCmdMOV, "MOV"},
    {kCmdIF, "IF"},
    {kCmdATIMES, "ATIMES"},
    {kCmdAWAIT, "AWAIT"},
    {kCmdRANDOM, "RANDOM"},
    {kCmdCMPSTR, "CMPSTR"},
    {kCmdIMREAD, "IMREAD"},
    {kCmdIMFREE, "IMFREE"},
    {kCmdLYIMAGE, "LYIMAGE"},
    {kCmdLYPOS, "LYPOS"},
    {kCmdLYSIZE, "LYSIZE"},
    {kCmdLYCOLOR, "LYCOLOR"},
    {kCmdLYBLEND, "LYBLEND"},
    {kCmdLYANTI, "LYANTI"},
    {kCmdLYACTION, "LYACTION"},
    {kCmdLYCAMSTATE, "LYCAMSTATE"},
    {kCmdOVERLAP, "OVERLAP"},
    {kCmdCAMMOVE, "CAMMOVE"},
    {kCmdCURSOR, "CURSOR"},
    {kCmdMOVIE, "MOVIE"},
    {kCmdBGMLIST, "BGMLIST"},
    {kCmdBGMPLAY, "BGMPLAY"},
    {kCmdBGMSTOP, "BGMSTOP"},
    {kCmdBGMWAIT, "BGMWAIT"},
    {kCmdVOICELIST, "VOICELIST"},
    {kCmdVOICEPLAY, "VOICEPLAY"},
    {kCmdVOICESTOP, "VOICESTOP"},
    {kCmdVOICEWAIT, "VOICEWAIT"},
    {kCmdSEPLAY, "SEPLAY"},
    {kCmdSESTOP, "SESTOP"},
    {kCmdSEWAIT, "SEWAIT"},
    {kCmdSEREAD, "SEREAD"},
    {kCmdSEFREE, "SEFREE"},
    {kCmdMSG, "MSG"},
    {kCmdMWO, "MWO"},
    {kCmdMWC, "MWC"},
    {kCmdSELECT, "SELECT"},
    {kCmdCHKSCEXEC, "CHKSCEXEC"},
    {kCmdSUBTITLE, "SUBTITLE"},
    {kCmdSETCGFLAG, "SETCGFLAG"},
    {kCmdSETSCENEFLAG, "SETSCENEFLAG"},
    {kCmdSETMESSKIP, "SETMESSKIP"},
    {kCmdSELITEM, "SELITEM"},
    {kCmdMESFTSIZE, "MESFTSIZE"},
    {kCmdMESFTCOLOR, "MESFTCOLOR"},
    {kCmdMESFTBLOD, "MESFTBLOD"},
    {kCmdMESFTSHADOW, "MESFTSHADOW"},
    {kCmdMESTXAREA, "MESTXAREA"},
    {kCmdMESTXKINSOKU, "MESTXKINSOKU"},
    {kCmdMESTXDOWN, "MESTXDOWN"},
    {kCmdMESNAME, "MESNAME"},
    {kCmdMESVPLAY, "MESVPLAY"},
    {kCmdMESVSTOP, "MESVSTOP"},
    {kCmdMESRUN, "MESRUN"},
    {kCmdBLOGSAVEBEGIN, "BLOGSAVEBEGIN"},
    {kCmdBLOGSAVEEND, "BLOGSAVEEND"},
    {kCmdSELMAKE, "SELMAKE"},
    {kCmdSELRUN, "SELRUN"},
    {kCmdACTMAKE, "ACTMAKE"},
    {kCmdACTFREE, "ACTFREE"},
    {kCmdACTPLAY, "ACTPLAY"},
    {kCmdACTSTOP, "ACTSTOP"},
    {kCmdSCREENACT, "SCREENACT"},
    {kCmdSAVESAM, "SAVESAM"},
    {kCmdFACE, "FACE"},
    {kCmdEND, "END"},
};

}  // namespace

const SnrCommandInfo* Commands(size_t& count) {
  count = sizeof kCommands / sizeof kCommands[0];
  return kCommands;
}

const char* CommandName(uint16_t id) {
  for (const auto& c : kCommands)
    if (c.id == id) return c.name;
  return nullptr;
}

bool CommandByName(std::string_view name, uint16_t& id) {
  for (const auto& c : kCommands) {
    std::string_view n(c.name);
    if (n.size() == name.size() && strncasecmp(n.data(), name.data(), n.size()) == 0) {
      id = c.id;
      return true;
    }
  }
  return false;
}

bool IsVarParam(uint16_t id, int index) {
  switch (id) {
    case kCmdMOV:
    case kCmdRANDOM:
    case kCmdCHKSCEXEC:
    case kCmdSELECT:
    case kCmdSELRUN:
      return index == 0;
    case kCmdAWAIT:
      return index >= 1 && index <= 5;
    default:
      return false;
  }
}

}  // namespace snr
