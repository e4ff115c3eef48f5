#include "addin/effects/Plugin.h"

#include "addin/effects/ClrObject.h"
#include "addin/effects/EffectDataRecord.h"
#include "addin/effects/PluginHost.h"
#include "addin/effects/PluginPackage.h"
#include "addin/effects/TagDataStore.h"
#include "base/MKGuid.h"

#include <new>
#include <string.h>

namespace {

// The entry's bytes as the byte array the loader takes; null on failure.
SAFEARRAY* ReadImage(const PluginPackage& package, const MKString& entryName)
{
    MKTArray<uint8_t> bytes;
    if (!package.ReadEntry(entryName, bytes))
        return nullptr;
    SAFEARRAY* image = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.GetCount()));
    void* data = nullptr;
    if (!image || FAILED(SafeArrayAccessData(image, &data))) {
        if (image)
            SafeArrayDestroy(image);
        return nullptr;
    }
    if (bytes.GetCount() > 0)
        memcpy(data, bytes.GetData(), static_cast<size_t>(bytes.GetCount()));
    SafeArrayUnaccessData(image);
    return image;
}

}  // namespace

Plugin::Plugin(PluginHost* host, const PluginPackage* package) : m_host(host), m_package(package)
{
    if (package)
        m_name = package->GetName();
}

Plugin::~Plugin()
{
    Unload();
}

bool Plugin::LoadAssemblies()
{
    IPPTPluginLoader* loader = m_host->GetLoader();
    if (!loader)
        return false;
    IDispatch* created = m_package ? CreateFromPackage(loader) : CreateFromAssemblyPath(loader);
    if (!created)
        return false;
    m_object = ClrObject::Create(created);
    created->Release();
    IVistelloPlugin* plugin = nullptr;
    if (!m_object || FAILED(m_object->QueryInterface(IID_IVistelloPlugin, reinterpret_cast<void**>(&plugin))) ||
        !plugin) {
        delete m_object;
        m_object = nullptr;
        return false;
    }
    m_plugin.Attach(plugin);
    return true;
}

IDispatch* Plugin::CreateFromAssemblyPath(IPPTPluginLoader* loader)
{
    if (m_assemblyPath.IsEmpty())
        return nullptr;
    BSTR path = m_assemblyPath.ToBstr();
    IUnknown* assembly = nullptr;
    if (!path || FAILED(loader->LoadAssemblyFile(path, &assembly)))
        assembly = nullptr;
    SysFreeString(path);
    IDispatch* created = nullptr;
    if (!assembly || FAILED(loader->CreatePluginObject(assembly, &created)))
        created = nullptr;
    if (assembly)
        assembly->Release();
    if (!created)
        Unload();
    return created;
}

IDispatch* Plugin::CreateFromPackage(IPPTPluginLoader* loader)
{
    MKTOArray<PackageAssembly> assemblies;
    if (!m_package->ListAssemblies(assemblies))
        return nullptr;
    IDispatch* created = nullptr;
    bool mainFound = false;
    for (int i = 0; i < assemblies.GetCount(); ++i) {
        const PackageAssembly& entry = assemblies[i];
        BSTR name = entry.displayName.ToBstr();
        IUnknown* assembly = nullptr;
        if (!name || FAILED(loader->FindAssembly(name, &assembly)))
            assembly = nullptr;
        SysFreeString(name);
        if (!assembly) {
            SAFEARRAY* image = ReadImage(*m_package, entry.entryName);
            HRESULT hr = image ? loader->LoadAssemblyBytes(image, &assembly) : E_FAIL;
            if (image)
                SafeArrayDestroy(image);
            if (FAILED(hr) || !assembly) {
                if (created)
                    created->Release();
                Unload();
                return nullptr;
            }
        }
        if (entry.isMain && !mainFound) {
            mainFound = true;
            if (FAILED(loader->CreatePluginObject(assembly, &created)))
                created = nullptr;
        }
        assembly->Release();
        if (entry.isMain && !created) {
            Unload();
            return nullptr;
        }
    }
    return created;
}

