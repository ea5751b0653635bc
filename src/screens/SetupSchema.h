// A screen's layout table is described once, as a walk over its records
// that hands each record's number, a comment for game makers and the layout
// fields it fills to a visitor. The same walk reads a compiled table into the
// layout (CSetupReader) and prints a layout as table source (CSetupPrinter,
// for `velto-tool setup`), so the two can never disagree on a record.
//
// A record's signature follows from its fields: an int32_t is "N", a bool
// "B", a char array "S". Lists are records that may appear many times:
// jump rows (row r, then the Up, Down, Left, Right and Tab IDs) and names
// indexed by one or two numbers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>

#include "app/core/Trace.h"
#include "scenario/SnrBuffer.h"
#include "ui/CtrlDef.h"

namespace setup {

// What a table may set but a screen cannot use is brought into range: times
// are not negative and at most ten minutes, places stay within a few
// screens of the picture (quads are 16-bit), texts end inside their fields.
constexpr int32_t kMaxTime = 600000;
constexpr int32_t kMaxPos = 1600;
inline void Clamp(int32_t& v, int32_t lo, int32_t hi) { v = v < lo ? lo : v > hi ? hi : v; }
inline void ClampTime(int32_t& v) { Clamp(v, 0, kMaxTime); }
inline void ClampPos(int32_t (&p)[2]) {
  Clamp(p[0], -kMaxPos, kMaxPos);
  Clamp(p[1], -kMaxPos, kMaxPos);
}
template <size_t N>
inline void EndText(char (&text)[N]) {
  text[N - 1] = 0;
}

template <class T>
struct Letter;
template <>
struct Letter<int32_t> {
  static constexpr char value = 'N';
};
template <>
struct Letter<bool> {
  static constexpr char value = 'B';
};
template <size_t N>
struct Letter<char[N]> {
  static constexpr char value = 'S';
};

template <class... F>
std::string Signature() {
  return std::string{Letter<F>::value...};
}

// A field read aside and stored only when its whole record was read, so a
// damaged record leaves every field of it at its previous value.
template <class T>
struct Pending {
  explicit Pending(T& field) : dst(&field), value(field) {}
  T& Ref() { return value; }
  // What the table reader writes into.
  T* Dest() { return &value; }
  void Commit() { *dst = value; }
  T* dst;
  T value;
};
template <size_t N>
struct Pending<char[N]> {
  explicit Pending(char (&field)[N]) : dst(&field) { memcpy(value, field, N); }
  char (&Ref())[N] { return value; }
  char (&Dest())[N] { return value; }
  void Commit() {
    value[N - 1] = 0;
    memcpy(*dst, value, N);
  }
  char (*dst)[N];
  char value[N];
};

// Reads the records of section `a` of a compiled table. Each single record
// is looked up from the start of the table; lists walk the whole table,
// every matching record adding its entry. A record that is absent, too
// short or of the wrong types changes nothing.
class CSetupReader {
 public:
  CSetupReader(CSnrBuffer& table, int32_t a) : mTable(table), mA(a) {}

  template <class... F>
  bool Record(int32_t b, const char* /*comment*/, F&... fields) {
    Trace("CSetupReader::Record");
    std::tuple<Pending<F>...> pending{Pending<F>(fields)...};
    const std::string signature = Signature<F...>();
    mTable.SeekBegin(0);
    const bool ok = std::apply(
        [&](auto&... p) { return mTable.GetSetupParam(mA, b, signature.c_str(), p.Dest()...); }, pending);
    if (ok) std::apply([](auto&... p) { (p.Commit(), ...); }, pending);
    return ok;
  }

  // Rows outside the table are not the control's.
  void JumpRows(int32_t b, const char* /*comment*/, int32_t (&rows)[kJumpRows][5]) {
    Trace("CSetupReader::JumpRows");
    mTable.SeekBegin(0);
    while (!mTable.IsFinish()) {
      int32_t r = -1, j[5] = {};
      if (!mTable.GetSetupParam(mA, b, "NNNNNN", &r, &j[0], &j[1], &j[2], &j[3], &j[4])) {
        if (mTable.IsFinish()) break;
        mTable.NextCommand();  // a damaged row: the next one may be sound
        continue;
      }
      if (r >= 0 && r < kJumpRows) memcpy(rows[r], j, sizeof j);
      mTable.NextCommand();
    }
  }

  // (index, name); indexes outside the list are skipped.
  template <size_t N, size_t L>
  void NameList(int32_t b, const char* /*comment*/, char (&names)[N][L]) {
    Trace("CSetupReader::NameList");
    mTable.SeekBegin(0);
    while (!mTable.IsFinish()) {
      int32_t i = -1;
      char name[L] = {};
      if (mTable.GetSetupParam(mA, b, "NS", &i, name) && i >= 0 && static_cast<size_t>(i) < N) {
        name[L - 1] = 0;
        memcpy(names[i], name, L);
      }
      if (mTable.IsFinish()) break;
      mTable.NextCommand();
    }
  }

