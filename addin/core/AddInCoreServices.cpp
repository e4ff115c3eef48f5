#include "addin/core/AddInCoreServices.h"

#include "addin/core/AddIn.h"
#include "addin/core/AddInCore.h"
#include "addin/core/AddInModule.h"
#include "addin/core/InstalledPluginsAdapter.h"
#include "addin/core/KernelHostObject.h"
#include "addin/core/OfficeInfo.h"
#include "addin/core/PluginApiObject.h"
#include "addin/core/PluginCallbackObject.h"
#include "addin/core/ProductSettings.h"
#include "addin/core/SystemReport.h"
#include "addin/effects/SlideShowController.h"
#include "addin/update/Preferences.h"
#include "addin/update/UpdateCheckDispatch.h"
#include "addin/update/UpdateHistory.h"
#include "addin/update/UpdaterLink.h"
#include "addin/update/UsageStore.h"
#include "base/MKLock.h"

#include <new>

HINSTANCE AddInCoreServices::GetModuleInstance()
{
    return m_addIn.GetModuleInstance();
}

void AddInCoreServices::ShowErrorBox(const wchar_t* text)
{
    ::ShowErrorBox(text);
}

InstalledPluginList* AddInCoreServices::MakeInstalledPluginList()
{
    return new (std::nothrow) InstalledPluginsAdapter(m_addIn.GetModuleFolder());
}

MKVersion AddInCoreServices::GetOfficeVersion()
{
    OfficeInfo* office = m_addIn.GetOfficeInfo();
    return office ? office->GetVersion() : MKVersion();
}

EnvironmentInfo* AddInCoreServices::GetEnvironment()
{
    return m_addIn.GetEnvironmentInfo();
}

PlayerVersionCache* AddInCoreServices::GetPlayerVersions()
{
    return m_addIn.GetPlayerVersionCache();
}

void AddInCoreServices::StopSlideShowSession()
{
    m_addIn.StopSlideShowSession();
}

void AddInCoreServices::InvalidateRibbon(const MKString& controlId)
{
    m_addIn.InvalidateRibbon(controlId);
}

void AddInCoreServices::AddFeature(uint32_t usageId)
{
    if (UsageStore* usage = m_addIn.GetUsageStore())
        usage->AddFeature(static_cast<int32_t>(usageId));
}

void AddInCoreServices::CountUse(uint32_t usageId)
{
    if (UsageStore* usage = m_addIn.GetUsageStore())
        usage->CountUse(static_cast<int32_t>(usageId));
}

IDispatch* AddInCoreServices::MakeKernelHostObject()
{
    return m_core ? static_cast<IKernelHost*>(new (std::nothrow) KernelHostObject(m_core, this)) : nullptr;
}

IDispatch* AddInCoreServices::MakeCallbackObject(KernelPlugin*)
{
    // Dispatch objects are made without a reference.
    PluginCallbackObject* callback = new (std::nothrow) PluginCallbackObject(this);
    if (callback)
        callback->AddRef();
    return callback;
}

IUnknown* AddInCoreServices::MakeApiObject(Plugin* plugin)
{
    return m_core ? static_cast<IPluginApi*>(new (std::nothrow) PluginApiObject(plugin, m_core, this)) : nullptr;
}

void AddInCoreServices::DetachPluginObject(IUnknown* object)
{
    if (!object)
        return;
    IPluginApi* api = nullptr;
    if (SUCCEEDED(object->QueryInterface(IID_IPluginApi, reinterpret_cast<void**>(&api))) && api) {
        static_cast<PluginApiObject*>(api)->Detach();
        api->Release();
        return;
    }
    IDispatch* callback = nullptr;
    if (SUCCEEDED(object->QueryInterface(PluginCallbackObject::kIdentity, reinterpret_cast<void**>(&callback))) &&
        callback) {
        static_cast<PluginCallbackObject*>(static_cast<MKDispatchObject*>(callback))->Detach();
        callback->Release();
    }
}

PackResourceHandlerList* AddInCoreServices::GetPackResources()
{
    return m_addIn.GetPackResources();
}

const SlideVisitLog* AddInCoreServices::FindShowEventLog(PowerPoint::SlideShowWindow* window)
{
    SlideShowController* controller = m_addIn.GetSlideShowController();
    return controller ? controller->FindVisitLog(window) : nullptr;
}

MKVersion AddInCoreServices::GetKernelVersion()
{
    return m_core ? m_core->GetKernelVersion() : MKVersion();
}

MKString AddInCoreServices::WriteSystemReport()
{
    return ::WriteSystemReport(&m_addIn);
}

bool AddInCoreServices::GetAutoCheckUpdates()
{
    return m_addIn.ReadAutoCheckUpdates();
}

IDispatch* AddInCoreServices::MakeUpdateCheckObject()
{
    UpdaterLink* link = m_addIn.GetUpdaterLink();
    if (!link)
        return nullptr;
    link->StopCheck();
    // Dispatch objects are made without a reference.
    UpdateCheckDispatch* dispatch = new (std::nothrow) UpdateCheckDispatch(link);
    if (dispatch)
        dispatch->AddRef();
    return dispatch;
}

bool AddInCoreServices::IsAutoInstallEnabled()
{
    ProductSettings* settings = m_addIn.GetUserSettings();
    if (!settings)
        return true;
    EnterModuleLock();
    FlagSetting setting = settings->GetAutoInstallUpdates();
    LeaveModuleLock();
    return !setting.present || setting.value;
}

void AddInCoreServices::SetUpdateSettings(bool autoCheck, bool autoInstall)
{
    if (ProductSettings* settings = m_addIn.GetUserSettings()) {
        // The update checker's thread writes AutoCheckUpdates too.
        EnterModuleLock();
        ::SetAutoCheckUpdates(*settings, autoCheck);
        settings->SetAutoInstallUpdates(FlagSetting{true, autoInstall});
        LeaveModuleLock();
    }
    UpdaterLink* link = m_addIn.GetUpdaterLink();
    if (autoCheck && link)
        link->StartAutomaticCheck();
    else if (!autoCheck)
        m_addIn.StopUpdateCheck();
}

bool AddInCoreServices::GetUpdateHistoryXml(MKString& xml)
{
    UpdateHistory history(m_addIn.GetModuleFolder());
    if (!history.Load())
        return false;
    xml = history.WriteXml();
    return true;
}

bool AddInCoreServices::ReplacePreferences(const uint8_t* bytes, int length)
{
    Preferences* preferences = m_addIn.GetPreferences();
    if (!preferences || !preferences->SetBlob(bytes, length))
        return false;
    return m_addIn.SavePreferences(false);
}

void AddInCoreServices::GetPreferencesBlob(const uint8_t** bytes, int* length)
{
    *bytes = nullptr;
    *length = 0;
    Preferences* preferences = m_addIn.GetPreferences();
    if (!preferences)
        return;
    preferences->GetBlob(bytes, length);
}

bool AddInCoreServices::GetInstallationGuid(GUID& out)
{
    Preferences* preferences = m_addIn.GetPreferences();
    if (!preferences)
        return false;
    out = preferences->GetInstallationGuid().Get();
    return true;
}

void AddInCoreServices::SetUpdateCheckValue(int32_t value)
{
    m_addIn.SetUpdateCheckValue(value);
}
