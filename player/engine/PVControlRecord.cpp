#include "player/engine/PVControlRecord.h"

#include "player/engine/PVAction.h"

PVControlRecord::~PVControlRecord()
{
    PVReleaseActionList(actions);
}
