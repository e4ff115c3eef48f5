#include "addin/core/AddInUpdaterHost.h"

#include "addin/core/AddIn.h"
#include "addin/core/AddInCore.h"
#include "addin/core/AddInModule.h"
#include "addin/core/EnvironmentInfo.h"
#include "addin/core/KernelPlugin.h"
#include "addin/core/OfficeAddInKeys.h"
#include "addin/core/OfficeInfo.h"
#include "addin/core/ProductSettings.h"
#include "addin/update/Preferences.h"
#include "addin/update/UpdateClock.h"
#include "addin/update/UpdateFrequency.h"
#include "addin/update/UsageStore.h"
#include "base/MKCrashGuard.h"
#include "base/MKSystemChecks.h"

namespace {

const wchar_t kUpdateAddInProgId[] = L"VistelloUpdater.AddIn";
const wchar_t kMainAddInProgId[] = L"Vistello.AddIn";

MKExceptionInfo g_usageInfo;

// The uses of the features the add-in counts, and of its ordinary starts.
MKString UsageOf(UsageStore* usage, ProductSettings* settings)
{
    MKString text;
    if (!usage)
        return text;
    MKCrashGuard(g_usageInfo, [&] {
        MKTArray<int32_t> ids;
        usage->ListFeatures(ids);
        MKTArray<FeatureUses> features;
        for (int i = 0; i < ids.GetCount(); ++i)
            features.Add({ids[i], usage->RecentUses(ids[i])});
        NumberSetting source = settings ? settings->GetSource() : NumberSetting();
        text = MakeUsageString(usage->TotalUses(1), usage->TotalUses(2), source.present ? source.value : 0,
                               UpdateSystemCheck(), features);
    });
    return text;
}

// The update add-in's COMAddIn, found by its ProgID; Item fails for an
// add-in PowerPoint does not list.
bool FindUpdateAddIn(Office::COMAddIns* addIns, MKComHolder<Office::COMAddIn>& out)
{
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_BSTR;
    index.bstrVal = SysAllocString(kUpdateAddInProgId);
    Office::COMAddIn* item = nullptr;
    HRESULT hr = index.bstrVal ? addIns->Item(&index, &item) : E_OUTOFMEMORY;
    VariantClear(&index);
    out.Attach(SUCCEEDED(hr) ? item : nullptr);
    return bool(out);
}

}  // namespace

int32_t UpdateSystemCheck()
{
    return (MKIsVistaOrLater() ? 1 : 0) | (MKIsWow64() ? 2 : 0) | (MKIsUserAdmin() ? 4 : 0) |
           (MKIsDwmCompositionEnabled() ? 8 : 0);
}

HINSTANCE AddInUpdaterHost::GetModuleInstance()
{
    return m_addIn.GetModuleInstance();
}

MKString AddInUpdaterHost::GetInstallationFolder()
{
    return m_addIn.GetModuleFolder();
}

bool AddInUpdaterHost::GetAutoCheckUpdates()
{
    return m_addIn.ReadAutoCheckUpdates();
}

int AddInUpdaterHost::GetAutoInstallUpdates()
{
    ProductSettings* settings = m_addIn.GetUserSettings();
    if (!settings)
        return -1;
    EnterModuleLock();
    FlagSetting setting = settings->GetAutoInstallUpdates();
    LeaveModuleLock();
    return setting.present ? (setting.value ? 1 : 0) : -1;
}

int32_t AddInUpdaterHost::GetUpdateFrequency()
{
    Preferences* preferences = m_addIn.GetPreferences();
    return preferences ? preferences->GetUpdateFrequency() : DefaultUpdateFrequency(SystemUpdateClock());
}

bool AddInUpdaterHost::MakeCheckFacts(UpdateCheckFacts& facts)
{
    facts = UpdateCheckFacts();
    if (Preferences* preferences = m_addIn.GetPreferences())
        facts.installationGuid = preferences->GetInstallationGuid().FormatUpperCompact();
    facts.mbrid = m_addIn.GetUpdateCheckValue();
    OfficeInfo* office = m_addIn.GetOfficeInfo();
    if (office && office->GetProductCode() != 0) {
        facts.officeVersionKnown = true;
        facts.officeVersion = office->GetVersion().major;
    }
    if (EnvironmentInfo* environment = m_addIn.GetEnvironmentInfo()) {
        // The user-interface language.
        if (environment->officeLanguages[1].IsPresent()) {
            facts.officeLanguageKnown = true;
            facts.officeLanguage = environment->officeLanguages[1].GetValue();
        }
        if (environment->userLocale.IsPresent()) {
            facts.userLanguageKnown = true;
            facts.userLanguage = environment->userLocale.GetValue();
        }
    }
    facts.windowsVersion = MKGetOSVersionNumber();
    facts.usage = UsageOf(m_addIn.GetUsageStore(), m_addIn.GetUserSettings());
    facts.frequency = GetUpdateFrequency();
    return true;
}

