// A stand-in VistelloAddIn.dll for the loader's tests: VistelloLoader_Create
// and the four callbacks answer as the test's plan says and note each call.
#include "TestAddInPlan.h"

#include "base/MKHandyWindow.h"

#include <stdlib.h>

namespace {

TestAddInPlan* Plan()
{
    wchar_t text[32];
    if (!GetEnvironmentVariableW(kTestAddInPlanVariable, text, 32))
        return nullptr;
    return reinterpret_cast<TestAddInPlan*>(wcstoul(text, nullptr, 16));
}

void WINAPI Destroy(LoaderCallbacks* table)
{
    Plan()->Note('d');
    if (table->window)
        DestroyWindow(table->window);
    table->window = nullptr;
}

int32_t WINAPI NeedsStart(LoaderCallbacks*)
{
    Plan()->Note('n');
    return Plan()->needsStart;
}

bool WINAPI Start(LoaderCallbacks* table, WNDPROC windowProc)
{
    TestAddInPlan* plan = Plan();
    plan->Note('s');
    plan->windowProc = windowProc;
    if (!plan->start)
        return false;
    HWND window = MKCreateHandyWindow(plan->info.loaderModule, windowProc, table);
    return window && PostMessageW(window, WM_USER, 0, 0);
}

LRESULT WINAPI WindowProc(LoaderCallbacks*, HWND window, UINT message, WPARAM wParam, LPARAM lParam, uint8_t* handled)
{
    if (message != WM_USER)
        return DefWindowProcW(window, message, wParam, lParam);
    Plan()->Note('u');
    *handled = 1;
    return 0;
}

}  // namespace

extern "C" bool WINAPI VistelloLoader_Create(const LoaderInfo* info, LoaderCallbacks* callbacks)
{
    TestAddInPlan* plan = Plan();
    plan->Note('c');
    plan->info = *info;
    if (!plan->create)
        return false;
    callbacks->destroy = &Destroy;
    callbacks->needsStart = &NeedsStart;
    callbacks->start = &Start;
    callbacks->windowProc = &WindowProc;
    return true;
}
