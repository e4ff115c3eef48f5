#include "addin/core/ComAddInSearch.h"

#include "addin/core/IntVariant.h"
#include "base/MKBstrHolder.h"

#include <wchar.h>

ComAddInSearch FindComAddInByProgId(Office::COMAddIns* addIns, const wchar_t* progId,
                                    MKComHolder<Office::COMAddIn>& found)
{
    found.Release();
    long count = 0;
    if (!addIns || FAILED(addIns->get_Count(&count)))
        return ComAddInSearch::Failed;
    for (long i = 1; i <= count; ++i) {
        VARIANT index = IntVariant(i);
        Office::COMAddIn* item = nullptr;
        if (FAILED(addIns->Item(&index, &item)) || !item)
            continue;
        MKComHolder<Office::COMAddIn> held;
        held.Attach(item);
        MKBstrHolder name;
        if (SUCCEEDED(item->get_ProgId(name.Receive())) && name.Get() &&
            wcscmp(name.Get(), progId) == 0) {
            found = held;
            return ComAddInSearch::Found;
        }
    }
    return ComAddInSearch::NotFound;
}
