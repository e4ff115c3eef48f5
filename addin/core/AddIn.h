#pragma once
#include <windows.h>
#include <unknwn.h>

#include "addin/core/ConnectionSteps.h"
#include "addin/core/EventDepth.h"
#include "addin/core/ShowWindowListener.h"
#include "addin/effects/SlideShowHost.h"
#include "hostapi/PowerPointInterfaces.h"
#include "base/MKComHolder.h"
#include "base/MKString.h"

class AddInClassFactory;
class AddInConnection;
class AddInCore;
class AddInCoreServices;
class AddInUpdaterHost;
class OfficeInfo;
class PackResourceHandlerList;
class Preferences;
class PlayerVersionCache;
class ProductSettings;
class RibbonExtension;
class SlideShowController;
class UpdaterLink;
class UsageStore;
struct EnvironmentInfo;

// The object the class factory makes for PowerPoint, one per connected
// PowerPoint instance. It owns the add-in's long-lived parts (settings, the
// environment record, the Office connection), answers COM for the Office
// interfaces through its sub-objects, which share its reference count, and
// offers the accessors through which the other parts reach PowerPoint. Lives
// from CreateInstance to the last Release; holds one reference on its factory.
// Registered with the shell hook for the whole of its life, it tells the hook
// which new show windows are its own, and it is the slide-show machinery's
// host. Used on PowerPoint's user-interface thread only.
class AddIn : public IUnknown, public ShowWindowListener, public ConnectionSteps,
              public SlideShowHost {
public:
    // Count 1, owned by the caller. A null outer makes the add-in its own
    // controlling object.
    AddIn(AddInClassFactory* factory, IUnknown* outer);
    AddIn(const AddIn&) = delete;
    AddIn& operator=(const AddIn&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HINSTANCE GetModuleInstance() const override;
    const MKString& GetModulePath() const { return m_modulePath; }
    const MKString& GetModuleFolder() const { return m_moduleFolder; }
    bool StartedToShow() const override { return m_startedToShow; }
    // No reference taken; null when it could not be made.
    EnvironmentInfo* GetEnvironmentInfo() const { return m_environment; }
    // Held by the connection; null without one.
    OfficeInfo* GetOfficeInfo() const;
    // The update engine's per-user records, owned by the add-in; null when
    // they could not be made.
    Preferences* GetPreferences() const { return m_preferences; }
    UsageStore* GetUsageStore() const { return m_usage; }
    // The per-user product settings; null when they could not be made.
    ProductSettings* GetUserSettings() const { return m_userSettings; }
    // The user's "check for updates" choice, read under the module lock (the
    // update checker's thread reads the settings too); on without settings.
    bool ReadAutoCheckUpdates() const;
    // The per-machine product settings (read-only); null when not made.
    ProductSettings* GetMachineSettings() const { return m_machineSettings; }
    // The add-in's side of the update cycle; null when it could not be made.
    UpdaterLink* GetUpdaterLink() const { return m_updater; }
    // Stops a running automatic update check and waits for its end.
    void StopUpdateCheck();
    // The plug-in manager; null when it could not be made.
    AddInCore* GetCore() const { return m_core; }
    // The handlers of the node hosts plug-ins make; null when the list could
    // not be made.
    PackResourceHandlerList* GetPackResources() const { return m_packResources; }
    // False until a start of the plug-in manager failed.
    bool CoreFailed() const { return m_coreFailed; }
    // The value the next update check sends (the kernel sets it).
    int32_t GetUpdateCheckValue() const { return m_updateCheckValue; }
    void SetUpdateCheckValue(int32_t value) { m_updateCheckValue = value; }
    // Stores the preferences when they changed (always when forced); false
    // without preferences or when they could not be stored.
    bool SavePreferences(bool force);
    // The process's cache of installed player versions, owned by the module
    // (from its start to its stop); null outside that time.
    PlayerVersionCache* GetPlayerVersionCache() const;
    // The address of FillDrawingTables (DrawingTables.h), handed to plug-ins
    // so that they draw through the add-in's drawing layer.
    FARPROC GetDrawingTablesFiller() const;

    // The accessors below answer false (out empty) or E_FAIL when PowerPoint
    // or the connection is missing or a call fails.
    bool GetApplication(MKComHolder<PowerPoint::Application>& out) const;
    bool GetComAddIns(MKComHolder<Office::COMAddIns>& out) const;
    // Application.HWND when it names an existing window; else E_FAIL and 0.
    HRESULT GetMainWindow(HWND* window) const override;
    // The COM add-in whose ProgId equals progId exactly.
    bool FindComAddIn(const wchar_t* progId, MKComHolder<Office::COMAddIn>& out) const;
    // The running show whose window this is.
    bool FindSlideShowWindow(HWND window, MKComHolder<PowerPoint::SlideShowWindow>& out) const;
    // The presentation whose running show is this window (the same object or
    // the same HWND); presentations without a show are passed over.
    bool FindPresentationForShowWindow(PowerPoint::SlideShowWindow* showWindow,
                                       MKComHolder<PowerPoint::Presentation>& out) const override;

    // Asks Office to query the ribbon's controls again: every control for an
    // empty id, else the one control. Nothing before Office loaded the ribbon.
    void InvalidateRibbon(const MKString& controlId);
    // The depth of application events being forwarded (EventDepth.h).
    int GetEventDepth() const override { return m_eventDepth.Get(); }

    // Looks the window up among this PowerPoint's running shows and gives
    // it a slide-show session.
    void OnShowWindowCreated(HWND window) override;

    // Start-up reports the last update's result (or counts one ordinary
    // start), starts the plug-in manager, stores changed preferences and
    // schedules a downloaded update or the automatic check; true when the
    // manager started. Shut-down stops the check, stores the usage counts and
    // stops the manager.
    bool RunStartup() override;
    void Shutdown() override;

    // Held by the connection; null without one.
    SlideShowController* GetSlideShowController() const;
    // Ends every running show and stops its session.
    void StopSlideShowSession();

    int GetShowOfficeCode() const override;
    bool GetDetectedOfficeCode(int* code) const override;
    // The kernel's message call with both texts while the kernel runs;
    // otherwise a message box captioned "Vistello" with the text alone.
    void ShowError(const wchar_t* title, const wchar_t* text) override;
    // The plug-in manager's table while it runs.
    EffectTypeLookup* GetEffectTypes() override;
    // The kernel plug-in's slide object.
    IUnknown* CreateKernelSlide(IUnknown* showWindow, IUnknown* slide, IDispatch* nodeHost) override;
    bool ConfirmEffect(int32_t typeCode, BSTR effectId) override;
    void ForwardPresentationOpen(PowerPoint::Presentation* presentation) override;

private:
    virtual ~AddIn();

    // Made in this order: the shell-hook registration, the environment
    // record, the module path, the machine and user settings, the preferences
    // and the usage store, the updater link, the connection, the ribbon, the
    // plug-in manager (which owns the ribbon's model) with the services it is
    // given.
    volatile LONG m_refs = 1;
    AddInClassFactory* m_factory;
    IUnknown* m_outer = nullptr;
    MKString m_modulePath;
    MKString m_moduleFolder;
    bool m_startedToShow = false;
    bool m_coreFailed = false;
    int32_t m_updateCheckValue = 0;
    ProductSettings* m_machineSettings = nullptr;
    ProductSettings* m_userSettings = nullptr;
    Preferences* m_preferences = nullptr;
    UsageStore* m_usage = nullptr;
    AddInUpdaterHost* m_updaterHost = nullptr;
    UpdaterLink* m_updater = nullptr;
    AddInConnection* m_connection = nullptr;
    EnvironmentInfo* m_environment = nullptr;
    RibbonExtension* m_ribbon = nullptr;
    AddInCoreServices* m_coreServices = nullptr;
    AddInCore* m_core = nullptr;
    // Made after the plug-in manager whose plug-ins it looks up, deleted
    // first.
    PackResourceHandlerList* m_packResources = nullptr;
    EventDepth m_eventDepth;
};

// A message box without owner, captioned "Vistello", with the error icon.
void ShowErrorBox(const wchar_t* text);
// Replaces the box for tests that must not block on it; null restores the
// message box. Answers the one replaced.
using ErrorBoxFunction = void (*)(const wchar_t* text);
ErrorBoxFunction SetErrorBoxFunction(ErrorBoxFunction function);
