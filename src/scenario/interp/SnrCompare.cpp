#include "scenario/interp/SnrCompare.h"

#include <cstring>
#include <vector>

#include "app/core/Trace.h"
#include "platform/Encoding.h"

namespace snr {

namespace {

struct OperatorText {
  const char* utf8;
  int32_t code;
  bool local;  // a full-width form, held in the build's encoding
};

constexpr OperatorText kOperators[] = {
    {"＝", kIfEqual, true},       {"=", kIfEqual, false},       {"==", kIfEqual, false},
    {"≠", kIfNotEqual, true},     {"!=", kIfNotEqual, false},   {"<>", kIfNotEqual, false},
    {"＜", kIfLess, true},        {"<", kIfLess, false},
    {"＞", kIfGreater, true},     {">", kIfGreater, false},
    {"≦", kIfLessEqual, true},    {"<=", kIfLessEqual, false},
    {"≧", kIfGreaterEqual, true}, {">=", kIfGreaterEqual, false},
};

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

int32_t IfOperatorCode(const char* text) {
  Trace("snr::IfOperatorCode");
  if (!text) return -1;
  // The full-width forms are converted to the build's encoding once.
  struct Form {
    const char* text;
    size_t length;
    int32_t code;
  };
  static const std::vector<Form> forms = [] {
    std::vector<Form> list;
    for (const OperatorText& op : kOperators) {
      const char* form = op.local ? plat::LocalText(op.utf8) : op.utf8;
      list.push_back({form, strlen(form), op.code});
    }
    return list;
  }();
  size_t length = strlen(text);
  for (const Form& form : forms)
    if (form.length == length && SameTextIgnoringCase(text, form.text)) return form.code;
  return -1;
}

bool IfHolds(int32_t code, int32_t left, int32_t right) {
  Trace("snr::IfHolds");
  switch (code) {
    case kIfEqual: return left == right;
    case kIfNotEqual: return left != right;
    case kIfLess: return left < right;
    case kIfGreater: return left > right;
    case kIfLessEqual: return left <= right;
    case kIfGreaterEqual: return left >= right;
    default: return false;
  }
}

bool SameTextIgnoringCase(const char* a, const char* b) {
  Trace("snr::SameTextIgnoringCase");
  size_t n = strlen(a);
  if (n != strlen(b)) return false;
  for (size_t i = 0; i < n; ++i) {
    if (plat::IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < n) {
      // A double-byte character: both bytes exactly.
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (Fold(a[i]) != Fold(b[i])) return false;
  }
  return true;
}

}  // namespace snr
