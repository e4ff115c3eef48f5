#include "addin/hosting/SiteUIWindow.h"

#include "base/MKCrashGuard.h"

SiteUIWindow::~SiteUIWindow()
{
    if (m_activeObject)
        m_activeObject->Release();
}

HRESULT STDMETHODCALLTYPE SiteUIWindow::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IOleWindow && iid != IID_IOleInPlaceUIWindow) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IOleInPlaceUIWindow*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE SiteUIWindow::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE SiteUIWindow::Release()
{
    static MKExceptionInfo s_info;
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        MKCrashGuard(s_info, [&] { delete this; });
    return count;
}

HRESULT STDMETHODCALLTYPE SiteUIWindow::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, HRESULT(E_UNEXPECTED), [&] {
        if (object)
            object->AddRef();
        IOleInPlaceActiveObject* old = m_activeObject;
        m_activeObject = object;
        if (old)
            old->Release();
        return S_OK;
    });
}
