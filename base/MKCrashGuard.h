#pragma once
#include <type_traits>

#include "base/MKExceptionInfo.h"

// The one crash guard of every entry point that foreign code calls (exports,
// COM methods, window and hook procedures, callbacks): no exception and, on a
// thread that installed the translator (MKSeh.h), no processor fault leaves it.
//
//     static MKExceptionInfo s_info;
//     return MKCrashGuard(s_info, E_UNEXPECTED, [&] { ...; return S_OK; });
//
// The record's code is cleared at each entry. A translated fault or the
// library's own exception fills it (code and text of the fault, or -1 for any
// other exception), a stack overflow is recovered and the thread's report
// callback sees the record; the entry then answers `failure`. Faults in this
// module's code unwind the body's locals like any C++ exception; a stack
// overflow, or a fault in foreign code that nobody handled, abandons the body's
// frames without running their destructors.

// Runs body(arg) guarded; true when the body completed.
bool MKRunGuarded(MKExceptionInfo& info, void (*body)(void*), void* arg);

// For entries that answer nothing: true when the body completed.
template <class Body>
bool MKCrashGuard(MKExceptionInfo& info, Body&& body)
{
    using Callable = std::remove_reference_t<Body>;
    return MKRunGuarded(info, [](void* callable) { (*static_cast<Callable*>(callable))(); }, &body);
}

template <class Result, class Body>
Result MKCrashGuard(MKExceptionInfo& info, Result failure, Body&& body)
{
    Result result = failure;
    auto run = [&] { result = body(); };
    if (!MKRunGuarded(info, [](void* callable) { (*static_cast<decltype(run)*>(callable))(); }, &run))
        return failure;
    return result;
}

// Hooks the fault handler into the process and out again; MKSehModuleInit and
// MKSehModuleTerm call these.
bool MKCrashGuardAttach();
void MKCrashGuardDetach();
