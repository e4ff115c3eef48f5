#include "standins/clr/PluginObject.h"

#include "standins/clr/EffectContentObject.h"
#include "standins/clr/KernelEvents.h"

namespace standin_clr {

namespace {
std::wstring LogNameOf(const AssemblyType& type)
{
    return type.Field(L"Kind") == L"kernel" ? std::wstring(L"Kernel") : type.Field(L"Name");
}

template <class T>
void Drop(T*& object)
{
    if (object)
        object->Release();
    object = nullptr;
}
}  // namespace

namespace {
IDispatch* g_kernelCallback = nullptr;
}  // namespace

IDispatch* CurrentKernelCallback()
{
    return g_kernelCallback;
}

PluginObject::PluginObject(const AssemblyType& type)
    : ScriptedObject(LogNameOf(type)), m_type(type), m_kernel(type.Field(L"Kind") == L"kernel")
{
}

PluginObject::~PluginObject()
{
    ClrLog::Note(LogName() + L".Finalized");
    Drop(m_host);
    Drop(m_api);
    if (g_kernelCallback == m_callback)
        g_kernelCallback = nullptr;
    Drop(m_callback);
}

void* PluginObject::QueryOwn(REFIID iid)
{
    if (iid == IID_IVistelloPlugin)
        return static_cast<IVistelloPlugin*>(this);
    if (iid == IID_IKernelPlugin && m_kernel)
        return static_cast<IKernelPlugin*>(this);
    return nullptr;
}

HRESULT PluginObject::QueryInterface(REFIID iid, void** out)
{
    return ScriptedObject::QueryInterface(iid, out);
}

ULONG PluginObject::AddRef()
{
    return ScriptedObject::AddRef();
}

ULONG PluginObject::Release()
{
    return ScriptedObject::Release();
}

HRESULT PluginObject::GetTypeInfoCount(UINT* count)
{
    return ScriptedObject::GetTypeInfoCount(count);
}

HRESULT PluginObject::GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info)
{
    return ScriptedObject::GetTypeInfo(index, lcid, info);
}

HRESULT PluginObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids)
{
    return ScriptedObject::GetIDsOfNames(iid, names, count, lcid, ids);
}

HRESULT PluginObject::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* exception, UINT* argumentError)
{
    return ScriptedObject::Invoke(id, iid, lcid, flags, params, result, exception, argumentError);
}

HRESULT PluginObject::AnswerText(const wchar_t* member, const std::wstring& text, BSTR* out)
{
    HRESULT hr = Enter(member);
    if (FAILED(hr))
        return hr;
    if (!out)
        return E_POINTER;
    *out = SysAllocString(text.c_str());
    return S_OK;
}

HRESULT PluginObject::GetGuid(BSTR* guid)
{
    return AnswerText(L"GetGuid", m_type.Field(L"Guid"), guid);
}

HRESULT PluginObject::GetName(BSTR* name)
{
    return AnswerText(L"GetName", m_type.Field(L"Name"), name);
}

HRESULT PluginObject::StartKernel(IUnknown* host, IUnknown** events)
{
    HRESULT hr = Enter(L"StartKernel " + Identity(host));
    if (FAILED(hr))
        return hr;
    if (!events)
        return E_POINTER;
    *events = nullptr;
    if (!m_kernel)
        return E_NOTIMPL;
    Drop(m_host);
    m_host = host;
    if (m_host)
        m_host->AddRef();
    *events = static_cast<KernelEventSink*>(new KernelEvents);
    return S_OK;
}

HRESULT PluginObject::Initialize(BSTR packageName, IUnknown* api, VARIANT_BOOL* ok)
{
    HRESULT hr = Enter(L"Initialize(" + std::wstring(packageName ? packageName : L"") + L")");
    if (FAILED(hr))
        return hr;
    if (!ok)
        return E_POINTER;
    Drop(m_api);
    m_api = api;
    if (m_api)
        m_api->AddRef();
    RunScript(api);
    *ok = m_type.Field(L"Initialize") == L"false" ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
}

namespace {

// A plug-in's .NET handler of ribbon controls: every callback arrives as a
// late-bound call, logged as "<plug-in>Handler.InvokeMethod(<name>)".
class HandlerObject final : public ScriptedObject<IDispatch> {
public:
    explicit HandlerObject(const std::wstring& owner) : ScriptedObject(owner + L"Handler") {}
};

}  // namespace

void PluginObject::RunScript(IUnknown* api)
{
    IPluginApi* calls = nullptr;
    if (!api || FAILED(api->QueryInterface(IID_IPluginApi, reinterpret_cast<void**>(&calls))))
        return;
    AddRibbonXml(calls);
    // EffectType: register that effect type (a GUID with braces) of the
    // plug-in's package, as a plug-in with content does.
    std::wstring effectType = m_type.Field(L"EffectType");
    GUID type{};
    if (!effectType.empty() && SUCCEEDED(CLSIDFromString((L"{" + effectType + L"}").c_str(), &type))) {
        BSTR texts[3] = {};
        long value = 0, usageId = 0, index = 0;
        HRESULT hr = calls->RegisterEffectType(static_cast<long>(reinterpret_cast<UINT_PTR>(&type)), &texts[0],
                                               &texts[1], &texts[2], &value, &usageId, &index);
        for (BSTR text : texts)
            SysFreeString(text);
        ClrLog::Note(LogName() + L".RegisterEffectType " + std::to_wstring(SUCCEEDED(hr) ? index : 0));
    }
    calls->Release();
}

