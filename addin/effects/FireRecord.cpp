#include "addin/effects/FireRecord.h"

#include "addin/effects/StepList.h"
#include "base/MKSorter.h"

namespace {

template <class T>
int Order(T a, T b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

// The item's time that the record stands for.
int32_t ItemTime(const FireRecord& record)
{
    return record.isStart ? record.item->start : record.item->end;
}

// End records before start records at one item time; an item that ends where
// it starts ranks its end with the starts, so that its start, which comes
// first by the last keys, is never put after its own end.
int KindRank(const FireRecord& record)
{
    if (record.isStart || record.item->end == record.item->start)
        return 1;
    return 0;
}

class RecordSorter : public MKSorter {
public:
    int Compare(void* a, void* b) override
    {
        return CompareFireRecords(*static_cast<FireRecord*>(a), *static_cast<FireRecord*>(b));
    }
};

}  // namespace

int CompareFireRecords(const FireRecord& a, const FireRecord& b)
{
    if (&a == &b)
        return 0;
    if (a.hasFired != b.hasFired)
        return a.hasFired ? -1 : 1;
    if (a.hasFired) {
        if (int c = Order(a.order, b.order))
            return c;
    }
    if (int c = Order(a.time, b.time))
        return c;
    const StepItem& x = *a.item;
    const StepItem& y = *b.item;
    if (int c = Order(x.list->GetSequenceIndex(), y.list->GetSequenceIndex()))
        return c;
    if (int c = Order(x.step->clickIndex, y.step->clickIndex))
        return c;
    if (int c = Order(ItemTime(a), ItemTime(b)))
        return c;
    if (int c = Order(KindRank(a), KindRank(b)))
        return c;
    if (int c = Order(x.position, y.position))
        return c;
    // One item: its start first.
    if (a.isStart != b.isStart)
        return a.isStart ? -1 : 1;
    return Order(a.serial, b.serial);
}

void SortFireRecords(FireRecord** records, int count)
{
    if (count < 2)
        return;
    if (count == 2) {
        if (CompareFireRecords(*records[0], *records[1]) > 0) {
            FireRecord* swap = records[0];
            records[0] = records[1];
            records[1] = swap;
        }
        return;
    }
    RecordSorter sorter;
    sorter.QuickSort(reinterpret_cast<void**>(records), 0, count - 1);
}
