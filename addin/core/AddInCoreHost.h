#pragma once
#include "base/MKString.h"
#include "hostapi/PowerPointInterfaces.h"
#include "base/MKVersion.h"

#include <windows.h>
#include <oaidl.h>
#include <stdint.h>

class InstalledPluginList;
class PlayerVersionCache;
class KernelPlugin;
class PackResourceHandlerList;
class Plugin;
class SlideVisitLog;
struct EnvironmentInfo;

// What the plug-in manager needs of the add-in that owns it.
class AddInCoreHost {
public:
    // The add-in library's module (windows of its objects are registered in
    // it).
    virtual HINSTANCE GetModuleInstance() = 0;
    // The add-in's error box (the start's messages).
    virtual void ShowErrorBox(const wchar_t* text) = 0;
    // The installed plug-in list of the add-in's folder, not yet loaded;
    // null when it cannot be made.
    virtual InstalledPluginList* MakeInstalledPluginList() = 0;
    // PowerPoint's version as Office detection gives it; 0.0.-1.-1 unknown.
    virtual MKVersion GetOfficeVersion() = 0;
    // Null when the add-in has none.
    virtual EnvironmentInfo* GetEnvironment() = 0;
    // The process's cache of installed player versions; null outside the
    // module's life.
    virtual PlayerVersionCache* GetPlayerVersions() = 0;
    // Ends every running slide show and stops its session (the kernel's
    // request).
    virtual void StopSlideShowSession() = 0;
    // Asks Office to query the ribbon again: every control for an empty id.
    virtual void InvalidateRibbon(const MKString& controlId) = 0;
    // Declares a usage id to the usage counters, and counts one use of it.
    virtual void AddFeature(uint32_t usageId) = 0;
    virtual void CountUse(uint32_t usageId) = 0;
    // The automation objects handed to the .NET side, each with one
    // reference; null when they cannot be made.
    virtual IDispatch* MakeKernelHostObject() = 0;
    virtual IDispatch* MakeCallbackObject(KernelPlugin* kernel) = 0;
    virtual IUnknown* MakeApiObject(Plugin* plugin) = 0;
    // Clears the link of an object from MakeCallbackObject or MakeApiObject
    // to its plug-in.
    virtual void DetachPluginObject(IUnknown* object) = 0;
    // The handlers of the node hosts plug-ins make; null when the add-in has
    // none.
    virtual PackResourceHandlerList* GetPackResources() = 0;
    // The log of the running show of that window; null when it has none.
    virtual const SlideVisitLog* FindShowEventLog(PowerPoint::SlideShowWindow* window) = 0;

protected:
    ~AddInCoreHost() = default;
};