bool Plugin::Initialize()
{
    if (!LoadAssemblies())
        return false;
    BSTR guidText = nullptr;
    BSTR name = nullptr;
    bool identified = SUCCEEDED(m_plugin->GetGuid(&guidText)) && guidText;
    MKGuid guid;
    identified = identified && guid.Parse(guidText);
    SysFreeString(guidText);
    identified = identified && SUCCEEDED(m_plugin->GetName(&name));
    if (!identified) {
        SysFreeString(name);
        Unload();
        return false;
    }
    m_guid = guid.Get();
    m_guidText = guid.FormatLower();
    m_name.Assign(name ? name : L"", name ? static_cast<int>(SysStringLen(name)) : 0);
    SysFreeString(name);

    if (m_host->IsKernel(this)) {
        IUnknown* events = nullptr;
        KernelEventSink* sink = nullptr;
        HRESULT hr = m_plugin->StartKernel(m_host->GetKernelHost(), &events);
        if (hr == S_OK && events)
            events->QueryInterface(IID_KernelEventSink, reinterpret_cast<void**>(&sink));
        if (events)
            events->Release();
        if (!sink) {
            Unload();
            return false;
        }
        m_host->SetKernelEvents(sink);
        sink->Release();
    }

    m_api = m_host->MakeApiObject(this);
    // A plug-in loaded from its assembly file is named by its package-less
    // name (empty until the plug-in reported one).
    BSTR packageName = (m_package ? m_package->GetName() : MKString()).ToBstr();
    VARIANT_BOOL ok = VARIANT_FALSE;
    HRESULT hr = m_api ? m_plugin->Initialize(packageName, m_api, &ok) : E_FAIL;
    SysFreeString(packageName);
    if (FAILED(hr) || !ok) {
        Unload();
        return false;
    }
    return true;
}

bool Plugin::QueryLoaded()
{
    IUnknown* answer = nullptr;
    HRESULT hr = m_plugin ? m_plugin->QueryLoaded(&answer) : E_FAIL;
    if (answer)
        answer->Release();
    if (hr == S_OK && answer)
        return true;
    Unload();
    return false;
}

void Plugin::Unload()
{
    if (m_plugin) {
        m_plugin->Shutdown();
        m_plugin.Release();
    }
    for (int i = 0; i < m_types.GetCount(); ++i) {
        m_host->UnregisterEffectType(m_types[i]);
        m_types[i]->ForgetPlugin();
        m_types[i]->Release();
    }
    m_types.RemoveAll();
    m_content.Clear();
    m_handlers.Clear();
    delete m_object;
    m_object = nullptr;
    if (m_api) {
        m_host->DetachApiObject(m_api);
        m_api->Release();
        m_api = nullptr;
    }
}

int Plugin::RegisterEffectType(const GUID& type, EffectDataRecord** record)
{
    if (record)
        *record = nullptr;
    PackageTypeInfo info;
    if (!m_package || !m_package->FindTypeByGuid(type, info))
        return 0;
    uint32_t usageId = EffectDataRecord::UsageIdOf(type);
    // The usage counters keep ids 1 and 2 for themselves.
    if (usageId == 1 || usageId == 2)
        return 0;
    for (int i = 0; i < m_types.GetCount(); ++i) {
        if (IsEqualGUID(m_types[i]->GetTypeGuid(), type))
            return -1;
    }
    EffectDataRecord* made = new (std::nothrow) EffectDataRecord(this, type, info);
    if (!made)
        return 0;
    if (m_host->FindEffectTypeByContentType(made->GetContentType()) || m_host->FindEffectTypeByUsageId(usageId)) {
        made->Release();
        return 0;
    }
    int index = m_host->RegisterEffectType(made);
    if (index <= 0 || !m_types.Add(made)) {
        m_host->UnregisterEffectType(made);
        made->Release();
        return 0;
    }
    if (record)
        *record = made;
    return index;
}

