#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>

#include "fixtures/EmulatedCpu.h"
#include "base/MKCrashGuard.h"
#include "base/MKSeh.h"
#include "base/MKSystemException.h"

#pragma GCC diagnostic ignored "-Wcast-function-type"

namespace {

constexpr DWORD kUnlistedCode = 0xC000001E;

struct CountsDestruction {
    int* count;
    ~CountsDestruction() { ++*count; }
};

// Out of line and through volatile data, so the faults really happen.
__attribute__((noinline)) int DivideBy(int divisor)
{
    volatile int d = divisor;
    volatile int result = 100 / d;
    return result;
}

__attribute__((noinline)) void WriteThrough(int* pointer)
{
    *static_cast<volatile int*>(pointer) = 1;
}

// Deep enough to overflow any thread stack; the local array keeps the
// recursion from being turned into a loop.
#pragma GCC diagnostic ignored "-Winfinite-recursion"
__attribute__((noinline)) int Recurse(int depth)
{
    volatile char pad[256];
    pad[depth % 256] = static_cast<char>(depth);
    return Recurse(depth + 1) + pad[0];
}

class CrashGuard : public ::testing::Test {
protected:
    void SetUp() override { MKInstallSehTranslator(); }
    void TearDown() override { MKUninstallSehTranslator(); }
    MKExceptionInfo info_{};
};

TEST_F(CrashGuard, DivisionByZeroUnwindsLocalsAndIsRecorded)
{
    SKIP_WITHOUT_REAL_FAULTS();
    int destroyed = 0;
    int result = MKCrashGuard(info_, -1, [&] {
        CountsDestruction local{&destroyed};
        return DivideBy(0);
    });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(static_cast<DWORD>(info_.code), 0xC0000094u);
    EXPECT_STREQ(info_.description, L"Integer Divide by Zero");
}

TEST_F(CrashGuard, FaultsArriveAsTheirOwnClass)
{
    SKIP_WITHOUT_REAL_FAULTS();
    bool divide = false, access = false;
    bool completed = MKCrashGuard(info_, false, [&] {
        try {
            DivideBy(0);
        } catch (const MKSystemExceptions::IntegerDivideByZero& e) {
            divide = e.Code() == 0xC0000094u;
        }
        try {
            WriteThrough(nullptr);
        } catch (const MKSystemExceptions::AccessViolation& e) {
            access = e.Context().Eip != 0;
        }
        return true;
    });
    EXPECT_TRUE(completed);
    EXPECT_TRUE(divide);
    EXPECT_TRUE(access);
    EXPECT_EQ(info_.code, 0);
}

TEST_F(CrashGuard, AccessViolationIsRecordedWithItsContext)
{
    SKIP_WITHOUT_REAL_FAULTS();
    EXPECT_FALSE(MKCrashGuard(info_, false, [] {
        WriteThrough(reinterpret_cast<int*>(16));
        return true;
    }));
    EXPECT_EQ(static_cast<DWORD>(info_.code), 0xC0000005u);
    EXPECT_STREQ(info_.description, L"Access Violation");
    CONTEXT context;
    memcpy(&context, info_.context, sizeof(context));
    EXPECT_NE(context.Eip, 0u);
}

TEST_F(CrashGuard, RaisedUnlistedCodeIsDescribedInHex)
{
    EXPECT_EQ(MKCrashGuard(info_, E_UNEXPECTED, [] {
                  RaiseException(kUnlistedCode, 0, 0, nullptr);
                  return S_OK;
              }),
              E_UNEXPECTED);
    EXPECT_EQ(static_cast<DWORD>(info_.code), kUnlistedCode);
    EXPECT_STREQ(info_.description, L"0xc000001e");
}

TEST(SystemException, TranslatorPicksClassAndText)
{
    struct Case {
        DWORD code;
        const wchar_t* text;
    } cases[] = {
        {0xC0000094, L"Integer Divide by Zero"}, {0xC0000005, L"Access Violation"},
        {0x80000001, L"Guard Page"},             {0xC0000194, L"Possible deadlock"},
        {0xC000013A, L"Control-C"},              {kUnlistedCode, L"0xc000001e"},
        {0x00000001, L"0x00000001"},
    };
    for (const Case& c : cases) {
        try {
            MKSehTranslator(c.code, nullptr);
        } catch (const MKSystemExceptions::UnknownSystemException& e) {
            EXPECT_TRUE(c.text[0] == L'0') << std::hex << c.code;
            EXPECT_STREQ(e.Description(), c.text);
        } catch (const MKSystemException& e) {
            EXPECT_EQ(e.Code(), c.code);
            EXPECT_STREQ(e.Description(), c.text);
        }
    }
    EXPECT_STREQ(MKException().Description(), L"Exception");
}

TEST(ExceptionInfo, SetCutsTextAndResetClears)
{
    MKExceptionInfo info{};
    unsigned char block[720];
    memset(block, 0xAB, sizeof(block));
    info.Set(5, L"abcdefghijklmnopqrstuvwxyz0123456789", block);
    EXPECT_EQ(info.code, 5);
    EXPECT_EQ(std::wstring(info.description), L"abcdefghijklmnopqrstuvwxyz0123");
    EXPECT_EQ(info.context[719], 0xAB);
    info.Reset();
    EXPECT_EQ(info.code, -1);
    EXPECT_STREQ(info.description, L"");
    EXPECT_EQ(info.context[0], 0);
    EXPECT_EQ(info.context[719], 0);
}

TEST_F(CrashGuard, EntryWithoutResultTellsCompletion)
{
    int destroyed = 0;
    EXPECT_FALSE(MKCrashGuard(info_, [&] {
        CountsDestruction local{&destroyed};
        WriteThrough(nullptr);
    }));
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(MKCrashGuard(info_, [] {}));
    EXPECT_EQ(info_.code, 0);
}

TEST_F(CrashGuard, OtherExceptionsRecordMinusOne)
{
    EXPECT_FALSE(MKCrashGuard(info_, false, []() -> bool { throw std::runtime_error("x"); }));
    EXPECT_EQ(info_.code, -1);
    EXPECT_FALSE(MKCrashGuard(info_, false, []() -> bool { throw MKException(); }));
    EXPECT_EQ(info_.code, -1);
    EXPECT_STREQ(info_.description, L"");
}

TEST_F(CrashGuard, StackOverflowIsRecoveredRepeatedly)
{
    SKIP_WITHOUT_REAL_FAULTS();
    for (int round = 0; round < 3; ++round) {
        EXPECT_FALSE(MKCrashGuard(info_, false, [] { return Recurse(0) != 0; })) << round;
        EXPECT_EQ(static_cast<DWORD>(info_.code), 0xC00000FDu) << round;
        EXPECT_STREQ(info_.description, L"Stack Overflow");
    }
    // The thread still translates ordinary faults afterwards.
    EXPECT_EQ(MKCrashGuard(info_, -1, [] { return DivideBy(0); }), -1);
    EXPECT_EQ(static_cast<DWORD>(info_.code), 0xC0000094u);
}

TEST_F(CrashGuard, FaultInForeignCodeIsRecovered)
{
    SKIP_WITHOUT_REAL_FAULTS();
    // Through a pointer, so the compiler cannot inline its own strlen.
    auto foreignStrlen = reinterpret_cast<size_t (*)(const char*)>(
        GetProcAddress(GetModuleHandleW(L"msvcrt.dll"), "strlen"));
    ASSERT_NE(foreignStrlen, nullptr);
    EXPECT_FALSE(MKCrashGuard(info_, false, [&] { return foreignStrlen(reinterpret_cast<const char*>(8)) > 0; }));
    EXPECT_EQ(static_cast<DWORD>(info_.code), 0xC0000005u);
}

int __cdecl FaultingCompare(const void*, const void*)
{
    return DivideBy(0);
}

TEST_F(CrashGuard, FaultBelowForeignFramesIsRecovered)
{
    SKIP_WITHOUT_REAL_FAULTS();
    // The comparison runs under the run-time library's sort, whose frames a
    // C++ exception may not be able to cross.
    auto foreignSort = reinterpret_cast<void (*)(void*, size_t, size_t, int(__cdecl*)(const void*, const void*))>(
        GetProcAddress(GetModuleHandleW(L"msvcrt.dll"), "qsort"));
    ASSERT_NE(foreignSort, nullptr);
    int items[4] = {4, 3, 2, 1};
    EXPECT_FALSE(MKCrashGuard(info_, false, [&] {
        foreignSort(items, 4, sizeof(int), FaultingCompare);
        return true;
    }));
    EXPECT_EQ(static_cast<DWORD>(info_.code), 0xC0000094u);
    EXPECT_EQ(MKCrashGuard(info_, -1, [] { return DivideBy(0); }), -1);
}

struct FaultsWhenDestroyed {
    ~FaultsWhenDestroyed() { DivideBy(0); }
};

TEST_F(CrashGuard, FaultWhileUnwindingIsRecovered)
{
    SKIP_WITHOUT_REAL_FAULTS();
    EXPECT_FALSE(MKCrashGuard(info_, false, [] {
        FaultsWhenDestroyed local;
        WriteThrough(nullptr);
        return true;
    }));
    EXPECT_EQ(static_cast<DWORD>(info_.code), 0xC0000094u);
    EXPECT_EQ(std::uncaught_exceptions(), 0);
    // Later faults still unwind normally.
    int destroyed = 0;
    EXPECT_FALSE(MKCrashGuard(info_, false, [&] {
        CountsDestruction local{&destroyed};
        WriteThrough(nullptr);
        return true;
    }));
    EXPECT_EQ(destroyed, 1);
}

TEST_F(CrashGuard, NestedGuardsCatchInnermostFirst)
{
    SKIP_WITHOUT_REAL_FAULTS();
    MKExceptionInfo inner{};
    bool outer = MKCrashGuard(info_, false, [&] {
        EXPECT_EQ(MKCrashGuard(inner, -1, [] { return DivideBy(0); }), -1);
        EXPECT_FALSE(MKCrashGuard(inner, false, [] { return Recurse(0) != 0; }));
        return true;
    });
    EXPECT_TRUE(outer);
    EXPECT_EQ(info_.code, 0);
    EXPECT_EQ(static_cast<DWORD>(inner.code), 0xC00000FDu);
}

// A COM-style method and a callback, each behind its own static record.
HRESULT GuardedMethod(bool fail)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, E_UNEXPECTED, [&] { return fail ? static_cast<HRESULT>(DivideBy(0)) : S_OK; });
}

