// Input scripts: the player's input as text, one event a line,
// "FRAME EVENT ARGS" ("12 down RETURN", "40 move 400 300"), '#' starts a
// comment. Replayed by the headless runner and written by --record.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct InputEvent {
  enum Kind { kMove, kDown, kUp, kWheel, kChar, kActivate };
  long long frame = 0;
  Kind kind = kMove;
  int a = 0, b = 0;  // move: x, y; down/up: virtual key; wheel: delta; char: code; activate: 0/1
};

// Parses a whole script. On a malformed line returns false and names the line
// in `error` ("script.txt:3: unknown key 'ENTER'").
bool ParseInputScript(const std::string& text, const std::string& name, std::vector<InputEvent>& events,
                      std::string& error);
bool LoadInputScript(const std::string& path, std::vector<InputEvent>& events, std::string& error);

// One line of a script for an event (without the line feed).
std::string FormatInputEvent(const InputEvent& event);
