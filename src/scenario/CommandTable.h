// The scenario command set: identifiers and names, in table order.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

enum SnrCommand : uint16_t {
  kCmdLPT = 1,
  kCmdLS = 2,
  kCmdJP = 3,
  kCmdONJP = 4,
  kCmdMOV = 5,
  kCmdIF = 6,
  kCmdATIMES = 7,
  kCmdAWAIT = 8,
  kCmdRANDOM = 9,
  kCmdCMPSTR = 10,
  kCmdIMREAD = 100,
  kCmdIMFREE = 101,
  kCmdLYIMAGE = 102,
  kCmdLYPOS = 103,
  kCmdLYSIZE = 104,
  kCmdLYCOLOR = 105,
  kCmdLYBLEND = 106,
  kCmdLYANTI = 107,
  kCmdLYACTION = 108,
  kCmdLYCAMSTATE = 109,
  kCmdOVERLAP = 110,
  kCmdCAMMOVE = 111,
  kCmdCURSOR = 112,
  kCmdMOVIE = 113,
  kCmdBGMLIST = 200,
  kCmdBGMPLAY = 201,
  kCmdBGMSTOP = 202,
  kCmdBGMWAIT = 203,
  kCmdVOICELIST = 204,
  kCmdVOICEPLAY = 205,
  kCmdVOICESTOP = 206,
  kCmdVOICEWAIT = 207,
  kCmdSEPLAY = 208,
  kCmdSESTOP = 209,
  kCmdSEWAIT = 210,
  kCmdSEREAD = 211,
  kCmdSEFREE = 212,
  kCmdMSG = 1000,
  kCmdMWO = 1001,
  kCmdMWC = 1002,
  kCmdSELECT = 1003,
  kCmdCHKSCEXEC = 1004,
  kCmdSUBTITLE = 1005,
  kCmdSETCGFLAG = 1006,
  kCmdSETSCENEFLAG = 1007,
  kCmdSETMESSKIP = 1008,
  kCmdSELITEM = 1009,
  kCmdMESFTSIZE = 2000,
  kCmdMESFTCOLOR = 2001,
  kCmdMESFTBLOD = 2002,
  kCmdMESFTSHADOW = 2003,
  kCmdMESTXAREA = 2004,
  kCmdMESTXKINSOKU = 2005,
  kCmdMESTXDOWN = 2006,
  kCmdMESNAME = 2007,
  kCmdMESVPLAY = 2008,
  kCmdMESVSTOP = 2009,
  kCmdMESRUN = 2010,
  kCmdBLOGSAVEBEGIN = 2011,
  kCmdBLOGSAVEEND = 2012,
  kCmdSELMAKE = 2013,
  kCmdSELRUN = 2014,
  kCmdACTMAKE = 2015,
  kCmdACTFREE = 2016,
  kCmdACTPLAY = 2017,
  kCmdACTSTOP = 2018,
  kCmdSCREENACT = 2019,
  kCmdSAVESAM = 2020,
  kCmdFACE = 2021,
  kCmdEND = 10000,
};

// Identifier 0 is not a command: it marks the records of setup tables.
inline constexpr uint16_t kSetupRecordId = 0;

struct SnrCommandInfo {
  uint16_t id;
  const char* name;
};

namespace snr {

// The whole table, in identifier order.
const SnrCommandInfo* Commands(size_t& count);
// The name of a command, or null for an identifier outside the table.
const char* CommandName(uint16_t id);
// Looks a name up, ignoring letter case.
bool CommandByName(std::string_view name, uint16_t& id);
// Parameters that name a variable by their value (the destinations of MOV,
// RANDOM, AWAIT, CHKSCEXEC, SELECT and SELRUN): a literal n names variable n.
// `index` counts from 0.
bool IsVarParam(uint16_t id, int index);

}  // namespace snr
