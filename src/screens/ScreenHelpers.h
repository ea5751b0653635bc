// What the game screens share: control definitions from layout records, the
// fades and music changes they hand to the screen flow, the look of the
// screen they were opened over, and the end of the program when a screen
// they need cannot be made.
#pragma once
#include <cstdint>

#include "app/flow/BGMChangeParam.h"
#include "assets/SprtVertex.h"
#include "ui/CtrlDef.h"
#include "ui/EffectParam.h"

class CBaseGame;
class CDIBBaseScreen;
class CDIBImage;
class CDIBSprite;
class CRootFlow;

namespace screens {

// A button's definition from the template and one control's layout
// records. Every jump row up to the last one in use counts.
void FillButtonDef(CtrlDef& def, const char* parts, const char* hitMap, int32_t id, int32_t hitNo,
                   const int32_t (&pos)[2], const int32_t (&frames)[5], const int32_t (&jump)[kJumpRows][5]);
// Rows in use: one past the last row naming any control, at least one.
int32_t JumpRowCount(const int32_t (&jump)[kJumpRows][5]);

EffectParam Fade(int32_t ms);
// A music change: {name, flags, no delay, fade-in, fade-out}.
BGMChangeParam Music(const char* name, uint32_t flags, int32_t fadeIn, int32_t fadeOut);

// The screen flow, or null before the game starts.
CRootFlow* Flow();
// The program ends at once, without the exit question: a screen the game
// needs could not be made.
void EndProgram();
// Opens a screen made by the factory over `opener` with a fade, keeping the
// opener; ends the program when it cannot be made. True when opened.
bool OpenOver(int kind, CBaseGame* opener, const void* block, int32_t fade);

// The look of `parent` (black without one) with element 0 of `picture`
// blended over it at (0, 0): the background of a screen opened over another.
void ComposeOverParent(CBaseGame* parent, CDIBSprite* picture, CDIBImage* target);

// Reads a picture through the picture cache; when it cannot be read, the
// read error box names it and `owner` (the screen's class) and the result
// is null.
CDIBSprite* ReadPicture(const char* owner, const char* name);
// Hands a picture back to the picture cache (where there is one) and
// forgets it; nothing happens for a null picture.
void FreePicture(CDIBSprite*& picture);

// Marks the area of a quad for presenting this frame.
void AddDirtyQuad(const SprtVertex& quad);

// The title music: what the title screen's table names.
const char* TitleMusic();

}  // namespace screens