bool Plugin::ReadPackageEntry(const MKString& name, MKTArray<uint8_t>& out) const
{
    out.RemoveAll();
    return m_package && m_package->ReadEntry(name, out);
}

bool Plugin::ReadPackageItem(const MKString& name, void** bytes, int* size) const
{
    if (bytes)
        *bytes = nullptr;
    if (size)
        *size = 0;
    MKTArray<uint8_t> data;
    if (!bytes || !size || !ReadPackageEntry(name, data))
        return false;
    void* copy = CoTaskMemAlloc(data.GetCount() > 0 ? static_cast<SIZE_T>(data.GetCount()) : 1);
    if (!copy)
        return false;
    if (data.GetCount() > 0)
        memcpy(copy, data.GetData(), static_cast<size_t>(data.GetCount()));
    *bytes = copy;
    *size = data.GetCount();
    return true;
}

HRESULT Plugin::ShapeTags(int typeIndex, IUnknown* shape, MKString& prefix,
                          MKComHolder<PowerPoint::Tags>& tags) const
{
    EffectDataRecord* type = typeIndex > 0 ? m_host->FindEffectTypeByIndex(typeIndex) : nullptr;
    if (!type)
        return E_FAIL;
    if (!shape)
        return E_POINTER;
    PowerPoint::Shape* queried = nullptr;
    if (FAILED(shape->QueryInterface(PowerPoint::IID_Shape, reinterpret_cast<void**>(&queried))) || !queried)
        return E_NOINTERFACE;
    MKComHolder<PowerPoint::Shape> held;
    held.Attach(queried);
    PowerPoint::Tags* shapeTags = nullptr;
    const HRESULT hr = held->get_Tags(&shapeTags);
    tags.Attach(shapeTags);
    if (FAILED(hr) || !tags)
        return E_INVALIDARG;
    prefix = type->GetTagPrefix();
    return S_OK;
}

HRESULT Plugin::GetShapeDataSize(int typeIndex, IUnknown* shape, const MKString& name, int* size)
{
    if (size)
        *size = -1;
    MKString prefix;
    MKComHolder<PowerPoint::Tags> tags;
    HRESULT hr = ShapeTags(typeIndex, shape, prefix, tags);
    if (FAILED(hr))
        return hr;
    TagDataStore store(tags.Get(), prefix, name, false);
    if (size)
        *size = store.TotalLength();
    return S_OK;
}

HRESULT Plugin::WriteShapeData(int typeIndex, IUnknown* shape, const MKString& name, const uint8_t* bytes,
                               int length, bool single)
{
    MKString prefix;
    MKComHolder<PowerPoint::Tags> tags;
    HRESULT hr = ShapeTags(typeIndex, shape, prefix, tags);
    if (FAILED(hr))
        return hr;
    TagDataStore store(tags.Get(), prefix, name, single);
    return length < 0 ? store.Clear() : store.Write(bytes, length);
}

HRESULT Plugin::ReadShapeData(int typeIndex, IUnknown* shape, const MKString& name, bool single,
                              MKCoTaskMemBuffer& data, int* length)
{
    if (length)
        *length = 0;
    MKString prefix;
    MKComHolder<PowerPoint::Tags> tags;
    HRESULT hr = ShapeTags(typeIndex, shape, prefix, tags);
    if (FAILED(hr))
        return hr;
    TagDataStore store(tags.Get(), prefix, name, single);
    if (!single && FAILED(store.LoadHeader()))
        return S_FALSE;
    return store.Read(data, length);
}

HRESULT Plugin::DeleteShapeData(int typeIndex, IUnknown* shape, const MKString& name, bool single)
{
    MKString prefix;
    MKComHolder<PowerPoint::Tags> tags;
    HRESULT hr = ShapeTags(typeIndex, shape, prefix, tags);
    if (FAILED(hr))
        return hr;
    return TagDataStore(tags.Get(), prefix, name, single).Clear();
}

