#pragma once
#include "hostapi/OfficeInterfaces.h"
#include "base/MKComHolder.h"

// What a search of Office's COM add-ins found.
enum class ComAddInSearch { Failed, NotFound, Found };

// Looks through Items 1..Count of the collection (VT_I4 positions) for the
// first add-in whose ProgId equals progId exactly (case-sensitive); items
// that cannot be read are passed over. Failed when there is no collection or
// its Count cannot be read. On Found, found holds the add-in.
ComAddInSearch FindComAddInByProgId(Office::COMAddIns* addIns, const wchar_t* progId,
                                    MKComHolder<Office::COMAddIn>& found);
