#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "base/MKComHolder.h"

// Content verbs: an animation effect gets a PowerPoint command of verb type
// whose command text is a fresh verb number plus 10, the verb PowerPoint
// fires on the content's object and the message window receives. Numbers come
// from one process-wide counter starting at 1 and are never given back.
// PowerPoint's user-interface thread only.

// Adds a command behaviour (type 6) at the end of the effect's behaviours,
// makes it a verb command (type 2) and gives the effect's timing and the new
// behaviour's timing no duration (0.001 s), speed 0 and no trigger delay.
// True only when every call succeeded; `command` is the new command effect.
bool CreateVerbCommand(PowerPoint::Effect* effect, MKComHolder<PowerPoint::CommandEffect>& command);

// The verb number written into the new command, or -1 when anything failed.
int AddVerbEffect(PowerPoint::Effect* effect);
