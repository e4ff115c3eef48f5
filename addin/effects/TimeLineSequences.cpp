#include "addin/effects/TimeLineSequences.h"

using namespace PowerPoint;

bool GetInteractiveSequences(const PptObjectRef& timeLine, PptObjectRef& sequences, long* count)
{
    *count = 0;
    MKComHolder<TimeLine> line;
    Sequences* found = nullptr;
    MKComHolder<Sequences> held;
    if (!timeLine.Query(IID_TimeLine, line) || !PptFetched(line->get_InteractiveSequences(&found), &found, held) ||
        FAILED(held->get_Count(count)))
        return false;
    sequences.Assign(held.Get());
    return true;
}

bool GetInteractiveSequence(const PptObjectRef& sequences, long index, PptAnimationRef& out)
{
    MKComHolder<Sequences> held;
    Sequence* item = nullptr;
    return sequences.Query(IID_Sequences, held) && PptFetched(held->Item(int(index), &item), &item, out);
}
