// One compiled scenario or setup file in memory: the header's label and
// load-point tables, a read position over the command records, decoding of
// typed parameters against the interpreter's variables, and the reading of
// layout records from setup files.
//
// Every access is bounded by the loaded file: a position, a parameter or a
// jump that would leave it gives a false or empty result instead.
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>

#include "scenario/SetupDest.h"
#include "scenario/SnrFormat.h"

class CSnrBuffer {
 public:
  // Identifier reported where no whole command record starts.
  static constexpr uint16_t kNoCommand = 0xFFFF;
  // Largest record `Save` writes.
  static constexpr size_t kSaveSizeMax = snr::kNameSize + 8 + 4 * snr::kReturnStackSize;

  CSnrBuffer();
  virtual ~CSnrBuffer();
  CSnrBuffer(const CSnrBuffer&) = delete;
  CSnrBuffer& operator=(const CSnrBuffer&) = delete;

  // Loads `name` from the scenario file source ("MSD"), unscrambling it with
  // the game's title phrase when it does not begin with the magic.
  virtual bool Read(const char* name);
  // The same from a block already in memory (copied). `phrase` null uses the
  // game's title phrase.
  bool ReadMemory(const char* name, const void* data, size_t size, const char* phrase = nullptr);
  virtual void Release();

  // Position, as offsets from the start of the command area.
  virtual bool SeekBegin(uint32_t offset);
  virtual uint32_t GetPos() const;
  // False (position unchanged) for an index or offset outside the file.
  virtual bool JumpToLabel(int index);
  virtual bool JumpToLoadPoint(int table, int entry);
  virtual void NextCommand();
  // True at the end of the file, or where the bytes left cannot hold a record.
  virtual bool IsFinish() const;

  // The current command.
  virtual uint16_t GetCmdID() const;
  virtual const uint8_t* GetParam() const;
  // The parameter size, clamped to the bytes the file holds.
  virtual uint32_t GetParamSize() const;
  virtual int GetNumParam() const;
  // The parameter after `param`; the end of the record when there is none.
  virtual const uint8_t* NextParam(const uint8_t* param) const;
  virtual bool IsStringParam(const uint8_t* param) const;
  // Literal, variable or expression value; 0 for anything else or anything
  // malformed. `CheckValueParam` tells the two apart.
  virtual int32_t GetValueParam(const uint8_t* param) const;
  bool CheckValueParam(const uint8_t* param, int32_t& value) const;
  // Text of a string literal (escapes expanded) or string variable, in a
  // buffer valid until the next call; longer texts are cut at 511 bytes.
  virtual const char* GetStringParam(const uint8_t* param);

  // The interpreter's variables, not owned.
  virtual void SetValList(int32_t* list);
  virtual void SetStrList(int index, char* text);

  // Writes name, position and return stack; returns the end of what was written
  // (at most kSaveSizeMax bytes).
  virtual uint8_t* Save(uint8_t* dst) const;
  // Reads such a record from `size` bytes, reads the named file and restores
  // the position. Returns the end of what was read, or null on any failure.
  virtual const uint8_t* Load(const uint8_t* src, size_t size);

  // Finds, from the current position on, the next record of identifier 0
  // whose first two parameters are the values a and b, and stores the
  // following parameters, one per signature letter ("B" byte flag, "N"
  // integer, "S" text), into `dest`. Destinations are bool/uint8_t pointers,
  // int32_t/uint32_t pointers, char arrays or snr::SetupText.
  template <class... Dest>
  bool GetSetupParam(int32_t a, int32_t b, const char* signature, Dest&&... dest) {
    snr::SetupDest list[sizeof...(Dest) + 1] = {snr::SetupDest(std::forward<Dest>(dest))..., snr::SetupDest()};
    return GetSetupParamList(a, b, signature, list, sizeof...(Dest));
  }
  virtual bool GetSetupParamList(int32_t a, int32_t b, const char* signature, const snr::SetupDest* dest,
                                 size_t count);

  // What tools and tests look at.
  const char* GetName() const { return mszName; }
  const uint8_t* GetData() const { return mpData; }
  uint32_t GetSize() const { return mSize; }
  uint32_t GetCommandSize() const;
  uint32_t GetLabelCount() const { return mLabelCount; }
  uint32_t GetLabelOffset(uint32_t index) const;
  uint32_t GetLoadPointCount(int table) const;
  uint32_t GetLoadPointOffset(int table, uint32_t entry) const;

 protected:
  // Takes ownership of `data` (allocated with new[]) and sets up the tables.
  bool Attach(const char* name, uint8_t* data, uint32_t size, const char* phrase);

 private:
  const uint8_t* End() const { return mpData + mSize; }
  const uint8_t* RecordEnd() const;
  bool InRecord(const uint8_t* param) const;
  // Value of a non-string parameter that ends by `end`; false when malformed.
  bool ValueAt(const uint8_t* param, const uint8_t* end, int32_t& value) const;
  // Expands a text with its escapes into `out` (size bytes, terminated).
  void ExpandText(const uint8_t* text, const uint8_t* end, char* out, size_t size) const;
  // Text of a string parameter into `out`; false for a non-string.
  bool StringParamTo(const uint8_t* param, const uint8_t* end, char* out, size_t size) const;

  char mszName[snr::kNameSize] = {};
  uint8_t* mpData = nullptr;
  uint32_t mSize = 0;
  const uint8_t* mpHeader = nullptr;
  const uint8_t* mpLabel = nullptr;
  const uint8_t* mpLoadPoint[snr::kTableCount] = {};
  const uint8_t* mpBegin = nullptr;
  const uint8_t* mpPos = nullptr;
  const uint8_t* mpReturn[snr::kReturnStackSize] = {};
  int mReturnCount = 0;
  char mszParam[snr::kParamTextSize] = {};
  int32_t* mpValList = nullptr;
  char* mpStrList[snr::kStrListSize] = {};
  // Counts copied from the header, for bounds.
  uint32_t mLabelCount = 0;
  uint32_t mLoadPointCount[snr::kTableCount] = {};
};
