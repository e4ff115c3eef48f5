#pragma once
#include "addin/effects/EffectDataRecord.h"
#include "addin/effects/EffectTypeTable.h"
#include "addin/effects/PluginHost.h"
#include "addin/effects/PluginPackage.h"
#include "base/MKComHolder.h"
#include "hostapi/PluginInterfaces.h"

#include <map>
#include <string>
#include <vector>

// A module package held in memory: named entries and effect type records.
class MemoryPackage final : public PluginPackage {
public:
    explicit MemoryPackage(const wchar_t* name) : m_name(name) {}

    void AddAssembly(const std::wstring& displayName, const std::string& bytes, bool isMain);
    void AddEntry(const std::wstring& name, const std::string& bytes) { m_entries[name] = bytes; }
    // Flags 0: the type takes no calls from other plug-ins.
    void AddType(const GUID& type, const wchar_t* name, int32_t flags = 1);
    // Entries cannot be listed.
    void BreakListing() { m_broken = true; }

    const MKString& GetName() const override { return m_name; }
    MKVersion GetVersion() const override { return MKVersion(1, 0, 0, 0); }
    bool ListAssemblies(MKTOArray<PackageAssembly>& out) const override;
    bool ReadEntry(const MKString& entryName, MKTArray<uint8_t>& out) const override;
    bool GetSymbolFile(const MKString&, MKString&) const override { return false; }
    bool FindTypeByGuid(const GUID& type, PackageTypeInfo& out) const override;

private:
    MKString m_name;
    bool m_broken = false;
    std::vector<PackageAssembly> m_assemblies;
    std::map<std::wstring, std::string> m_entries;
    struct Type {
        GUID guid;
        std::wstring name;
        int32_t flags;
    };
    std::vector<Type> m_types;
};

// The core's side for plug-ins under test: a table of effect types, the
// first plug-in made counts as the kernel, the API object a counted stand-in.
class TestPluginHost final : public PluginHost {
public:
    IPPTPluginLoader* GetLoader() override { return loader.Get(); }
    bool IsKernel(const Plugin* plugin) override { return plugin == kernel; }
    IUnknown* GetKernelHost() override { return nullptr; }
    void SetKernelEvents(KernelEventSink* sink) override { events.Assign(sink); }
    IUnknown* MakeApiObject(Plugin* plugin) override;
    void DetachApiObject(IUnknown*) override { ++detached; }
    int RegisterEffectType(EffectDataRecord* record) override { return types.Register(record); }
    void UnregisterEffectType(EffectDataRecord* record) override { types.Unregister(record); }
    EffectDataRecord* FindEffectTypeByContentType(const MKString& contentType) override
    {
        return types.FindByContentType(contentType);
    }
    EffectDataRecord* FindEffectTypeByUsageId(uint32_t usageId) override { return types.FindByUsageId(usageId); }
    EffectDataRecord* FindEffectTypeByIndex(int index) override { return types.GetAt(index); }

    MKComHolder<IPPTPluginLoader> loader;
    MKComHolder<KernelEventSink> events;
    EffectTypeTable types;
    const Plugin* kernel = nullptr;
    int detached = 0;
};

// A GUID from text.
GUID MakeGuid(const wchar_t* text);
