#include "player/engine/PVAction.h"

PVAction_ConstantPool::~PVAction_ConstantPool()
{
    for (int i = 0; i < strings.Count(); ++i)
        delete strings[i];
}

void PVReleaseActionList(PVAction* first)
{
    while (first) {
        PVAction* next = first->Next();
        first->Release();
        first = next;
    }
}
