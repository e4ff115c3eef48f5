#pragma once
#include "addin/core/AddInCoreHost.h"
#include "addin/core/KernelCallbackServices.h"

class AddIn;
class AddInCore;

// What the plug-in manager and the objects it hands to the .NET side need of
// the add-in: its module, error box, installed plug-in list, Office facts,
// ribbon, slide shows, usage counters, preferences and per-user settings.
// Owned by the add-in, which it serves; the add-in outlives it.
class AddInCoreServices final : public AddInCoreHost, public KernelCallbackServices {
public:
    explicit AddInCoreServices(AddIn& addIn) : m_addIn(addIn) {}
    AddInCoreServices(const AddInCoreServices&) = delete;
    AddInCoreServices& operator=(const AddInCoreServices&) = delete;

    // The manager the automation objects forward to; set once it is made.
    void SetCore(AddInCore* core) { m_core = core; }

    // AddInCoreHost.
    HINSTANCE GetModuleInstance() override;
    void ShowErrorBox(const wchar_t* text) override;
    InstalledPluginList* MakeInstalledPluginList() override;
    MKVersion GetOfficeVersion() override;
    EnvironmentInfo* GetEnvironment() override;
    PlayerVersionCache* GetPlayerVersions() override;
    void StopSlideShowSession() override;
    void InvalidateRibbon(const MKString& controlId) override;
    void AddFeature(uint32_t usageId) override;
    void CountUse(uint32_t usageId) override;
    IDispatch* MakeKernelHostObject() override;
    IDispatch* MakeCallbackObject(KernelPlugin* kernel) override;
    IUnknown* MakeApiObject(Plugin* plugin) override;
    void DetachPluginObject(IUnknown* object) override;
    PackResourceHandlerList* GetPackResources() override;
    const SlideVisitLog* FindShowEventLog(PowerPoint::SlideShowWindow* window) override;

    // KernelCallbackServices.
    MKVersion GetKernelVersion() override;
    MKString WriteSystemReport() override;
    bool GetAutoCheckUpdates() override;
    IDispatch* MakeUpdateCheckObject() override;
    bool IsAutoInstallEnabled() override;
    void SetUpdateSettings(bool autoCheck, bool autoInstall) override;
    bool GetUpdateHistoryXml(MKString& xml) override;
    bool ReplacePreferences(const uint8_t* bytes, int length) override;
    void GetPreferencesBlob(const uint8_t** bytes, int* length) override;
    bool GetInstallationGuid(GUID& out) override;
    void SetUpdateCheckValue(int32_t value) override;

private:
    AddIn& m_addIn;
    AddInCore* m_core = nullptr;
};