void PluginObject::AddRibbonXml(IPluginApi* calls)
{
    // TabId and TabXml: register a ribbon handler and add the XML, with
    // "$ID" standing for the handler's id, to that tab. ElementId and
    // ElementXml: the same for a custom element of the ribbon (the product
    // tab).
    std::wstring tabId = m_type.Field(L"TabId");
    std::wstring elementId = m_type.Field(L"ElementId");
    if (tabId.empty() && elementId.empty())
        return;
    HandlerObject* handler = new HandlerObject(LogName());
    BSTR id = nullptr;
    HRESULT hr = calls->RegisterRibbonHandler(handler, &id);
    handler->Release();
    std::wstring idText = id ? id : L"";
    SysFreeString(id);
    auto add = [&](const wchar_t* call, const std::wstring& target, const wchar_t* field) {
        std::wstring xml = m_type.Field(field);
        for (size_t at = xml.find(L"$ID"); at != std::wstring::npos; at = xml.find(L"$ID", at + idText.size()))
            xml.replace(at, 3, idText);
        BSTR where = SysAllocString(target.c_str());
        BSTR text = SysAllocString(xml.c_str());
        HRESULT added = std::wstring(call) == L"AddTabXml" ? calls->AddTabXml(where, text)
                                                           : calls->AddCustomElementXml(where, text);
        ClrLog::Note(LogName() + L"." + call + L" " + std::to_wstring(SUCCEEDED(hr) && added == S_OK));
        SysFreeString(where);
        SysFreeString(text);
    };
    if (!tabId.empty())
        add(L"AddTabXml", tabId, L"TabXml");
    if (!elementId.empty())
        add(L"AddCustomElementXml", elementId, L"ElementXml");
}

HRESULT PluginObject::QueryLoaded(IUnknown** answer)
{
    HRESULT hr = Enter(L"QueryLoaded");
    if (FAILED(hr))
        return hr;
    if (!answer)
        return E_POINTER;
    *answer = static_cast<IVistelloPlugin*>(this);
    AddRef();
    return S_OK;
}

HRESULT PluginObject::Shutdown()
{
    HRESULT hr = Enter(L"Shutdown");
    Drop(m_api);
    Drop(m_host);
    if (g_kernelCallback == m_callback)
        g_kernelCallback = nullptr;
    Drop(m_callback);
    return hr;
}

namespace {

// A plug-in's effect object for one shape; its calls are logged as
// "<plug-in>Effect.InvokeMethod(...)".
class ShapeEffectObject final : public ScriptedObject<IDispatch> {
public:
    explicit ShapeEffectObject(const std::wstring& owner) : ScriptedObject(owner + L"Effect") {}
};

}  // namespace

// Plug-ins whose type has a ContentColor make effects and content; others
// make none.
HRESULT PluginObject::CreateShapeEffect(IUnknown* shape, long typeIndex, IUnknown** effect)
{
    HRESULT hr = Enter(L"CreateShapeEffect " + Identity(shape) + L" " + std::to_wstring(typeIndex));
    if (effect)
        *effect = nullptr;
    if (FAILED(hr))
        return hr;
    if (m_type.Field(L"ContentColor").empty() || !effect)
        return E_NOTIMPL;
    *effect = new ShapeEffectObject(LogName());
    return S_OK;
}

HRESULT PluginObject::CreateEffectContent(IUnknown* effect, long argument, IUnknown** content)
{
    HRESULT hr = Enter(L"CreateEffectContent " + Identity(effect) + L" " + std::to_wstring(argument));
    if (content)
        *content = nullptr;
    if (FAILED(hr))
        return hr;
    std::wstring color = m_type.Field(L"ContentColor");
    if (color.empty() || !effect || !content)
        return E_NOTIMPL;
    *content = EffectContentObject::Create(LogName(), m_type, m_api);
    return S_OK;
}

HRESULT PluginObject::ReportTypeFailure(long typeIndex)
{
    return Enter(L"ReportTypeFailure " + std::to_wstring(typeIndex));
}

HRESULT PluginObject::SetCallback(IDispatch* callback)
{
    HRESULT hr = Enter(L"SetCallback " + Identity(callback));
    if (FAILED(hr))
        return hr;
    Drop(m_callback);
    m_callback = callback;
    if (m_callback)
        m_callback->AddRef();
    if (m_kernel)
        g_kernelCallback = m_callback;
    return S_OK;
}

HRESULT PluginObject::IsReady(long* ready)
{
    HRESULT hr = Enter(L"IsReady");
    if (SUCCEEDED(hr) && ready)
        *ready = 1;
    return hr;
}

HRESULT PluginObject::CreateObject(IUnknown* showWindow, IUnknown* slide, IUnknown* nodeHost, IUnknown** object)
{
    HRESULT hr = Enter(L"CreateObject " + Identity(showWindow) + L" " + Identity(slide) + L" " + Identity(nodeHost));
    if (object)
        *object = nullptr;
    if (FAILED(hr))
        return hr;
    if (!object)
        return E_POINTER;
    *object = KernelSlideObject::Create();
    return S_OK;
}

}  // namespace standin_clr
