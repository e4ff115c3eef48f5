#pragma once
#include "addin/effects/ContentRegistry.h"
#include "addin/effects/ControlHandlerTable.h"
#include "base/MKComHolder.h"
#include "base/MKString.h"
#include "base/MKTArray.h"
#include "hostapi/PluginInterfaces.h"
#include "hostapi/PowerPointInterfaces.h"

#include <windows.h>

class ClrObject;
class EffectDataRecord;
class MKCoTaskMemBuffer;
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

    // Loads the package's assemblies (without a package, the assembly file
    // at the assembly path) through the host's loader and creates the
    // plug-in's object; false (unloaded) on any failure.
    bool LoadAssemblies();
    // Where a plug-in without a package is loaded from.
    void SetAssemblyPath(const MKString& path) { m_assemblyPath = path; }
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
    // The package entry's bytes, extracted whole; false without a package
    // or entry, or when the entry does not read back intact.
    bool ReadPackageEntry(const MKString& name, MKTArray<uint8_t>& out) const;
    // The same in CoTaskMem memory the caller frees.
    bool ReadPackageItem(const MKString& name, void** bytes, int* size) const;

    // The data an effect type keeps under a name in a shape's tags, in one
    // tag (single) or in a header and chunks. The type is given by its index
    // in the core's table (from 1), of any plug-in. Each call answers E_FAIL
    // for an index that names no type, E_POINTER for a null shape,
    // E_NOINTERFACE for an object that is no shape and E_INVALIDARG when the
    // shape's tags cannot be read.
    // The total length the chunked form's header states, -1 without one.
    HRESULT GetShapeDataSize(int typeIndex, IUnknown* shape, const MKString& name, int* size);
    // Replaces the data; a negative length deletes it.
    HRESULT WriteShapeData(int typeIndex, IUnknown* shape, const MKString& name, const uint8_t* bytes, int length,
                           bool single);
    // S_OK with the data in task memory the caller takes over; S_FALSE and
    // nothing when the chunked form has no valid header.
    HRESULT ReadShapeData(int typeIndex, IUnknown* shape, const MKString& name, bool single, MKCoTaskMemBuffer& data,
                          int* length);
    HRESULT DeleteShapeData(int typeIndex, IUnknown* shape, const MKString& name, bool single);

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
    // The plug-in's object made from the package's entries or the assembly
    // file (one reference); null, unloaded where a load failed, otherwise.
    IDispatch* CreateFromPackage(IPPTPluginLoader* loader);
    IDispatch* CreateFromAssemblyPath(IPPTPluginLoader* loader);
    // The tag prefix of the type of that index and the shape's tags.
    HRESULT ShapeTags(int typeIndex, IUnknown* shape, MKString& prefix, MKComHolder<PowerPoint::Tags>& tags) const;
    // The type's .NET object for a call into the type; null when refused.
    ClrObject* TypeObject(int index) const;
    // Calls the method with the call's value, index and text followed by
    // `extra` further values.
    HRESULT InvokeTypeMethod(const wchar_t* name, const TypeCall& call, int extra, VARIANT* result);

    PluginHost* m_host;
    const PluginPackage* m_package;
    MKString m_assemblyPath;
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
