#include "player/engine/PVControlRecord.h"

#include "player/engine/PVAction.h"
#include "player/engine/PVAudio.h"

PVControlRecord::~PVControlRecord()
{
    PVReleaseActionList(actions);
    if (stream)
        stream->Release();
}
