#pragma once
#include <windows.h>
#include <string.h>

#include "addin/core/LoaderRecords.h"

// What the test add-in (a stand-in VistelloAddIn.dll for the loader's tests)
// answers and what it saw. The test keeps one in its own memory and names its
// address in the environment variable below; the add-in reads it at every
// call, so the library holds no state of its own between loads.
struct TestAddInPlan {
    // Answers of VistelloLoader_Create, LoaderNeedsStart and LoaderStart.
    bool create = true;
    int32_t needsStart = 1;
    bool start = true;
    // The calls in order, as letters: c create, n needs start, s start,
    // u WM_USER handled, d destroy.
    char calls[64] = {};
    // The record and window procedure the add-in was given.
    LoaderInfo info = {};
    WNDPROC windowProc = nullptr;

    void Note(char call)
    {
        size_t length = strlen(calls);
        if (length + 1 < sizeof(calls))
            calls[length] = call;
    }
};

inline const wchar_t kTestAddInPlanVariable[] = L"VISTELLO_TEST_ADDIN_PLAN";