int s_reports = 0;
DWORD s_reportedCode = 0;
void CountReport(MKExceptionInfo& record)
{
    ++s_reports;
    s_reportedCode = static_cast<DWORD>(record.code);
}

TEST(CrashGuardEntry, FailedCallAnswersFailureAndIsReportedOnce)
{
    SKIP_WITHOUT_REAL_FAULTS();
    MKSehInstall(CountReport);
    s_reports = 0;
    EXPECT_EQ(GuardedMethod(true), E_UNEXPECTED);
    EXPECT_EQ(s_reports, 1);
    EXPECT_EQ(s_reportedCode, 0xC0000094u);
    EXPECT_EQ(GuardedMethod(false), S_OK);
    EXPECT_EQ(s_reports, 1);  // the earlier failure is not reported again
    MKUninstallSehTranslator();
}

void ReportUsingLibraryHeap(MKExceptionInfo&)
{
    MKSehThreadState* state = MKSehCurrentState();
    void* block = MKAlloc(64);
    ++s_reports;
    if (state->privateHeaps && block) {
        HANDLE heap = state->privateHeaps->heap;
        if (heap != GetProcessHeap() && HeapValidate(heap, 0, block))
            ++s_reports;
    }
    throw std::runtime_error("dropped");
}

TEST(CrashGuardEntry, ReportRunsOnPrivateHeapAndSwallowsExceptions)
{
    MKSehInstall(ReportUsingLibraryHeap);
    s_reports = 0;
    MKExceptionInfo info{};
    EXPECT_FALSE(MKCrashGuard(info, false, [] { return DivideBy(0) != 0; }));
    EXPECT_EQ(s_reports, 2);
    EXPECT_EQ(MKSehCurrentState()->privateHeaps, nullptr);
    void* after = MKAlloc(16);  // back on the run-time heap
    EXPECT_NE(after, nullptr);
    MKFree(after);
    MKUninstallSehTranslator();
}

