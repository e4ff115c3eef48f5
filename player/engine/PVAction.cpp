#include "player/engine/PVAction.h"

#include "player/engine/PVMovieClip.h"

constinit PVSlabPool PVAction::pools_[] = {PVSlabPool(16), PVSlabPool(32), PVSlabPool(48), PVSlabPool(64)};

namespace {

template <class... Actions>
constexpr bool AllFit()
{
    return ((sizeof(Actions) <= PVAction::kSlotSize && alignof(Actions) <= 8) && ...);
}
static_assert(AllFit<PVAction, PVAction_GotoFrame, PVAction_GetURL, PVAction_ConstantPool, PVAction_WaitForFrame,
                     PVAction_SetTarget, PVAction_GotoLabel, PVAction_Push, PVAction_Jump, PVAction_If,
                     PVAction_GotoFrame2>());

}  // namespace

void* PVAction::operator new(size_t size)
{
    if (void* action = operator new(size, std::nothrow))
        return action;
    throw std::bad_alloc();
}

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
