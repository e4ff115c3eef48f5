#include "addin/hosting/BindingManager.h"

#include "addin/hosting/Binding.h"
#include "addin/hosting/UrlResolver.h"
#include "base/MKAlloc.h"
#include "base/MKComHolder.h"
#include "base/MKCrashGuard.h"
#include "base/MKPointerArrays.h"

#include <new>

namespace {

// Binding numbers run across every node of the process; the first is 1.
LONG s_lastBindingId = 0;

}  // namespace

BindingManager::~BindingManager()
{
    MKDeleteAllItems(m_bindings);
}

HRESULT STDMETHODCALLTYPE BindingManager::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid != IID_IUnknown) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE BindingManager::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE BindingManager::Release()
{
    static MKExceptionInfo s_info;
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        MKCrashGuard(s_info, [&] { delete this; });
    return count;
}

HRESULT BindingManager::StartBinding(IBindStatusCallback* callback, const MKString& url)
{
    if (!m_node || !callback)
        return E_FAIL;
    for (int i = 0; i < m_bindings.GetCount(); ++i) {
        if (m_bindings[i]->GetCallback() == callback)
            return E_FAIL;
    }
    // The last binding removed below may hold the last reference on us.
    MKComHolder<BindingManager> self(this);
    Binding* binding = new (std::nothrow) Binding(callback, this, url, int(InterlockedIncrement(&s_lastBindingId)));
    if (!binding)
        return E_OUTOFMEMORY;

    int handled = 0;
    IStream* received = nullptr;
    uint32_t size = 0;
    const int answer = m_node->ResolveUrl(binding->GetId(), binding->GetResolveUrl(), &handled, &received, &size);
    MKComHolder<IStream> stream;
    stream.Attach(received);
    // A ready answer without a stream could deliver nothing: it is refused
    // like an unserved name instead of reporting an empty success.
    if (answer == UrlResolver::kNotHandled || handled == 0 || (answer == UrlResolver::kReady && !stream)) {
        delete binding;
        return E_FAIL;
    }
    binding->SetHandled(handled);
    if (!m_bindings.Add(binding)) {
        delete binding;
        return E_OUTOFMEMORY;
    }
    // The callbacks may tear the node down, which stops and deletes every
    // binding: the binding is looked up again by its id after each of them.
    const int id = binding->GetId();
    HRESULT hr = binding->Start();
    const int index = IndexOfId(id);
    if (index < 0)
        return E_ABORT;
    if (FAILED(hr)) {
        m_bindings[index]->ForgetStart();
        RemoveAt(index);
        return hr;
    }
    if (answer == UrlResolver::kReady) {
        hr = binding->Deliver(stream.Get(), size);
        RemoveAt(IndexOfId(id));
        return hr;
    }
    if (m_node)
        m_node->OnBindingPending(id, binding->GetResolveUrl(), handled);
    return S_OK;
}

int BindingManager::IndexOfId(int id) const
{
    for (int i = 0; i < m_bindings.GetCount(); ++i) {
        if (m_bindings[i]->GetId() == id)
            return i;
    }
    return -1;
}

void BindingManager::StopAll()
{
    MKComHolder<BindingManager> self(this);
    // Callbacks may start new bindings while being stopped: only those listed
    // now are stopped here.
    const int count = m_bindings.GetCount();
    Binding** listed = m_bindings.Detach();
    for (int i = 0; i < count; ++i) {
        listed[i]->Stop();
        delete listed[i];
    }
    MKFree(listed);
}

void BindingManager::RemoveAt(int index)
{
    if (index < 0 || index >= m_bindings.GetCount())
        return;
    Binding* binding = m_bindings[index];
    m_bindings.RemoveAt(index);
    binding->Stop();
    delete binding;
}
