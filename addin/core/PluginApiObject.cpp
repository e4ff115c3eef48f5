#include "addin/core/PluginApiObject.h"

#include "addin/core/AddInCore.h"
#include "addin/core/AddInCoreHost.h"
#include "addin/core/AddInGuard.h"
#include "addin/effects/ClrObject.h"
#include "addin/effects/ClrRibbonHandler.h"
#include "addin/effects/EffectDataRecord.h"
#include "addin/effects/PackResourceHandlerList.h"
#include "addin/effects/Plugin.h"
#include "addin/effects/SlideVisitLog.h"
#include "addin/hosting/NodeHost.h"
#include "base/MKCoTaskMemBuffer.h"
#include "base/MKMemoryRange.h"
#include "base/MKRefHolder.h"

#include <new>

namespace {

MKString Text(BSTR text)
{
    MKString copy;
    if (text)
        copy.Assign(text, static_cast<int>(SysStringLen(text)));
    return copy;
}

HRESULT Done(bool ok)
{
    return ok ? S_OK : S_FALSE;
}

Plugin::TypeCall TypeCallOf(long value, long typeIndex, BSTR text, long first = 0, long second = 0,
                            long third = 0)
{
    Plugin::TypeCall call;
    call.value = value;
    call.index = typeIndex;
    call.text = Text(text);
    call.extra[0] = first;
    call.extra[1] = second;
    call.extra[2] = third;
    return call;
}

}  // namespace

PluginApiObject::PluginApiObject(Plugin* plugin, AddInCore* core, AddInCoreHost* owner)
    : m_plugin(plugin), m_core(core), m_owner(owner)
{
}

PluginApiObject::~PluginApiObject()
{
    CloseNodeHosts();
}

void PluginApiObject::Detach()
{
    m_plugin = nullptr;
    CloseNodeHosts();
}

void PluginApiObject::CloseNodeHosts()
{
    // Closing may call back into this object: take each host off first.
    while (!m_nodeHosts.IsEmpty()) {
        NodeHost* host = m_nodeHosts[m_nodeHosts.GetCount() - 1];
        m_nodeHosts.RemoveAt(m_nodeHosts.GetCount() - 1);
        host->Close();
        host->Release();
    }
}

HRESULT PluginApiObject::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IPluginApi)
        return E_NOINTERFACE;
    *out = static_cast<IPluginApi*>(this);
    AddRef();
    return S_OK;
}

ULONG PluginApiObject::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG PluginApiObject::Release()
{
    static AddInGuardRecord s_guard;
    return AddInGuardedRelease(s_guard, m_refs, [this] { delete this; });
}

HRESULT PluginApiObject::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return E_NOTIMPL;
}

HRESULT PluginApiObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT PluginApiObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT PluginApiObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

HRESULT PluginApiObject::RegisterRibbonHandler(IDispatch* handler, BSTR* id)
{
    if (!handler || !id)
        return E_POINTER;
    *id = nullptr;
    if (!m_plugin)
        return E_FAIL;
    ClrObject* object = ClrObject::Create(handler);
    ClrRibbonHandler* wrapped = object ? new (std::nothrow) ClrRibbonHandler(object) : nullptr;
    if (!wrapped) {
        delete object;
        return E_OUTOFMEMORY;
    }
    MKString made;
    if (!m_plugin->GetControlHandlers().Register(wrapped, made))
        return E_OUTOFMEMORY;
    *id = made.ToBstr();
    return S_OK;
}

HRESULT PluginApiObject::UnregisterRibbonHandler(BSTR id)
{
    if (!m_plugin)
        return E_FAIL;
    m_plugin->GetControlHandlers().Unregister(Text(id));
    return S_OK;
}

HRESULT PluginApiObject::RegisterEffectType(long guidAddress, BSTR* name, BSTR* description, BSTR* version,
                                            long* value, long* usageId, long* index)
{
    BSTR* texts[3] = {name, description, version};
    for (BSTR* text : texts) {
        if (text)
            *text = nullptr;
    }
    if (value)
        *value = 0;
    if (usageId)
        *usageId = 0;
    if (index)
        *index = 0;
    if (!m_plugin)
        return E_FAIL;
    const void* address = reinterpret_cast<const void*>(static_cast<UINT_PTR>(static_cast<ULONG>(guidAddress)));
    // The address comes from the .NET side: look before reading.
    if (!MKIsReadableRange(address, sizeof(GUID)))
        return E_INVALIDARG;
    EffectDataRecord* record = nullptr;
    int registered = m_plugin->RegisterEffectType(*static_cast<const GUID*>(address), &record);
    // A result of 0 or less leaves every output, the result too, at 0.
    if (registered <= 0 || !record)
        return S_OK;
    if (index)
        *index = registered;
    const PackageTypeInfo& info = record->GetPackageType();
    if (name)
        *name = info.name.ToBstr();
    if (description)
        *description = info.description.ToBstr();
    if (version)
        *version = info.version.ToString().ToBstr();
    if (value)
        *value = record->GetValue();
    if (usageId)
        *usageId = static_cast<long>(record->GetUsageId());
    return S_OK;
}