TEST(SehInstall, CountsNestedInstalls)
{
    MKInstallSehTranslator();
    MKInstallSehTranslator();
    MKUninstallSehTranslator();
    EXPECT_EQ(MKSehCurrentState()->installCount, 1);
    MKExceptionInfo info{};
    EXPECT_EQ(MKCrashGuard(info, -1, [] { return DivideBy(0); }), -1);
    MKUninstallSehTranslator();
    MKUninstallSehTranslator();  // at nesting 0: nothing
    EXPECT_EQ(MKSehCurrentState()->installCount, 0);
}

// Runs after ours; on the test thread it steps over a two-byte division.
DWORD s_watchedThread = 0;
bool s_sawDivision = false;
LONG CALLBACK StepOverDivision(EXCEPTION_POINTERS* pointers)
{
    if (GetCurrentThreadId() != s_watchedThread ||
        pointers->ExceptionRecord->ExceptionCode != EXCEPTION_INT_DIVIDE_BY_ZERO)
        return EXCEPTION_CONTINUE_SEARCH;
    s_sawDivision = true;
    pointers->ContextRecord->Eip += 2;
    return EXCEPTION_CONTINUE_EXECUTION;
}

DWORD WINAPI DivideOnThread(void* param)
{
    if (param)
        MKInstallSehTranslator();
    s_watchedThread = GetCurrentThreadId();
    MKExceptionInfo info{};
    bool completed = MKCrashGuard(info, false, [] {
        unsigned zero = 0, high = 0, low = 7;
        __asm__ volatile("divl %%ecx" : "+a"(low), "+d"(high) : "c"(zero));  // f7 f1
        return true;
    });
    if (param)
        MKUninstallSehTranslator();
    return completed ? 1 : 0;
}

TEST(SehInstall, ThreadWithoutTranslatorIsLeftAlone)
{
    SKIP_WITHOUT_REAL_FAULTS();
    PVOID watcher = AddVectoredExceptionHandler(0, StepOverDivision);
    for (int install = 0; install < 2; ++install) {
        s_sawDivision = false;
        HANDLE thread = CreateThread(nullptr, 0, DivideOnThread, install ? &install : nullptr, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        WaitForSingleObject(thread, INFINITE);
        DWORD completed = 0;
        GetExitCodeThread(thread, &completed);
        CloseHandle(thread);
        // Without the translator the fault goes on to other handlers and the
        // body completes; with it, the guard takes the fault first.
        EXPECT_EQ(s_sawDivision, install == 0) << install;
        EXPECT_EQ(completed, install == 0 ? 1u : 0u) << install;
    }
    RemoveVectoredExceptionHandler(watcher);
}

}  // namespace
