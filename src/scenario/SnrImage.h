// Building compiled scenario files: the header with its tables, and the
// encoding of command records and parameters. Used by the compiler and by
// anything that writes scenario files for tests.
#pragma once
#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "scenario/SnrFormat.h"

namespace snr {

using Bytes = std::vector<uint8_t>;

struct SnrImage {
  uint8_t reserved[kLabelOffset] = {};  // only the unread header bytes are taken from here
  std::vector<uint32_t> labels;
  std::array<std::vector<uint32_t>, kTableCount> tables;
  Bytes commands;

  // The whole file: magic, header fields, labels, tables, commands.
  Bytes Build() const;
};

// Parameter encoders; each appends one parameter.
void PutInt(Bytes& out, int32_t value);
void PutVar(Bytes& out, uint32_t index);
void PutStrVar(Bytes& out, uint32_t index);
// `text` is stored as it stands (escapes already applied) plus a terminator.
void PutStr(Bytes& out, std::string_view text);
// Postfix pairs; the end pair (-1, endOperand) is appended.
void PutExpr(Bytes& out, const std::vector<std::pair<int32_t, int32_t>>& pairs, int32_t endOperand = 0);

// Appends one command record. False when the parameters exceed 65535 bytes.
bool PutRecord(Bytes& commands, uint16_t id, const Bytes& params);

}  // namespace snr
