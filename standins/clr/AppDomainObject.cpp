#include "standins/clr/AppDomainObject.h"

#include "standins/clr/AssemblyObject.h"
#include "standins/clr/ClrLog.h"

#include <stdio.h>

namespace standin_clr {

namespace {
// The runtime's BadImageFormatException.
constexpr HRESULT kBadImage = static_cast<HRESULT>(0x8007000B);
const char kCoreLibrary[] =
    "VistelloStandInAssembly\nFullName=mscorlib, Version=2.0.0.0, Culture=neutral, PublicKeyToken=b77a5c561934e089\n";
}  // namespace

AppDomainObject::AppDomainObject(std::wstring name) : m_name(std::move(name))
{
    if (AssemblyObject* core = LoadBytes(reinterpret_cast<const unsigned char*>(kCoreLibrary), sizeof kCoreLibrary - 1))
        core->Release();
    std::wstring list = ClrLog::Setting(L"VISTELLO_CLR_PRELOAD");
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find(L';', start);
        if (end == std::wstring::npos)
            end = list.size();
        if (end > start)
            Preload(list.substr(start, end - start));
        start = end + 1;
    }
}

AppDomainObject::~AppDomainObject()
{
    for (AssemblyObject* assembly : m_assemblies)
        assembly->Release();
}

void AppDomainObject::Preload(const std::wstring& path)
{
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return;
    std::string bytes;
    char buffer[4096];
    size_t read;
    while ((read = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, read);
    fclose(file);
    if (AssemblyObject* assembly = LoadBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()))
        assembly->Release();
}

AssemblyObject* AppDomainObject::Find(const std::wstring& fullName) const
{
    for (AssemblyObject* assembly : m_assemblies) {
        if (assembly->Image().fullName == fullName)
            return assembly;
    }
    return nullptr;
}

AssemblyObject* AppDomainObject::LoadBytes(const unsigned char* bytes, size_t size)
{
    AssemblyImage image;
    if (!image.Parse(bytes, size))
        return nullptr;
    // Loading an assembly that is loaded already gives the loaded one.
    if (AssemblyObject* loaded = Find(image.fullName)) {
        loaded->AddRef();
        return loaded;
    }
    AssemblyObject* assembly = new AssemblyObject(this, std::move(image));
    m_assemblies.push_back(assembly);
    assembly->AddRef();
    return assembly;
}

HRESULT AppDomainObject::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != Clr::kIidAppDomain)
        return E_NOINTERFACE;
    *out = static_cast<Clr::_AppDomain*>(this);
    AddRef();
    return S_OK;
}

ULONG AppDomainObject::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG AppDomainObject::Release()
{
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT AppDomainObject::Load(SAFEARRAY* rawAssembly, Clr::_Assembly** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    VARTYPE type = VT_EMPTY;
    if (!rawAssembly || SafeArrayGetDim(rawAssembly) != 1 || FAILED(SafeArrayGetVartype(rawAssembly, &type)) ||
        type != VT_UI1)
        return E_INVALIDARG;
    LONG lower = 0;
    LONG upper = -1;
    SafeArrayGetLBound(rawAssembly, 1, &lower);
    SafeArrayGetUBound(rawAssembly, 1, &upper);
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(rawAssembly, &data)))
        return E_INVALIDARG;
    AssemblyObject* assembly =
        LoadBytes(static_cast<const unsigned char*>(data), static_cast<size_t>(upper - lower + 1));
    SafeArrayUnaccessData(rawAssembly);
    if (!assembly)
        return kBadImage;
    ClrLog::Note(L"Domain.Loaded(" + assembly->Image().fullName + L")");
    *out = assembly;
    return S_OK;
}

HRESULT AppDomainObject::Load_3(SAFEARRAY* rawAssembly, Clr::_Assembly** out)
{
    HRESULT hr = ClrLog::Enter(L"Domain.Load_3");
    return FAILED(hr) ? hr : Load(rawAssembly, out);
}

HRESULT AppDomainObject::Load_4(SAFEARRAY* rawAssembly, SAFEARRAY* rawSymbolStore, Clr::_Assembly** out)
{
    LONG upper = -1;
    if (rawSymbolStore)
        SafeArrayGetUBound(rawSymbolStore, 1, &upper);
    HRESULT hr = ClrLog::Enter(L"Domain.Load_4 symbols " + std::to_wstring(upper + 1));
    return FAILED(hr) ? hr : Load(rawAssembly, out);
}

HRESULT AppDomainObject::GetAssemblies(SAFEARRAY** assemblies)
{
    HRESULT hr = ClrLog::Enter(L"Domain.GetAssemblies");
    if (FAILED(hr))
        return hr;
    if (!assemblies)
        return E_POINTER;
    *assemblies = SafeArrayCreateVector(VT_UNKNOWN, 0, static_cast<ULONG>(m_assemblies.size()));
    if (!*assemblies)
        return E_OUTOFMEMORY;
    for (LONG i = 0; i < static_cast<LONG>(m_assemblies.size()); ++i)
        SafeArrayPutElement(*assemblies, &i, static_cast<IUnknown*>(m_assemblies[static_cast<size_t>(i)]));
    return S_OK;
}

HRESULT AppDomainObject::get_FriendlyName(BSTR* name)
{
    if (!name)
        return E_POINTER;
    *name = SysAllocString(m_name.c_str());
    return S_OK;
}

}  // namespace standin_clr
