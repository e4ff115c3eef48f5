#pragma once
#include <windows.h>

#include "base/MKCrashGuard.h"
#include "base/MKExceptionInfo.h"

#include <stdint.h>

class AddIn;

// What a guarded entry point of the add-in caught, and for whom: kind 0 for
// module-level entries (exports, class factory, loader callbacks, the
// add-in's Release), kind 1 for a method of an object that belongs to an
// add-in, with that add-in. One static record per entry point; zero until the
// entry first runs.
struct AddInGuardRecord {
    MKExceptionInfo info;
    int32_t kind;
    AddIn* addIn;
};

enum : int32_t { kGuardModule = 0, kGuardAddIn = 1 };

// Runs body() inside the crash guard (MKCrashGuard.h) after noting who runs
// it; answers the body's result, or failure when it did not complete.
template <class Result, class Body>
Result AddInGuarded(AddInGuardRecord& record, AddIn* addIn, Result failure, Body&& body)
{
    record.kind = addIn ? kGuardAddIn : kGuardModule;
    record.addIn = addIn;
    return MKCrashGuard(record.info, failure, static_cast<Body&&>(body));
}

// For entries that answer nothing: true when the body completed.
template <class Body>
bool AddInGuarded(AddInGuardRecord& record, AddIn* addIn, Body&& body)
{
    record.kind = addIn ? kGuardAddIn : kGuardModule;
    record.addIn = addIn;
    return MKCrashGuard(record.info, static_cast<Body&&>(body));
}

// The Release of a module-level object with its own count: drops one
// reference inside the guard and runs last() (which deletes the object) when
// none is left. Answers the count reached.
template <class Last>
ULONG AddInGuardedRelease(AddInGuardRecord& record, volatile LONG& count, Last&& last)
{
    LONG left = 0;
    AddInGuarded(record, nullptr, [&] {
        left = InterlockedDecrement(&count);
        if (left == 0)
            last();
    });
    return left;
}