MKString AddInUpdaterHost::GetUpdateServiceUrl()
{
    ProductSettings* machine = m_addIn.GetMachineSettings();
    MKString url = machine ? machine->GetUpdateService() : MKString();
    return url.IsEmpty() ? MKString(kUpdateServiceUrl) : url;
}

void AddInUpdaterHost::StopSlideShowSession()
{
    m_addIn.StopSlideShowSession();
}

void AddInUpdaterHost::ShowUpdateError(const MKString& text)
{
    ShowErrorBox(text.GetText());
}

void AddInUpdaterHost::SetInstalledVersion(const MKVersion&)
{
    // The plug-in manager reads the installed version from "plugins.dat",
    // which the installation rewrote together with the files.
}

void AddInUpdaterHost::KernelIsReady()
{
    AddInCore* core = m_addIn.GetCore();
    if (KernelPlugin* kernel = core ? core->GetFirstPlugin() : nullptr)
        kernel->IsReady();
}

void AddInUpdaterHost::KernelShutdown()
{
    AddInCore* core = m_addIn.GetCore();
    if (KernelPlugin* kernel = core ? core->GetFirstPlugin() : nullptr)
        kernel->Shutdown();
}

bool AddInUpdaterHost::IsMainAddInMachineWide()
{
    // Registrations change only with an installation, which ends the process.
    static const bool s_machineWide = OfficeAddInKeys::IsRegistered(kOfficePowerPoint, kMainAddInProgId, true);
    return s_machineWide;
}

bool AddInUpdaterHost::HasComAddIns()
{
    MKComHolder<Office::COMAddIns> addIns;
    return m_addIn.GetComAddIns(addIns);
}

bool AddInUpdaterHost::RegisterUpdateAddIn()
{
    return OfficeAddInKeys::Write(kOfficePowerPoint, kUpdateAddInProgId, L"Vistello Updater",
                                  L"Vistello Updater Add-In", 3, kScopeCurrentUser);
}

void AddInUpdaterHost::UnregisterUpdateAddIn()
{
    OfficeAddInKeys::Remove(kOfficePowerPoint, kUpdateAddInProgId, kScopeCurrentUser);
}

bool AddInUpdaterHost::RefreshComAddIns()
{
    MKComHolder<Office::COMAddIns> addIns;
    return m_addIn.GetComAddIns(addIns) && SUCCEEDED(addIns->Update());
}

bool AddInUpdaterHost::QueryUpdateAddIn(bool* found, bool* connected)
{
    *found = false;
    *connected = false;
    MKComHolder<Office::COMAddIns> addIns;
    if (!m_addIn.GetComAddIns(addIns))
        return false;
    MKComHolder<Office::COMAddIn> updater;
    if (!FindUpdateAddIn(addIns.Get(), updater))
        return true;
    *found = true;
    VARIANT_BOOL connect = VARIANT_FALSE;
    if (FAILED(updater->get_Connect(&connect)))
        return false;
    *connected = connect == VARIANT_TRUE;
    return true;
}

bool AddInUpdaterHost::SetUpdateAddInConnect(bool connect)
{
    MKComHolder<Office::COMAddIns> addIns;
    MKComHolder<Office::COMAddIn> updater;
    return m_addIn.GetComAddIns(addIns) && FindUpdateAddIn(addIns.Get(), updater) &&
           SUCCEEDED(updater->put_Connect(connect ? VARIANT_TRUE : VARIANT_FALSE));
}

void AddInUpdaterHost::DisableAutoCheck()
{
    ProductSettings* settings = m_addIn.GetUserSettings();
    if (!settings)
        return;
    EnterModuleLock();
    if (::GetAutoCheckUpdates(*settings))
        SetAutoCheckUpdates(*settings, false);
    LeaveModuleLock();
}

void AddInUpdaterHost::SetUpdateFrequency(int32_t code)
{
    Preferences* preferences = m_addIn.GetPreferences();
    ProductSettings* settings = m_addIn.GetUserSettings();
    if (!preferences || !settings)
        return;
    // Both run under the record's own lock.
    preferences->SetUpdateFrequency(code);
    preferences->Save(*settings, false);
}
