#include "player/engine/PVControlRecord.h"

#include "player/engine/PVAction.h"
#include "player/engine/PVAudio.h"

PVControlRecord::~PVControlRecord()
{
    PVReleaseActionList(actions);
    if (stream)
        stream->Release();
}

void PVControlRecord::Destroy(PVControlRecord* record)
{
    if (record && record->pooled)
        record->~PVControlRecord();
    else
        delete record;
}
