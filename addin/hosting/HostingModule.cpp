#include "addin/hosting/HostingModule.h"

#include "addin/hosting/AntiBlinkWindow.h"
#include "addin/hosting/ControlHostWindow.h"
#include "addin/hosting/NodeContentWindow.h"
#include "addin/hosting/PlayerVersionCache.h"
#include "addin/hosting/UrlMonLibrary.h"

#include <new>

namespace {

HINSTANCE s_instance = nullptr;
PlayerVersionCache* s_versionCache = nullptr;

}  // namespace

void HostingModuleInit(HINSTANCE instance)
{
    s_instance = instance;
    if (!s_versionCache)
        s_versionCache = new (std::nothrow) PlayerVersionCache();
    UrlMonLibrary::Get();
}

void HostingModuleTerm()
{
    NodeContentWindow::UnregisterClassAtExit();
    ControlHostWindow::UnregisterClassAtExit();
    AntiBlinkWindow::UnregisterClassAtExit();
    delete s_versionCache;
    s_versionCache = nullptr;
    UrlMonLibrary::Release();
}

HINSTANCE HostingModuleInstance()
{
    return s_instance;
}

void SetHostingModuleInstance(HINSTANCE instance)
{
    s_instance = instance;
}

PlayerVersionCache* GetHostingPlayerVersionCache()
{
    return s_versionCache;
}
