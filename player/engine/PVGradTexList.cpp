#include "player/engine/PVGradTexList.h"

#include <new>

#include "player/engine/PVGradTex.h"

PVGradTexList::~PVGradTexList()
{
    for (int i = 0; i < entries_.Count(); ++i)
        entries_[i]->Detach();
}

PVGradTex* PVGradTexList::Lookup(const PVGradient& gradient, bool linear)
{
    for (int i = 0; i < entries_.Count(); ++i) {
        PVGradTex* entry = entries_[i];
        if (entry->IsLinear() == linear && PVGradientEquals(entry->Gradient(), gradient)) {
            entry->AddRef();
            return entry;
        }
    }
    auto* entry = new (std::nothrow) PVGradTex(this);
    if (!entry)
        return nullptr;
    entry->SetGradient(gradient, linear);
    if (!entries_.Add(entry)) {
        entry->Detach();
        entry->Release();
        return nullptr;
    }
    return entry;
}

void PVGradTexList::Remove(const PVGradTex* entry)
{
    const int n = entries_.Count();
    for (int i = 0; i < n; ++i) {
        if (entries_[i] == entry) {
            entries_[i] = entries_[n - 1];
            entries_.SetCount(n - 1);
            return;
        }
    }
}
