#include "addin/hosting/VirtualRootMoniker.h"

#include "addin/hosting/BindingManager.h"
#include "base/MKCrashGuard.h"

#include <urlmon.h>

namespace {

// The size of the bind information asked of the callback: the record up to
// and including its unknown pointer.
const DWORD kBindInfoSize = 84;

// Frees what the callback put into the bind information.
void ReleaseBindInformation(BINDINFO& info)
{
    CoTaskMemFree(info.szExtraInfo);
    if (info.stgmedData.tymed != TYMED_NULL)
        ReleaseStgMedium(&info.stgmedData);
    CoTaskMemFree(info.szCustomVerb);
    if (info.pUnk)
        info.pUnk->Release();
}

}  // namespace

VirtualRootMoniker::VirtualRootMoniker(const MKString& name, BindingManager* manager)
    : m_name(name), m_manager(manager)
{
}

VirtualRootMoniker::~VirtualRootMoniker() = default;

HRESULT STDMETHODCALLTYPE VirtualRootMoniker::BindToStorage(IBindCtx* context, IMoniker*, REFIID iid, void** object)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<HRESULT>(E_UNEXPECTED), [&]() -> HRESULT {
        if (object)
            *object = nullptr;
        if (iid != IID_IStream)
            return E_NOTIMPL;
        if (!context || !m_manager)
            return E_INVALIDARG;
        IUnknown* holder = nullptr;
        HRESULT hr = context->GetObjectParam(const_cast<LPOLESTR>(L"_BSCB_Holder_"), &holder);
        if (FAILED(hr))
            return hr;
        if (!holder)
            return E_FAIL;
        MKComHolder<IBindStatusCallback> callback;
        IBindStatusCallback* found = nullptr;
        hr = holder->QueryInterface(IID_IBindStatusCallback, reinterpret_cast<void**>(&found));
        holder->Release();
        if (FAILED(hr))
            return hr;
        callback.Attach(found);

        DWORD flags = 0;
        BINDINFO info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = kBindInfoSize;
        callback->GetBindInfo(&flags, &info);
        ReleaseBindInformation(info);
        return m_manager->StartBinding(callback.Get(), m_name);
    });
}

HRESULT STDMETHODCALLTYPE VirtualRootMoniker::GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR* name)
{
    return CopyDisplayName(m_name, name);
}