HRESULT PluginApiObject::RegisterContent(long value, long kind, BSTR* key)
{
    if (!key)
        return E_POINTER;
    *key = nullptr;
    if (!m_plugin)
        return E_FAIL;
    MKString made;
    if (!m_plugin->GetContent().Register(nullptr, value, kind, made))
        return E_OUTOFMEMORY;
    *key = made.ToBstr();
    return S_OK;
}

HRESULT PluginApiObject::UnregisterContent(BSTR key)
{
    if (!m_plugin)
        return E_FAIL;
    m_plugin->GetContent().Unregister(Text(key));
    return S_OK;
}

HRESULT PluginApiObject::AddTabsXml(BSTR xml)
{
    return m_plugin ? Done(m_core->GetRibbonModel().AddTabsXml(Text(xml))) : E_FAIL;
}

HRESULT PluginApiObject::AddTabXml(BSTR tabId, BSTR xml)
{
    return m_plugin ? Done(m_core->GetRibbonModel().AddTabXml(Text(tabId), Text(xml))) : E_FAIL;
}

HRESULT PluginApiObject::AddTabGroupXml(BSTR tabId, BSTR groupId, BSTR xml)
{
    return m_plugin ? Done(m_core->GetRibbonModel().AddTabGroupXml(Text(tabId), Text(groupId), Text(xml))) : E_FAIL;
}

HRESULT PluginApiObject::AddTabSetXml(BSTR tabSetId, BSTR xml)
{
    return m_plugin ? Done(m_core->GetRibbonModel().AddTabSetXml(Text(tabSetId), Text(xml))) : E_FAIL;
}

HRESULT PluginApiObject::AddTabSetTabXml(BSTR tabSetId, BSTR tabId, BSTR xml)
{
    return m_plugin ? Done(m_core->GetRibbonModel().AddTabSetTabXml(Text(tabSetId), Text(tabId), Text(xml)))
                    : E_FAIL;
}

HRESULT PluginApiObject::AddTabSetGroupXml(BSTR tabSetId, BSTR tabId, BSTR groupId, BSTR xml)
{
    if (!m_plugin)
        return E_FAIL;
    return Done(m_core->GetRibbonModel().AddTabSetGroupXml(Text(tabSetId), Text(tabId), Text(groupId), Text(xml)));
}

HRESULT PluginApiObject::AddCustomElementXml(BSTR elementId, BSTR xml)
{
    return m_plugin ? Done(m_core->GetRibbonModel().AddCustomElementXml(Text(elementId), Text(xml))) : E_FAIL;
}

HRESULT PluginApiObject::InvalidateRibbon(BSTR controlId)
{
    if (!m_plugin)
        return E_FAIL;
    m_owner->InvalidateRibbon(Text(controlId));
    return S_OK;
}

HRESULT PluginApiObject::CallTypeMethod(long value, long typeIndex, BSTR text, long* result)
{
    if (result)
        *result = 0;
    if (!m_plugin)
        return E_FAIL;
    int32_t answer = 0;
    HRESULT hr = m_plugin->CallTypeMethod(TypeCallOf(value, typeIndex, text), &answer);
    if (result)
        *result = answer;
    return hr;
}

HRESULT PluginApiObject::CallTypeMethodWithData(long value, long typeIndex, BSTR text, long first, long second,
                                                long third)
{
    return m_plugin ? m_plugin->CallTypeMethodWithData(TypeCallOf(value, typeIndex, text, first, second, third))
                    : E_FAIL;
}

HRESULT PluginApiObject::QueryTypeData(long value, long typeIndex, BSTR text, long first, long second, long third,
                                       IUnknown** data)
{
    if (!data)
        return E_POINTER;
    *data = nullptr;
    return m_plugin ? m_plugin->QueryTypeData(TypeCallOf(value, typeIndex, text, first, second, third), data)
                    : E_FAIL;
}

