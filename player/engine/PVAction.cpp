#include "player/engine/PVAction.h"

#include "player/engine/PVMovieClip.h"

PVAction_ConstantPool::~PVAction_ConstantPool()
{
    for (int i = 0; i < strings.Count(); ++i)
        delete strings[i];
}

PVAction_SetTarget::~PVAction_SetTarget()
{
    if (clip)
        clip->Release();
}

void PVReleaseActionList(PVAction* first)
{
    while (first) {
        PVAction* next = first->Next();
        first->Release();
        first = next;
    }
}
