// Simple drawn characters for the picture generator: a head-and-shoulders
// figure in a soft anime style, with a hair style, an outfit and a facial
// expression, so that a game's cast and their expressions come from one
// line of description each.
#pragma once
#include <cstdint>
#include <string>

#include "gen/Canvas.h"

namespace gen {

enum class HairStyle { kLong, kTwinTail, kPonyTail, kBob, kShort, kOld };
enum class Outfit { kSailor, kBlouse, kYukata, kShirt, kApron };
enum class Expression { kNeutral, kSmile, kLaugh, kSad, kAngry, kSurprised, kClosed, kWink, kShy };

struct FigureSpec {
  float x = 0, y = 0;   // centre of the head, top of the hair
  float scale = 1;      // 1: a head about 125 pixels wide
  float turn = 0;       // -1 … 1: the face turned left or right
  HairStyle hair = HairStyle::kLong;
  Outfit outfit = Outfit::kSailor;
  Expression expression = Expression::kNeutral;
  uint32_t hairColor = 0xFF4A3028;
  uint32_t skinColor = 0xFFFFE6D8;
  uint32_t eyeColor = 0xFF3A6EA8;
  uint32_t outfitColor = 0xFF24305A;
  uint32_t accentColor = 0xFFD03848;
  uint32_t ribbonColor = 0;   // 0: no ribbon
  bool glasses = false;
  bool blush = false;
  bool smooth = true;
};

// Sets one option from its description name (hair=long, expr=smile,
// hairc=#604030 …). False with a message for an unknown name or value.
bool SetFigureOption(FigureSpec* spec, const std::string& key, const std::string& value, std::string* error);
void DrawFigure(CCanvas& canvas, const FigureSpec& spec);

}  // namespace gen
