#include "scenario/SnrImage.h"

#include <cstring>

#include "app/core/Trace.h"

namespace snr {

namespace {

void Put32To(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

Bytes SnrImage::Build() const {
  Trace("SnrImage::Build");
  Bytes file(reserved, reserved + kLabelOffset);
  memcpy(file.data(), kMagic, kMagicSize);
  Put32(file.data() + kLabelCountOffset, static_cast<uint32_t>(labels.size()));
  for (int k = 0; k < kTableCount; ++k)
    Put32(file.data() + kTableSizeOffset + 4 * k, static_cast<uint32_t>(tables[k].size()));
  for (uint32_t offset : labels) Put32To(file, offset);
  for (const auto& table : tables)
    for (uint32_t offset : table) Put32To(file, offset);
  file.insert(file.end(), commands.begin(), commands.end());
  return file;
}

void PutInt(Bytes& out, int32_t value) {
  out.push_back(kParamInt);
  Put32To(out, static_cast<uint32_t>(value));
}

void PutVar(Bytes& out, uint32_t index) {
  out.push_back(kParamVar);
  Put32To(out, index);
}

void PutStrVar(Bytes& out, uint32_t index) {
  out.push_back(kParamStrVar);
  Put32To(out, index);
}

void PutStr(Bytes& out, std::string_view text) {
  out.push_back(kParamStr);
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
}

void PutExpr(Bytes& out, const std::vector<std::pair<int32_t, int32_t>>& pairs, int32_t endOperand) {
  out.push_back(kParamExpr);
  for (const auto& [op, operand] : pairs) {
    Put32To(out, static_cast<uint32_t>(op));
    Put32To(out, static_cast<uint32_t>(operand));
  }
  Put32To(out, static_cast<uint32_t>(kOpEnd));
  Put32To(out, static_cast<uint32_t>(endOperand));
}

bool PutRecord(Bytes& commands, uint16_t id, const Bytes& params) {
  if (params.size() > kMaxParamSize) return false;
  commands.push_back(static_cast<uint8_t>(id));
  commands.push_back(static_cast<uint8_t>(id >> 8));
  commands.push_back(static_cast<uint8_t>(params.size()));
  commands.push_back(static_cast<uint8_t>(params.size() >> 8));
  commands.insert(commands.end(), params.begin(), params.end());
  return true;
}

}  // namespace snr
