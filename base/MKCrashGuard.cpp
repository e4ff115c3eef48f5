#include "base/MKCrashGuard.h"

#include <windows.h>
#include <intrin.h>

#include <exception>
#include <stdint.h>
#include <string.h>

#include "base/MKSeh.h"
#include "base/MKSystemException.h"

// How faults reach a guard. g++ unwinds with DWARF tables, not SEH, so a fault
// cannot simply be thrown from a structured-exception filter. Instead:
// - A vectored handler sees every fault first. For a fault in this module's own
//   code (compiled with -fnon-call-exceptions, so every trapping instruction has
//   unwind information) it makes the faulting thread "call" a thrower from the
//   faulting instruction; the C++ exception then unwinds the body's frames and
//   runs their destructors up to the guard's catch.
// - Where unwinding cannot work (stack overflow, code without unwind tables, a
//   fault while an exception is already in flight, or a throw whose path
//   crosses foreign frames and so ends in std::terminate before unwinding
//   anything) the thread is sent to the guard's recovery point instead,
//   abandoning the body's frames.
// - Faults in foreign code are left to that code's own SEH handlers; only when
//   none of them handles one does the guard's SEH registration take it, unwind
//   the foreign frames the SEH way and go to the recovery point.

extern "C" {
struct DwarfEhBases {
    void* tbase;
    void* dbase;
    void* func;
};
const void* _Unwind_Find_FDE(void* pc, DwarfEhBases* bases);
}

namespace __cxxabiv1 {
struct __cxa_eh_globals;
extern "C" __cxa_eh_globals* __cxa_get_globals() noexcept;
}  // namespace __cxxabiv1

// The run-time's per-thread exception bookkeeping, laid out by the C++ ABI.
struct CxaGlobals {
    void* caughtExceptions;
    unsigned int uncaughtExceptions;
};

struct MKGuardFrame {
    EXCEPTION_REGISTRATION_RECORD registration;  // first: the SEH handler gets its address
    void* jump[5];                               // __builtin_setjmp buffer
    char* recoveryStack;                         // dead stack below the guard's own frame
    MKGuardFrame* outer;
    CxaGlobals cxa;                              // as at entry, restored on recovery
};

namespace {

uintptr_t s_moduleStart = 0;
uintptr_t s_moduleEnd = 0;
PVOID s_vectoredHandler = nullptr;
std::terminate_handler s_previousTerminate = nullptr;

CxaGlobals& Cxa()
{
    return *reinterpret_cast<CxaGlobals*>(__cxxabiv1::__cxa_get_globals());
}

bool InOwnModule(uintptr_t address)
{
    return address >= s_moduleStart && address < s_moduleEnd;
}

void KeepFault(MKSehThreadState* state, const EXCEPTION_RECORD* record, const CONTEXT* context)
{
    memcpy(&state->faultRecord, record, sizeof(state->faultRecord));
    state->faultRecord.ExceptionRecord = nullptr;
    memcpy(&state->faultContext, context, sizeof(state->faultContext));
}

// Entered with a fake return address just past the faulting instruction, so
// the unwinder finds the faulting function as this function's caller.
__attribute__((force_align_arg_pointer, noreturn, noinline)) void ThrowKeptFault()
{
    MKSehThreadState* state = MKSehCurrentState();
    EXCEPTION_POINTERS pointers = {&state->faultRecord, &state->faultContext};
    MKSehTranslator(state->faultRecord.ExceptionCode, &pointers);
}

// Entered on the recovery stack of the innermost guard.
__attribute__((force_align_arg_pointer, noreturn, noinline)) void JumpToGuard()
{
    __builtin_longjmp(MKSehCurrentState()->guard->jump, 1);
}

void SendToRecovery(MKSehThreadState* state, CONTEXT* context)
{
    context->Esp = reinterpret_cast<DWORD>(state->guard->recoveryStack);
    context->Eip = reinterpret_cast<DWORD>(&JumpToGuard);
}

LONG CALLBACK GuardVectoredHandler(EXCEPTION_POINTERS* pointers)
{
    MKSehThreadState* state = MKSehCurrentState();
    if (!state || state->installCount == 0 || !state->guard)
        return EXCEPTION_CONTINUE_SEARCH;
    EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    CONTEXT* context = pointers->ContextRecord;
    // Nobody can handle a stack overflow where it happens; everything else
    // outside this module belongs to the handlers of the code that faulted.
    bool overflow = record->ExceptionCode == EXCEPTION_STACK_OVERFLOW;
    if (!overflow && !InOwnModule(context->Eip))
        return EXCEPTION_CONTINUE_SEARCH;
    KeepFault(state, record, context);
    DwarfEhBases bases;
    if (overflow ||
        Cxa().uncaughtExceptions != state->guard->cxa.uncaughtExceptions ||
        !_Unwind_Find_FDE(reinterpret_cast<void*>(context->Eip), &bases)) {
        SendToRecovery(state, context);
    } else {
        context->Esp -= sizeof(DWORD);
        *reinterpret_cast<DWORD*>(context->Esp) = context->Eip + 1;
        context->Eip = reinterpret_cast<DWORD>(&ThrowKeptFault);
    }
    return EXCEPTION_CONTINUE_EXECUTION;
}

EXCEPTION_DISPOSITION __cdecl GuardSehHandler(EXCEPTION_RECORD* record, void* establisher,
                                              CONTEXT* context, void*)
{
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    MKSehThreadState* state = MKSehCurrentState();
    if (!state || state->installCount == 0)
        return ExceptionContinueSearch;
    auto* frame = reinterpret_cast<MKGuardFrame*>(establisher);
    KeepFault(state, record, context);
    state->guard = frame;
    RtlUnwind(&frame->registration, nullptr, record, nullptr);
    __builtin_longjmp(frame->jump, 1);
}

bool HandlingTranslatedFault()
{
    std::exception_ptr current = std::current_exception();
    if (!current)
        return false;
    try {
        std::rethrow_exception(current);
    } catch (const MKSystemException&) {
        return true;
    } catch (...) {
    }
    return false;
}

// A translated fault whose unwinding found no handler (foreign frames in the
// way) ends here before anything was unwound; the guard takes it instead.
void GuardTerminate()
{
    MKSehThreadState* state = MKSehCurrentState();
    if (state && state->installCount && state->guard && HandlingTranslatedFault())
        __builtin_longjmp(state->guard->jump, 1);
    if (s_previousTerminate)
        s_previousTerminate();
    abort();
}

// After a stack overflow the page that catches the next one has been used up;
// put the guard back on the lowest accessible committed page of the stack.
void RestoreStackGuardPage()
{
    MEMORY_BASIC_INFORMATION here;
    if (!VirtualQuery(&here, &here, sizeof(here)))
        return;
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    uintptr_t page = system.dwPageSize;
    char* current = reinterpret_cast<char*>(reinterpret_cast<uintptr_t>(&here) & ~(page - 1));
    char* p = static_cast<char*>(here.AllocationBase);
    MEMORY_BASIC_INFORMATION region;
    while (p < current && VirtualQuery(p, &region, sizeof(region))) {
        if (region.State == MEM_COMMIT && !(region.Protect & PAGE_NOACCESS)) {
            DWORD old;
            if (!(region.Protect & PAGE_GUARD) && p + page < current)
                VirtualProtect(p, page, PAGE_READWRITE | PAGE_GUARD, &old);
            return;
        }
        p = static_cast<char*>(region.BaseAddress) + region.RegionSize;
    }
}

// Calls the body from a frame of its own, whose address marks where the dead
// stack of an abandoned body begins.
__attribute__((noinline)) void CallBody(MKGuardFrame* frame, void (*body)(void*), void* arg)
{
    if (frame)
        frame->recoveryStack = static_cast<char*>(__builtin_frame_address(0)) - 64;
    body(arg);
    __asm__ volatile("" ::: "memory");  // keeps this call from becoming a tail jump
}

}  // namespace