HRESULT PluginApiObject::NotifyType(long value, long typeIndex, BSTR text, long argument)
{
    return m_plugin ? m_plugin->NotifyType(TypeCallOf(value, typeIndex, text, argument)) : E_FAIL;
}

HRESULT PluginApiObject::ReadPackageItem(BSTR name, long* address, long* size, BYTE* ok)
{
    if (address)
        *address = 0;
    if (size)
        *size = 0;
    if (ok)
        *ok = 0;
    if (!address || !size || !ok)
        return E_POINTER;
    if (!m_plugin)
        return E_FAIL;
    void* bytes = nullptr;
    int count = 0;
    if (!m_plugin->ReadPackageItem(Text(name), &bytes, &count))
        return S_OK;
    *address = static_cast<long>(reinterpret_cast<UINT_PTR>(bytes));
    *size = count;
    *ok = 1;
    return S_OK;
}

HRESULT PluginApiObject::CreateNodeHost(BSTR urlPrefix, long first, long second, long* nodeHost, IDispatch** proxy)
{
    if (nodeHost)
        *nodeHost = 0;
    if (proxy)
        *proxy = nullptr;
    if (!nodeHost || !proxy)
        return E_POINTER;
    PackResourceHandlerList* handlers = m_owner->GetPackResources();
    if (!m_plugin || !handlers)
        return E_FAIL;
    auto* host = new (std::nothrow) NodeHost(m_owner->GetModuleInstance());
    if (!host)
        return E_OUTOFMEMORY;
    MKRefHolder<NodeHost> made;
    made.Attach(host);
    const HWND mouseTarget = reinterpret_cast<HWND>(static_cast<UINT_PTR>(static_cast<ULONG>(first)));
    const HWND keyTarget = reinterpret_cast<HWND>(static_cast<UINT_PTR>(static_cast<ULONG>(second)));
    IDispatch* automation = host->GetAutomationProxy();
    if (!automation || !handlers->Add(host, m_plugin, Text(urlPrefix), mouseTarget, keyTarget) ||
        !m_nodeHosts.Add(host)) {
        host->Close();
        return E_OUTOFMEMORY;
    }
    host->AddRef();
    automation->AddRef();
    *nodeHost = static_cast<long>(reinterpret_cast<UINT_PTR>(host));
    *proxy = automation;
    return S_OK;
}

HRESULT PluginApiObject::CloseNode(long node)
{
    if (!m_plugin)
        return E_FAIL;
    // The address comes from the .NET side: only hosts made here are taken.
    const UINT_PTR address = static_cast<UINT_PTR>(static_cast<ULONG>(node));
    int index = m_nodeHosts.GetCount() - 1;
    while (index >= 0 && reinterpret_cast<UINT_PTR>(m_nodeHosts[index]) != address)
        --index;
    if (index < 0)
        return E_INVALIDARG;
    NodeHost* host = m_nodeHosts[index];
    m_nodeHosts.RemoveAt(index);
    MKRefHolder<NodeHost> keep;
    keep.AssignPointer(host);
    host->Close();
    host->Release();
    return S_OK;
}

const SlideVisitLog* PluginApiObject::FindShowEventLog(IUnknown* showWindow) const
{
    PowerPoint::SlideShowWindow* window = nullptr;
    if (!m_plugin || !showWindow ||
        FAILED(showWindow->QueryInterface(PowerPoint::IID_SlideShowWindow, reinterpret_cast<void**>(&window))) ||
        !window)
        return nullptr;
    const SlideVisitLog* log = m_owner->FindShowEventLog(window);
    window->Release();
    return log;
}

HRESULT PluginApiObject::GetSlideShowTime(IUnknown* showWindow, LONGLONG* time)
{
    if (!time)
        return E_POINTER;
    *time = 0;
    const SlideVisitLog* log = FindShowEventLog(showWindow);
    if (!log)
        return E_FAIL;
    *time = log->GetStart().ToUnixMs();
    return S_OK;
}

HRESULT PluginApiObject::GetSlideShowLog(IUnknown* showWindow, long* count, long* address, long* size)
{
    long* outs[3] = {count, address, size};
    for (long* out : outs) {
        if (!out)
            return E_POINTER;
        *out = 0;
    }
    const SlideVisitLog* log = FindShowEventLog(showWindow);
    if (!log)
        return E_FAIL;
    MKCoTaskMemBuffer block;
    if (!log->WriteBlock(block))
        return E_OUTOFMEMORY;
    *count = log->GetCount();
    *size = block.Size() > 0 ? block.Size() : 0;
    *address = static_cast<long>(reinterpret_cast<UINT_PTR>(block.Detach()));
    return S_OK;
}
