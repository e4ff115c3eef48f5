#include "slidecontrol/PlovapointModule.h"

#include "base/MKExceptionInfo.h"

namespace {

constexpr int kMaxClasses = 4;

HINSTANCE s_instance = nullptr;
volatile LONG s_locks = 0;
const char* s_classes[kMaxClasses] = {};
int s_classCount = 0;

}  // namespace

void PlovapointModule::Attach(HINSTANCE instance)
{
    s_instance = instance;
}

void PlovapointModule::Detach()
{
    // No window of ours may keep a procedure of the library once it is gone.
    for (int i = 0; i < s_classCount; ++i)
        UnregisterClassA(s_classes[i], s_instance);
    s_classCount = 0;
}

HINSTANCE PlovapointModule::Instance()
{
    return s_instance;
}

MKString PlovapointModule::Path()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(s_instance, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return MKString();
    return MKString::MKStringFromChars(path, int(n));
}

void PlovapointModule::Lock()
{
    InterlockedIncrement(&s_locks);
}

void PlovapointModule::Unlock()
{
    InterlockedDecrement(&s_locks);
}

LONG PlovapointModule::LockCount()
{
    return s_locks;
}

bool PlovapointModule::RegisterWindowClass(const char* name, WNDPROC procedure, UINT style)
{
    for (int i = 0; i < s_classCount; ++i) {
        if (s_classes[i] == name)
            return true;
    }
    if (s_classCount == kMaxClasses)
        return false;
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = s_instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    s_classes[s_classCount++] = name;
    return true;
}

HRESULT PlovapointModule::LoadTypeLibrary(ITypeLib** library)
{
    if (!library)
        return E_POINTER;
    *library = nullptr;
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(s_instance, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return E_FAIL;
    return LoadTypeLibEx(path, REGKIND_NONE, library);
}

MKExceptionInfo& PlovapointModule::GuardRecord()
{
    static MKExceptionInfo record;
    return record;
}
