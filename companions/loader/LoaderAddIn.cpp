#include "companions/loader/LoaderAddIn.h"

#include "companions/loader/LoaderClassFactory.h"
#include "companions/loader/LoaderPath.h"

#include <string.h>

const wchar_t LoaderAddIn::kMainAddInFile[] = L"VistelloAddIn.dll";

namespace {

typedef bool(WINAPI* LoaderCreateFunction)(const LoaderInfo* info, LoaderCallbacks* callbacks);

// Wide enough for the loader's own path and the add-in's file name beside it;
// longer paths are refused rather than cut.
const int kPathCapacity = 512;

}  // namespace

LoaderAddIn::LoaderAddIn(LoaderClassFactory* factory, IUnknown* outer) : CompanionAddIn(factory, outer) {}

LoaderAddIn::~LoaderAddIn()
{
    // Office let go of the loader before the add-in handled its start.
    if (m_callbacks.destroy)
        m_callbacks.destroy(&m_callbacks);
    LetGoOfLibrary();
}

void LoaderAddIn::LetGoOfLibrary()
{
    memset(&m_callbacks, 0, sizeof(m_callbacks));
    if (m_addInModule) {
        HMODULE module = m_addInModule;
        m_addInModule = nullptr;
        FreeLibrary(module);
    }
}

void LoaderAddIn::Connected(IDispatch* application, IDispatch* addInInst)
{
    if (m_addInModule)
        return;
    HINSTANCE instance = GetModuleInstance();
    wchar_t modulePath[kPathCapacity];
    DWORD length = GetModuleFileNameW(instance, modulePath, kPathCapacity);
    // A full buffer means the path was cut.
    if (length == 0 || length >= static_cast<DWORD>(kPathCapacity))
        return;
    wchar_t addInPath[kPathCapacity];
    if (!LoaderSiblingPath(modulePath, static_cast<int>(length), kMainAddInFile, addInPath, kPathCapacity))
        return;
    m_addInModule = LoadLibraryW(addInPath);
    if (!m_addInModule)
        return;
    auto create = reinterpret_cast<LoaderCreateFunction>(
        reinterpret_cast<void*>(GetProcAddress(m_addInModule, "VistelloLoader_Create")));
    if (!create) {
        LetGoOfLibrary();
        return;
    }

    LoaderInfo info;
    memset(&info, 0, sizeof(info));
    info.size = sizeof(info);
    info.version = 1;
    info.loaderModule = instance;
    info.application = application;
    info.loaderAddIn = addInInst;
    info.addInModule = m_addInModule;
    m_callbacks.loaderObject = this;

    // The add-in's calls may re-enter Office, which may release this object.
    AddRef();
    bool created = create(&info, &m_callbacks);
    if (created && m_callbacks.needsStart && m_callbacks.needsStart(&m_callbacks) == 1 && m_callbacks.start &&
        m_callbacks.start(&m_callbacks, &LoaderAddIn::LoaderHostWindowProc)) {
        // Started: the hidden window exists and WM_USER is on its way.
        Release();
        return;
    }
    if (created && m_callbacks.destroy)
        m_callbacks.destroy(&m_callbacks);
    LetGoOfLibrary();
    Release();
}

LRESULT CALLBACK LoaderAddIn::LoaderHostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LoaderCallbacks* table;
    if (message == WM_NCCREATE) {
        table = static_cast<LoaderCallbacks*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (!table)
            return DefWindowProcW(window, message, wParam, lParam);
        table->window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(table));
    } else {
        table = reinterpret_cast<LoaderCallbacks*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!table || !table->windowProc)
        return DefWindowProcW(window, message, wParam, lParam);

    uint8_t handled = 0;
    LRESULT result = table->windowProc(table, window, message, wParam, lParam, &handled);
    if (handled) {
        // The add-in registered and connected itself: Office holds it now.
        auto* loader = static_cast<LoaderAddIn*>(table->loaderObject);
        if (table->destroy)
            table->destroy(table);
        memset(table, 0, sizeof(*table));
        if (loader)
            loader->LetGoOfLibrary();
    }
    return result;
}