IUnknown* Plugin::CreateShapeEffect(IUnknown* shape, const EffectDataRecord& type)
{
    IUnknown* effect = nullptr;
    if (!m_plugin || FAILED(m_plugin->CreateShapeEffect(shape, type.GetIndex(), &effect))) {
        if (effect)
            effect->Release();
        return nullptr;
    }
    return effect;
}

IUnknown* Plugin::CreateEffectContent(IUnknown* effect, int32_t argument)
{
    IUnknown* content = nullptr;
    if (!effect || !m_plugin || FAILED(m_plugin->CreateEffectContent(effect, argument, &content))) {
        if (content)
            content->Release();
        return nullptr;
    }
    return content;
}

void Plugin::ReportTypeFailure(const EffectDataRecord& type)
{
    if (m_plugin)
        m_plugin->ReportTypeFailure(type.GetIndex());
}

ClrObject* Plugin::TypeObject(int index) const
{
    EffectDataRecord* type = index > 0 ? m_host->FindEffectTypeByIndex(index) : nullptr;
    if (!type || type->GetPackageType().flags == 0 || !type->GetPlugin())
        return nullptr;
    return type->GetPlugin()->GetObject();
}

HRESULT Plugin::InvokeTypeMethod(const wchar_t* name, const TypeCall& call, int extra, VARIANT* result)
{
    ClrObject* object = TypeObject(call.index);
    if (!object)
        return E_FAIL;
    // Last argument first, as DISPPARAMS holds them.
    VARIANT arguments[6];
    int count = 3 + extra;
    for (int i = 0; i < count; ++i)
        VariantInit(&arguments[i]);
    for (int i = 0; i < extra; ++i) {
        arguments[extra - 1 - i].vt = VT_I4;
        arguments[extra - 1 - i].lVal = call.extra[i];
    }
    arguments[extra].vt = VT_BSTR;
    arguments[extra].bstrVal = call.text.ToBstr();
    arguments[extra + 1].vt = VT_I4;
    arguments[extra + 1].lVal = call.index;
    arguments[extra + 2].vt = VT_I4;
    arguments[extra + 2].lVal = call.value;
    HRESULT hr = object->InvokeMethod(name, arguments, static_cast<UINT>(count), result);
    VariantClear(&arguments[extra]);
    return hr;
}

HRESULT Plugin::CallTypeMethod(const TypeCall& call, int32_t* result)
{
    if (result)
        *result = 0;
    VARIANT answer;
    VariantInit(&answer);
    HRESULT hr = InvokeTypeMethod(L"CallTypeMethod", call, 0, &answer);
    if (SUCCEEDED(hr) && result && SUCCEEDED(VariantChangeType(&answer, &answer, 0, VT_I4)))
        *result = answer.lVal;
    VariantClear(&answer);
    return hr;
}

HRESULT Plugin::CallTypeMethodWithData(const TypeCall& call)
{
    return InvokeTypeMethod(L"CallTypeMethodWithData", call, 3, nullptr);
}

HRESULT Plugin::QueryTypeData(const TypeCall& call, IUnknown** data)
{
    if (!data)
        return E_POINTER;
    *data = nullptr;
    VARIANT answer;
    VariantInit(&answer);
    HRESULT hr = InvokeTypeMethod(L"QueryTypeData", call, 3, &answer);
    if (SUCCEEDED(hr) && (answer.vt == VT_UNKNOWN || answer.vt == VT_DISPATCH) && answer.punkVal) {
        *data = answer.punkVal;
        (*data)->AddRef();
    }
    VariantClear(&answer);
    return hr;
}

HRESULT Plugin::NotifyType(const TypeCall& call)
{
    return InvokeTypeMethod(L"NotifyType", call, 1, nullptr);
}
