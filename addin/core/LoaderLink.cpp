#include "addin/core/LoaderLink.h"

#include "addin/core/AddInGuard.h"
#include "addin/core/AddInIds.h"
#include "addin/core/AddInModule.h"
#include "addin/core/OfficeAddInKeys.h"
#include "base/MKHandyWindow.h"

#include <new>

bool LoaderLink::Initialize(const LoaderInfo* info)
{
    if (!info || info->size < static_cast<int32_t>(sizeof(LoaderInfo)) || info->version < 1 || !info->application)
        return false;
    m_version = info->version;
    m_loaderModule = info->loaderModule;
    m_addInModule = info->addInModule;
    PowerPoint::Application* application = nullptr;
    if (FAILED(info->application->QueryInterface(PowerPoint::IID_Application, reinterpret_cast<void**>(&application))))
        return false;
    m_application.Attach(application);
    Office::COMAddIns* addIns = nullptr;
    if (FAILED(application->get_COMAddIns(&addIns)) || !addIns)
        return false;
    m_comAddIns.Attach(addIns);
    return true;
}

ComAddInSearch LoaderLink::FindAddIn(MKComHolder<Office::COMAddIn>& found) const
{
    return FindComAddInByProgId(m_comAddIns.Get(), kAddInProgId, found);
}

bool LoaderLink::RegisterAndConnect()
{
    if (!m_comAddIns)
        return false;
    if (!OfficeAddInKeys::Write(kOfficePowerPoint, kAddInProgId, kAddInName, kAddInDescription,
                                    kAddInLoadBehavior, kScopeCurrentUser))
        return false;
    MKComHolder<Office::COMAddIn> addIn;
    bool connected = SUCCEEDED(m_comAddIns->Update()) && FindAddIn(addIn) == ComAddInSearch::Found &&
                     SUCCEEDED(addIn->put_Connect(VARIANT_TRUE));
    if (!connected)
        OfficeAddInKeys::Remove(kOfficePowerPoint, kAddInProgId, kScopeCurrentUser);
    return connected;
}

namespace {

void WINAPI LoaderDestroy(LoaderCallbacks* table)
{
    static AddInGuardRecord s_guard;
    AddInGuarded(s_guard, nullptr, [&] {
        if (!table || !table->link)
            return;
        if (table->window) {
            DestroyWindow(table->window);
            table->window = nullptr;
        }
        table->destroy = nullptr;
        table->needsStart = nullptr;
        table->start = nullptr;
        table->windowProc = nullptr;
        LoaderLink* link = table->link;
        table->link = nullptr;
        link->Release();
        ReleaseModuleRuntime();
    });
}

int32_t WINAPI LoaderNeedsStart(LoaderCallbacks* table)
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, nullptr, int32_t(0), [&]() -> int32_t {
        if (!table || !table->link)
            return 0;
        MKComHolder<Office::COMAddIn> found;
        return table->link->FindAddIn(found) == ComAddInSearch::NotFound ? 1 : 0;
    });
}

bool WINAPI LoaderStart(LoaderCallbacks* table, WNDPROC windowProc)
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, nullptr, false, [&]() -> bool {
        if (!table || !table->link)
            return false;
        if (table->window) {
            DestroyWindow(table->window);
            table->window = nullptr;
        }
        HWND window = MKCreateHandyWindow(table->link->GetLoaderModule(), windowProc, table);
        if (!window)
            return false;
        // Posted, so that registering and connecting run after the loader's
        // own OnConnection has returned.
        if (!PostMessageW(window, WM_USER, 0, 0)) {
            DestroyWindow(window);
            table->window = nullptr;
            return false;
        }
        return true;
    });
}

LRESULT WINAPI LoaderWindowProc(LoaderCallbacks* table, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                uint8_t* handled)
{
    static AddInGuardRecord s_guard;
    LRESULT result = 0;
    bool completed = AddInGuarded(s_guard, nullptr, [&] {
        *handled = 0;
        if (message != WM_USER) {
            result = DefWindowProcW(window, message, wParam, lParam);
            return;
        }
        *handled = 1;
        if (table && table->link)
            table->link->RegisterAndConnect();
    });
    return completed ? result : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

extern "C" bool WINAPI VistelloLoader_Create(const LoaderInfo* info, LoaderCallbacks* callbacks)
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, nullptr, false, [&]() -> bool {
        if (!callbacks || !AcquireModuleRuntime())
            return false;
        LoaderLink* link = new (std::nothrow) LoaderLink;
        if (!link || !link->Initialize(info)) {
            if (link)
                link->Release();
            ReleaseModuleRuntime();
            return false;
        }
        callbacks->link = link;
        callbacks->window = nullptr;
        callbacks->destroy = LoaderDestroy;
        callbacks->needsStart = LoaderNeedsStart;
        callbacks->start = LoaderStart;
        callbacks->windowProc = LoaderWindowProc;
        return true;
    });
}
