#include "PluginTestSupport.h"

#include "base/MKGuid.h"

#include <objbase.h>

namespace {

// An object that only counts its references.
class ApiStandIn final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = iid == IID_IUnknown ? this : nullptr;
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&m_refs);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

private:
    volatile LONG m_refs = 1;
};

}  // namespace

GUID MakeGuid(const wchar_t* text)
{
    MKGuid guid;
    guid.Parse(text);
    return guid.Get();
}

void MemoryPackage::AddAssembly(const std::wstring& displayName, const std::string& bytes, bool isMain)
{
    PackageAssembly assembly;
    assembly.displayName = displayName.c_str();
    assembly.entryName = (displayName + L".dll").c_str();
    assembly.isMain = isMain;
    m_assemblies.push_back(assembly);
    m_entries[displayName + L".dll"] = bytes;
}

void MemoryPackage::AddType(const GUID& type, const wchar_t* name, int32_t flags)
{
    m_types.push_back({type, name, flags});
}

bool MemoryPackage::ListAssemblies(MKTOArray<PackageAssembly>& out) const
{
    if (m_broken)
        return false;
    for (const PackageAssembly& assembly : m_assemblies)
        out.Add(assembly);
    return true;
}

bool MemoryPackage::ReadEntry(const MKString& entryName, MKTArray<uint8_t>& out) const
{
    auto found = m_entries.find(entryName.GetText());
    if (found == m_entries.end())
        return false;
    return out.Assign(reinterpret_cast<const uint8_t*>(found->second.data()), static_cast<int>(found->second.size()));
}

bool MemoryPackage::FindTypeByGuid(const GUID& type, PackageTypeInfo& out) const
{
    for (const auto& known : m_types) {
        if (IsEqualGUID(known.guid, type)) {
            out.name = known.name.c_str();
            out.description = L"Effect type for tests";
            out.version = MKVersion(1, 2, 3, 4);
            out.flags = known.flags;
            return true;
        }
    }
    return false;
}

IUnknown* TestPluginHost::MakeApiObject(Plugin*)
{
    return new ApiStandIn;
}
