// The player's sound settings handed to the three sound classes: a class
// whose switch is off is muted, and each gets its volume step. Used at
// start-up and wherever the settings change.
#pragma once

#include "save/SaveTypes.h"

class CSEBuffer;
class CBGMBuffer;
class CVoiceBuffer;

// Any of the three may be null.
void ApplySoundConfig(const ConfigRecord& config, CSEBuffer* se, CBGMBuffer* bgm, CVoiceBuffer* voice);
