#include "player/engine/PVCharDictionary.h"

#include "player/engine/PVCounted.h"

PVCharDictionary::~PVCharDictionary()
{
    RemoveAll();
}

bool PVCharDictionary::Init()
{
    if (!slots_.Allocate(256))
        return false;
    for (int i = 0; i < slots_.Count(); ++i)
        slots_[i] = nullptr;
    return true;
}

bool PVCharDictionary::Add(PVChar* character)
{
    const int id = character->Id();
    if (id < 0)
        return false;
    if (!slots_.Reach(id, nullptr))
        return false;
    PVHold(slots_[id], character);
    return true;
}

PVChar* PVCharDictionary::Get(int id) const
{
    return id >= 0 && id < slots_.Count() ? slots_[id] : nullptr;
}

bool PVCharDictionary::Remove(int id)
{
    PVChar* character = Get(id);
    if (!character)
        return false;
    slots_[id] = nullptr;
    character->Release();
    return true;
}

void PVCharDictionary::RemoveAll()
{
    PVReleaseEach(slots_);
}
