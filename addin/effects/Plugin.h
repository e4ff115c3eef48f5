#pragma once
#include "addin/effects/ContentRegistry.h"
#include "addin/effects/ControlHandlerTable.h"
#include "base/MKComHolder.h"
#include "base/MKString.h"
#include "base/MKTArray.h"
#include "hostapi/PluginInterfaces.h"

#include <windows.h>

class ClrObject;
class EffectDataRecord;
class PluginHost;
class PluginPackage;

// One plug-in: its package, its .NET object and main interface, its identity,
// the effect types, content and ribbon handlers it registered, and the API
// object handed to it. Constructed -> loaded -> initialised -> unloaded;
// every failure on the way unloads it at once.
class Plugin {
public:
    // Neither the host nor the package is owned; both outlive the plug-in.
    Plugin(PluginHost* host, const PluginPackage* package);
    virtual ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // Loads the package's assemblies through the host's loader and creates
    // the plug-in's object; false (unloaded) on any failure.
    bool LoadAssemblies();
    // Loads, reads the plug-in's GUID and name, starts the kernel when this
    // is the kernel, and hands the plug-in its API object.
    virtual bool Initialize();
    // The plug-in's answer whether it is loaded: its fifth method must answer
    // S_OK and an object; otherwise the plug-in unloads itself.
    bool QueryLoaded();
    virtual void Unload();

    // 0 without a package type record, for the usage ids 1 and 2, for a type
    // another plug-in registered or whose usage id is taken; -1 for a type
    // this plug-in registered already; else the new type's index (the record
    // is handed out without a reference of its own).
    int RegisterEffectType(const GUID& type, EffectDataRecord** record);
    // The package entry's bytes in CoTaskMem memory the caller frees.
    bool ReadPackageItem(const MKString& name, void** bytes, int* size) const;

    // The plug-in's effect object for a shape of one of its types, with one
    // reference; null when the call fails.
    IUnknown* CreateShapeEffect(IUnknown* shape, const EffectDataRecord& type);
    // The plug-in's content for an effect object, with one reference; null
    // for a null input or when the call fails.
    IUnknown* CreateEffectContent(IUnknown* effect, int32_t argument);
    // Tells the plug-in that a slide show ended with an error tied to the
    // type; nothing once the plug-in is unloaded.
    void ReportTypeFailure(const EffectDataRecord& type);

    // A call of the plug-in API into an effect type: the value, the type's
    // index and the text, then the further values (up to three).
    struct TypeCall {
        int32_t value = 0;
        int index = 0;
        MKString text;
        int32_t extra[3] = {0, 0, 0};
    };
    // Answered by name ("CallTypeMethod", "CallTypeMethodWithData",
    // "QueryTypeData", "NotifyType") by the .NET object of the plug-in that
    // registered the type. E_FAIL for an index outside the core's table, a
    // type unregistered since, one whose package record has no flags, or a
    // plug-in no longer loaded; otherwise the call's own answer.
    HRESULT CallTypeMethod(const TypeCall& call, int32_t* result);
    HRESULT CallTypeMethodWithData(const TypeCall& call);
    // The interface the type answers (one reference), or null.
    HRESULT QueryTypeData(const TypeCall& call, IUnknown** data);
    HRESULT NotifyType(const TypeCall& call);

    PluginHost* GetHost() const { return m_host; }
    const PluginPackage* GetPackage() const { return m_package; }
    const GUID& GetGuid() const { return m_guid; }
    const MKString& GetGuidText() const { return m_guidText; }
    const MKString& GetName() const { return m_name; }
    bool IsLoaded() const { return m_plugin.Get() != nullptr; }
    IVistelloPlugin* GetInterface() const { return m_plugin.Get(); }
    ClrObject* GetObject() const { return m_object; }
    ContentRegistry& GetContent() { return m_content; }
    ControlHandlerTable& GetControlHandlers() { return m_handlers; }
    int GetEffectTypeCount() const { return m_types.GetCount(); }

private:
    // The type's .NET object for a call into the type; null when refused.
    ClrObject* TypeObject(int index) const;
    // Calls the method with the call's value, index and text followed by
    // `extra` further values.
    HRESULT InvokeTypeMethod(const wchar_t* name, const TypeCall& call, int extra, VARIANT* result);

    PluginHost* m_host;
    const PluginPackage* m_package;
    ClrObject* m_object = nullptr;
    MKComHolder<IVistelloPlugin> m_plugin;
    IUnknown* m_api = nullptr;
    GUID m_guid = {};
    MKString m_guidText;
    MKString m_name;
    ContentRegistry m_content;
    ControlHandlerTable m_handlers;
    MKTArray<EffectDataRecord*> m_types;
};
