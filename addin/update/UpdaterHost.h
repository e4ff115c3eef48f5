#pragma once
#include "base/MKString.h"
#include "base/MKVersion.h"
#include <stdint.h>
#include <windows.h>

struct UpdateCheckFacts;
class UpdateCheckSettings;

// What the updater link needs of the add-in: its settings, the facts a check
// sends, the kernel plug-in, messages, and PowerPoint's COM add-in entry of
// the update add-in "VistelloUpdater.AddIn". Called on PowerPoint's
// user-interface thread.
class UpdaterHost {
public:
    virtual HINSTANCE GetModuleInstance() = 0;
    // The folder of the add-in library.
    virtual MKString GetInstallationFolder() = 0;

    // AutoCheckUpdates; true when unset or unreadable.
    virtual bool GetAutoCheckUpdates() = 0;
    // AutoInstallUpdates: -1 unset or unreadable, else 0 or 1.
    virtual int GetAutoInstallUpdates() = 0;
    // The preferences' update frequency code.
    virtual int32_t GetUpdateFrequency() = 0;
    // Gathers what a check tells the update service; false when it cannot.
    virtual bool MakeCheckFacts(UpdateCheckFacts& facts) = 0;
    // Where a check's reply changes the settings; may be null.
    virtual UpdateCheckSettings* GetCheckSettings() = 0;
    // The update service's address ("scheme://host[:port]").
    virtual MKString GetUpdateServiceUrl() = 0;

    virtual void StopSlideShowSession() = 0;
    // A message box without owner, the product name as caption, error icon.
    virtual void ShowUpdateError(const MKString& text) = 0;
    // The installed version the add-in core reports from now on.
    virtual void SetInstalledVersion(const MKVersion& version) = 0;
    // The kernel plug-in's IsReady and Shutdown, when there is one.
    virtual void KernelIsReady() = 0;
    virtual void KernelShutdown() = 0;
    // "Vistello.AddIn" is registered for all users of PowerPoint.
    virtual bool IsMainAddInMachineWide() = 0;

    // The update add-in's COM add-in entry. False from each when PowerPoint's
    // COMAddIns cannot be reached or the call fails.
    virtual bool HasComAddIns() = 0;
    // The per-user Office add-in entry ("Vistello Updater").
    virtual bool RegisterUpdateAddIn() = 0;
    virtual void UnregisterUpdateAddIn() = 0;
    // COMAddIns.Update.
    virtual bool RefreshComAddIns() = 0;
    // *found: COMAddIns holds "VistelloUpdater.AddIn"; *connected its Connect.
    virtual bool QueryUpdateAddIn(bool* found, bool* connected) = 0;
    virtual bool SetUpdateAddInConnect(bool connect) = 0;

protected:
    ~UpdaterHost() = default;
};
