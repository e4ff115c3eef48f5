#pragma once
#include "base/MKTArray.h"
#include "hostapi/PluginInterfaces.h"

class AddInCore;
class AddInCoreHost;
class NodeHost;
class Plugin;
class SlideVisitLog;

// The object each plug-in gets to reach the add-in: ribbon handlers and XML,
// effect types, content, its package's items and node hosts served from its
// package. A forwarding layer over the plug-in record, the plug-in manager
// and the add-in; callers bind to the table (Invoke answers E_NOTIMPL). Once
// detached from its plug-in every method answers E_FAIL. The node hosts it
// made hold the plug-in's reference until CloseNode, the detach or the
// object's end, whichever comes first, closes them. The count is locked; the
// last Release deletes it.
class PluginApiObject final : public IPluginApi {
public:
    // One reference, the caller's.
    PluginApiObject(Plugin* plugin, AddInCore* core, AddInCoreHost* owner);
    PluginApiObject(const PluginApiObject&) = delete;
    PluginApiObject& operator=(const PluginApiObject&) = delete;

    // Clears the link to the plug-in (its unloading) and closes the node
    // hosts the plug-in still holds.
    void Detach();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    HRESULT STDMETHODCALLTYPE RegisterRibbonHandler(IDispatch* handler, BSTR* id) override;
    HRESULT STDMETHODCALLTYPE UnregisterRibbonHandler(BSTR id) override;
    HRESULT STDMETHODCALLTYPE RegisterEffectType(long guidAddress, BSTR* name, BSTR* description, BSTR* version,
                                                 long* value, long* usageId, long* index) override;
    HRESULT STDMETHODCALLTYPE RegisterContent(long value, long kind, BSTR* key) override;
    HRESULT STDMETHODCALLTYPE UnregisterContent(BSTR key) override;
    HRESULT STDMETHODCALLTYPE AddTabsXml(BSTR xml) override;
    HRESULT STDMETHODCALLTYPE AddTabXml(BSTR tabId, BSTR xml) override;
    HRESULT STDMETHODCALLTYPE AddTabGroupXml(BSTR tabId, BSTR groupId, BSTR xml) override;
    HRESULT STDMETHODCALLTYPE AddTabSetXml(BSTR tabSetId, BSTR xml) override;
    HRESULT STDMETHODCALLTYPE AddTabSetTabXml(BSTR tabSetId, BSTR tabId, BSTR xml) override;
    HRESULT STDMETHODCALLTYPE AddTabSetGroupXml(BSTR tabSetId, BSTR tabId, BSTR groupId, BSTR xml) override;
    HRESULT STDMETHODCALLTYPE AddCustomElementXml(BSTR elementId, BSTR xml) override;
    HRESULT STDMETHODCALLTYPE InvalidateRibbon(BSTR controlId) override;
    HRESULT STDMETHODCALLTYPE CallTypeMethod(long value, long typeIndex, BSTR text, long* result) override;
    HRESULT STDMETHODCALLTYPE CallTypeMethodWithData(long value, long typeIndex, BSTR text, long first, long second,
                                                     long third) override;
    HRESULT STDMETHODCALLTYPE QueryTypeData(long value, long typeIndex, BSTR text, long first, long second,
                                            long third, IUnknown** data) override;
    HRESULT STDMETHODCALLTYPE NotifyType(long value, long typeIndex, BSTR text, long argument) override;
    HRESULT STDMETHODCALLTYPE ReadPackageItem(BSTR name, long* address, long* size, BYTE* ok) override;
    HRESULT STDMETHODCALLTYPE CreateNodeHost(BSTR urlPrefix, long first, long second, long* nodeHost,
                                             IDispatch** proxy) override;
    HRESULT STDMETHODCALLTYPE CloseNode(long node) override;
    HRESULT STDMETHODCALLTYPE GetSlideShowTime(IUnknown* showWindow, LONGLONG* time) override;
    HRESULT STDMETHODCALLTYPE GetSlideShowLog(IUnknown* showWindow, long* count, long* address,
                                              long* size) override;

private:
    virtual ~PluginApiObject();

    void CloseNodeHosts();
    // The log of the show running in a SlideShowWindow; null for any other
    // object, a window without a show, or once detached.
    const SlideVisitLog* FindShowEventLog(IUnknown* showWindow) const;

    volatile LONG m_refs = 1;
    Plugin* m_plugin;
    AddInCore* m_core;
    AddInCoreHost* m_owner;
    // The hosts handed out by CreateNodeHost, each with the plug-in's
    // reference; CloseNode takes only these.
    MKTArray<NodeHost*> m_nodeHosts;
};
