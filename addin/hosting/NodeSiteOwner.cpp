#include "addin/hosting/NodeSiteOwner.h"

#include "addin/hosting/ActiveXNode.h"

const CLSID* NodeSiteOwner::GetControlClsid()
{
    return m_node->GetControlClsid();
}

HRESULT NodeSiteOwner::InvokeAmbient(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError)
{
    return m_node->InvokeAmbient(id, iid, locale, flags, params, result, exception, argumentError);
}

HRESULT NodeSiteOwner::GetMoniker(DWORD assign, DWORD which, IMoniker** moniker)
{
    return m_node->GetMoniker(assign, which, moniker);
}

HRESULT NodeSiteOwner::GetContainer(IOleContainer** container)
{
    return m_node->GetContainer(container);
}

HRESULT NodeSiteOwner::ShowObject()
{
    return m_node->ShowObject();
}

HRESULT NodeSiteOwner::OnShowWindow(bool show)
{
    return m_node->OnShowWindow(show);
}

void NodeSiteOwner::OnSave()
{
    m_node->OnSave();
}

void NodeSiteOwner::OnViewChange(DWORD aspect, LONG index)
{
    m_node->OnViewChange(aspect, index);
}

HRESULT NodeSiteOwner::SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject)
{
    return m_node->SetMenu(shared, descriptor, activeObject);
}

HRESULT NodeSiteOwner::SetStatusText(LPCOLESTR text)
{
    return m_node->SetStatusText(text);
}

void NodeSiteOwner::OnFocusGained()
{
    m_node->OnFocusGained();
}

void NodeSiteOwner::OnFocusLost()
{
    m_node->OnFocusLost();
}

HRESULT NodeSiteOwner::GetWindow(HWND* window)
{
    return m_node->GetWindow(window);
}

HRESULT NodeSiteOwner::CanInPlaceActivate()
{
    return m_node->CanInPlaceActivate();
}

void NodeSiteOwner::OnInPlaceActivate()
{
    m_node->OnInPlaceActivate();
}

HRESULT NodeSiteOwner::OnUIActivate()
{
    return m_node->OnUIActivate();
}

HRESULT NodeSiteOwner::OnUIDeactivate(BOOL undoable)
{
    return m_node->OnUIDeactivate(undoable);
}

HRESULT NodeSiteOwner::RequestUIActivate()
{
    return m_node->RequestUIActivate();
}

void NodeSiteOwner::OnInPlaceActivateEx()
{
    m_node->OnInPlaceActivateEx();
}

HRESULT NodeSiteOwner::GetDC(const RECT* rect, DWORD flags, HDC* dc)
{
    return m_node->GetDC(rect, flags, dc);
}

HRESULT NodeSiteOwner::ReleaseDC(HDC dc)
{
    return m_node->ReleaseDC(dc);
}

HRESULT NodeSiteOwner::InvalidateRect(const RECT* rect, bool erase, bool outsidePositionChange)
{
    return m_node->InvalidateRect(rect, erase, outsidePositionChange);
}

HRESULT NodeSiteOwner::QueryService(REFGUID service, REFIID iid, void** object)
{
    return m_node->QueryService(service, iid, object);
}

void NodeSiteOwner::OnPropertyChanged(DISPID id)
{
    m_node->OnPropertyChanged(id);
}

bool NodeSiteOwner::OnRequestEdit(DISPID id)
{
    return m_node->OnRequestEdit(id);
}

HRESULT NodeSiteOwner::GetOverrideKeyPath(MKString& key, DWORD reserved)
{
    return m_node->GetOverrideKeyPath(key, reserved);
}

HRESULT NodeSiteOwner::GetHostInfo(DOCHOSTUIINFO* info)
{
    return m_node->GetHostInfo(info);
}

HRESULT NodeSiteOwner::ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget, IDispatch* object)
{
    return m_node->ShowContextMenu(id, point, commandTarget, object);
}

HRESULT NodeSiteOwner::ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* commandTarget,
                              IOleInPlaceFrame* frame, IOleInPlaceUIWindow* document)
{
    return m_node->ShowUI(id, active, commandTarget, frame, document);
}

HRESULT NodeSiteOwner::HideUI()
{
    return m_node->HideUI();
}

HRESULT NodeSiteOwner::UpdateUI()
{
    return m_node->UpdateUI();
}