  // (i, j, name); pairs outside the grid are skipped.
  template <size_t N, size_t M, size_t L>
  void NameGrid(int32_t b, const char* /*comment*/, char (&names)[N][M][L]) {
    Trace("CSetupReader::NameGrid");
    mTable.SeekBegin(0);
    while (!mTable.IsFinish()) {
      int32_t i = -1, j = -1;
      char name[L] = {};
      if (mTable.GetSetupParam(mA, b, "NNS", &i, &j, name) && i >= 0 && static_cast<size_t>(i) < N && j >= 0 &&
          static_cast<size_t>(j) < M) {
        name[L - 1] = 0;
        memcpy(names[i][j], name, L);
      }
      if (mTable.IsFinish()) break;
      mTable.NextCommand();
    }
  }

 private:
  CSnrBuffer& mTable;
  int32_t mA;
};

// Prints the records of a layout as table source (UTF-8), one commented
// record after another, ready to edit and compile.
class CSetupPrinter {
 public:
  explicit CSetupPrinter(int32_t a) : mA(a) {}

  // A heading line between groups of records.
  void Heading(const char* text) { mOut += "\n# " + std::string(text) + "\n"; }

  template <class... F>
  bool Record(int32_t b, const char* comment, F&... fields) {
    Trace("CSetupPrinter::Record");
    Comment(comment);
    std::string line = Head(b);
    (Append(line, fields), ...);
    mOut += line + "\n";
    return true;
  }

  // The rows in use; a control without any gets one row that goes nowhere.
  void JumpRows(int32_t b, const char* comment, int32_t (&rows)[kJumpRows][5]) {
    Trace("CSetupPrinter::JumpRows");
    Comment(comment);
    bool any = false;
    for (int r = 0; r < kJumpRows; ++r) {
      bool used = false;
      for (int32_t id : rows[r]) used = used || id != -1;
      if (used) PrintRow(b, r, rows[r]);
      any = any || used;
    }
    if (!any) PrintRow(b, 0, rows[0]);
  }

  template <size_t N, size_t L>
  void NameList(int32_t b, const char* comment, char (&names)[N][L]) {
    Trace("CSetupPrinter::NameList");
    Comment(comment);
    bool any = false;
    for (size_t i = 0; i < N; ++i) {
      if (!names[i][0]) continue;
      any = true;
      std::string line = Head(b) + ", " + std::to_string(i);
      Append(line, names[i]);
      mOut += line + "\n";
    }
    if (!any) mOut += "# " + Head(b) + ", 0, \"NAME\"\n";
  }

  template <size_t N, size_t M, size_t L>
  void NameGrid(int32_t b, const char* comment, char (&names)[N][M][L]) {
    Trace("CSetupPrinter::NameGrid");
    Comment(comment);
    bool any = false;
    for (size_t i = 0; i < N; ++i)
      for (size_t j = 0; j < M; ++j) {
        if (!names[i][j][0]) continue;
        any = true;
        std::string line = Head(b) + ", " + std::to_string(i) + ", " + std::to_string(j);
        Append(line, names[i][j]);
        mOut += line + "\n";
      }
    if (!any) mOut += "# " + Head(b) + ", 0, 0, \"NAME\"\n";
  }

  const std::string& Text() const { return mOut; }
  // A text literal of source: the build's encoding turned into UTF-8, with
  // quotes, backslashes and braces escaped.
  static std::string Quote(const char* local);

 private:
  std::string Head(int32_t b) const { return "DEF " + std::to_string(mA) + ", " + std::to_string(b); }
  void PrintRow(int32_t b, int r, const int32_t (&ids)[5]) {
    Trace("CSetupPrinter::PrintRow");
    std::string line = Head(b) + ", " + std::to_string(r);
    for (int32_t id : ids) line += ", " + std::to_string(id);
    mOut += line + "\n";
  }
  void Comment(const char* comment) {
    Trace("CSetupPrinter::Comment");
    if (comment && *comment) mOut += "# " + std::string(comment) + "\n";
  }
  static void Append(std::string& line, const int32_t& v) { line += ", " + std::to_string(v); }
  static void Append(std::string& line, const bool& v) { line += v ? ", 1" : ", 0"; }
  template <size_t N>
  static void Append(std::string& line, const char (&text)[N]) {
    line += ", " + Quote(std::string(text, strnlen(text, N)).c_str());
  }

  int32_t mA;
  std::string mOut;
};

}  // namespace setup
