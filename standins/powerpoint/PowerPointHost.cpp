#include "standins/powerpoint/PowerPointHost.h"

#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/ComAddInObject.h"
#include "standins/powerpoint/ComAddInsObject.h"
#include "standins/powerpoint/SlideShowWindowsObject.h"
#include "standins/powerpoint/StandInFiles.h"

namespace standin {

PowerPointHost::PowerPointHost(const std::wstring& version) : m_application(new ApplicationObject(version))
{
    // PowerPoint's own resources are in the process before any add-in loads.
    m_resources = LoadLibraryW(StandInBinaryPath(L"PPINTL.DLL").c_str());
}

PowerPointHost::~PowerPointHost()
{
    Shutdown();
    m_application->Close();
    m_application->Release();
    if (m_resources)
        FreeLibrary(m_resources);
}

void PowerPointHost::Start()
{
    if (m_started)
        return;
    m_started = true;
    m_application->AddIns()->LoadAtStartup();
}

void PowerPointHost::Shutdown()
{
    if (!m_started)
        return;
    m_started = false;
    m_application->ShowWindows()->EndAll();
    m_application->AddIns()->ShutdownAll();
}

ComAddInObject* PowerPointHost::AddIn(const std::wstring& progId) const
{
    return m_application->AddIns()->Find(progId);
}

RibbonHost* PowerPointHost::Ribbon(const std::wstring& progId) const
{
    ComAddInObject* addIn = AddIn(progId);
    return addIn ? addIn->Ribbon() : nullptr;
}

void PowerPointHost::Pump(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (GetTickCount() - start >= milliseconds)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

}  // namespace standin