bool MKRunGuarded(MKExceptionInfo& info, void (*body)(void*), void* arg)
{
    info.code = 0;
    MKSehThreadState* state = MKSehCurrentState();
    if (state && state->installCount == 0)
        state = nullptr;
    MKGuardFrame frame;
    volatile bool completed = false;
    if (state) {
        frame.outer = state->guard;
        frame.cxa = Cxa();
        frame.registration.Next = reinterpret_cast<EXCEPTION_REGISTRATION_RECORD*>(__readfsdword(0));
        frame.registration.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(&GuardSehHandler);
        __writefsdword(0, reinterpret_cast<DWORD>(&frame.registration));
        state->guard = &frame;
    }
    if (!state || __builtin_setjmp(frame.jump) == 0) {
        try {
            CallBody(state ? &frame : nullptr, body, arg);
            completed = true;
        } catch (const MKSystemException& e) {
            info.Set(static_cast<int32_t>(e.Code()), e.Description(), e.ContextBlock());
        } catch (...) {
            info.Reset();
        }
    } else {
        // Back from an abandoned body: drop the SEH registrations and C++
        // exception bookkeeping it left behind.
        __writefsdword(0, reinterpret_cast<DWORD>(&frame.registration));
        Cxa() = frame.cxa;
        EXCEPTION_POINTERS pointers = {&state->faultRecord, &state->faultContext};
        MKSystemException fault(state->faultRecord.ExceptionCode, &pointers);
        info.Set(static_cast<int32_t>(fault.Code()), fault.Description(), fault.ContextBlock());
    }
    if (state) {
        __writefsdword(0, reinterpret_cast<DWORD>(frame.registration.Next));
        state->guard = frame.outer;
    }
    if (info.code != 0) {
        if (static_cast<DWORD>(info.code) == EXCEPTION_STACK_OVERFLOW)
            RestoreStackGuardPage();
        MKSehReport(info);
    }
    return completed;
}

bool MKCrashGuardAttach()
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&GuardVectoredHandler), &module))
        return false;
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const char*>(module) + dos->e_lfanew);
    s_moduleStart = reinterpret_cast<uintptr_t>(module);
    s_moduleEnd = s_moduleStart + nt->OptionalHeader.SizeOfImage;
    s_vectoredHandler = AddVectoredExceptionHandler(1, GuardVectoredHandler);
    if (!s_vectoredHandler)
        return false;
    s_previousTerminate = std::set_terminate(GuardTerminate);
    return true;
}

void MKCrashGuardDetach()
{
    if (!s_vectoredHandler)
        return;
    RemoveVectoredExceptionHandler(s_vectoredHandler);
    s_vectoredHandler = nullptr;
    std::set_terminate(s_previousTerminate);
    s_previousTerminate = nullptr;
}
