#pragma once
#include "addin/update/UpdateChecker.h"
#include "addin/update/UpdaterHost.h"

class AddIn;

// What the updater link needs of the add-in: its settings, preferences,
// usage counters and Office facts, the kernel plug-in, the error box and
// PowerPoint's COM add-in entry of the update add-in. Also where a check's
// reply changes the settings, which happens on the checker's thread: the
// product settings are written under the module lock there. Owned by the
// add-in, which outlives it.
class AddInUpdaterHost final : public UpdaterHost, public UpdateCheckSettings {
public:
    explicit AddInUpdaterHost(AddIn& addIn) : m_addIn(addIn) {}
    AddInUpdaterHost(const AddInUpdaterHost&) = delete;
    AddInUpdaterHost& operator=(const AddInUpdaterHost&) = delete;

    // UpdaterHost.
    HINSTANCE GetModuleInstance() override;
    MKString GetInstallationFolder() override;
    bool GetAutoCheckUpdates() override;
    int GetAutoInstallUpdates() override;
    int32_t GetUpdateFrequency() override;
    bool MakeCheckFacts(UpdateCheckFacts& facts) override;
    UpdateCheckSettings* GetCheckSettings() override { return this; }
    MKString GetUpdateServiceUrl() override;
    void StopSlideShowSession() override;
    void ShowUpdateError(const MKString& text) override;
    void SetInstalledVersion(const MKVersion& version) override;
    void KernelIsReady() override;
    void KernelShutdown() override;
    bool IsMainAddInMachineWide() override;
    bool HasComAddIns() override;
    bool RegisterUpdateAddIn() override;
    void UnregisterUpdateAddIn() override;
    bool RefreshComAddIns() override;
    bool QueryUpdateAddIn(bool* found, bool* connected) override;
    bool SetUpdateAddInConnect(bool connect) override;

    // UpdateCheckSettings (the checker's thread).
    void DisableAutoCheck() override;
    void SetUpdateFrequency(int32_t code) override;

private:
    AddIn& m_addIn;
};

// The system check whose number the usage string carries: bit 0 Windows
// Vista or later, bit 1 a 32-bit process on 64-bit Windows, bit 2 the user is
// an administrator, bit 3 desktop composition is on.
int32_t UpdateSystemCheck();
