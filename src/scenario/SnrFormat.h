// The layout of compiled scenario and setup files: header fields, parameter
// types, expression operators and the limits the reader enforces. Shared by
// the reader, the compiler and the decompiler.
#pragma once
#include <cstddef>
#include <cstdint>

namespace snr {

inline constexpr char kMagic[] = "MSCENARIO FILE  ";  // two trailing blanks
inline constexpr uint32_t kMagicSize = 16;
inline constexpr uint32_t kReservedWordOffset = 16;  // 4 bytes nobody reads
inline constexpr uint32_t kLabelCountOffset = 20;
inline constexpr uint32_t kTableSizeOffset = 24;  // 256 counts
inline constexpr int kTableCount = 256;
inline constexpr uint32_t kReservedBlockOffset = 1048;  // 64 bytes nobody reads
inline constexpr uint32_t kReservedBlockSize = 64;
inline constexpr uint32_t kLabelOffset = 1112;  // the label table, then tables 0–255
inline constexpr uint32_t kRecordHeaderSize = 4;  // identifier, parameter size
inline constexpr uint32_t kMaxParamSize = 0xFFFF;

enum ParamType : uint8_t {
  kParamInt = 1,     // signed 32-bit literal
  kParamVar = 2,     // integer variable index
  kParamStr = 3,     // zero-terminated text with escapes
  kParamExpr = 4,    // postfix pairs ended by operator -1
  kParamStrVar = 5,  // string variable index
};

enum ExprOp : int32_t {
  kOpEnd = -1,
  kOpPush = 0,
  kOpVar = 1,
  kOpAdd = 2,
  kOpSub = 3,
  kOpMul = 4,
  kOpDiv = 5,
  kOpMod = 6,
};

inline constexpr int kValueCount = 2000;      // integer variables
inline constexpr int kStrListSize = 2000;     // slots of the string list
inline constexpr int kStrVarCount = 256;      // string variables that exist
inline constexpr int kStrVarSize = 64;        // bytes of one string variable
inline constexpr int kExprStackSize = 50;
inline constexpr int kParamTextSize = 512;    // result buffer of string parameters
inline constexpr int kReturnStackSize = 256;
inline constexpr int kNameSize = 64;

// "&" followed by a 16-bit number (index + 1, top bit set) inserts a string
// variable into a text.
inline constexpr uint8_t kEscape = '&';
inline constexpr uint16_t kEscapeTopBit = 0x8000;

// Little-endian access without alignment assumptions.
inline uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
inline int32_t GetS32(const uint8_t* p) { return static_cast<int32_t>(Get32(p)); }
inline void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace snr
