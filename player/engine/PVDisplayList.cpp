#include "player/engine/PVDisplayList.h"

#include <new>

#include "player/engine/PVDListObject.h"

PVDisplayList::~PVDisplayList()
{
    for (int i = 0; i < entries_.Count(); ++i)
        delete entries_[i];
}

PVDListObject* PVDisplayList::GetOrCreate(int depth)
{
    if (depth < 0)
        return nullptr;
    if (!entries_.Reach(depth, nullptr))
        return nullptr;
    if (!entries_[depth])
        entries_[depth] = new (std::nothrow) PVDListObject(depth);
    return entries_[depth];
}

void PVDisplayList::DeleteAt(int depth)
{
    PVDListObject* entry = entries_[depth];
    entries_[depth] = nullptr;
    damage_.Union(entry->bounds);
    delete entry;
}

bool PVDisplayList::Remove(int depth)
{
    if (depth < 0 || depth >= entries_.Count())
        return true;
    if (!entries_[depth])
        return false;
    DeleteAt(depth);
    return true;
}

bool PVDisplayList::RemoveIf(const PVChar* character, int depth)
{
    const PVDListObject* entry = At(depth);
    if (!entry || entry->character != character)
        return false;
    DeleteAt(depth);
    return true;
}

void PVDisplayList::Clear()
{
    for (int i = 0; i < entries_.Count(); ++i) {
        if (entries_[i])
            DeleteAt(i);
    }
    entries_.Trim(0);
}

void PVDisplayList::ComputeBounds(PVBounds& total, PVBounds& damage)
{
    damage = damage_;
    damage_ = PVBounds();
    total = PVBounds();
    for (int i = 0; i < entries_.Count(); ++i) {
        PVDListObject* entry = entries_[i];
        if (!entry)
            continue;
        PVBounds change;
        if (entry->UpdateBounds(change))
            damage.Union(change);
        total.Union(entry->bounds);
    }
}
