#include "addin/hosting/Binding.h"

#include "addin/hosting/BindingHandle.h"
#include "addin/hosting/BindingManager.h"

#include <new>

Binding::Binding(IBindStatusCallback* callback, BindingManager* manager, const MKString& url, int id)
    : m_callback(callback), m_manager(manager), m_url(url), m_resolveUrl(url), m_id(id)
{
}

Binding::~Binding() = default;

HRESULT Binding::Start()
{
    if (!m_callback || m_handle)
        return E_FAIL;
    BindingHandle* handle = new (std::nothrow) BindingHandle();
    if (!handle)
        return E_OUTOFMEMORY;
    m_handle.Assign(handle);
    // Nothing of this binding is touched after the call: the callback may
    // tear the node down, which deletes it.
    const HRESULT hr = m_callback->OnStartBinding(0, handle);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT Binding::Deliver(IStream* stream, uint32_t size)
{
    if (!m_callback)
        return E_FAIL;
    m_stream.Assign(stream);
    m_size = size;
    FORMATETC format = {0, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    STGMEDIUM medium = {};
    medium.tymed = TYMED_ISTREAM;
    medium.pstm = stream;
    medium.pUnkForRelease = nullptr;
    return m_callback->OnDataAvailable(BSCF_FIRSTDATANOTIFICATION | BSCF_LASTDATANOTIFICATION, size, &format, &medium);
}

void Binding::Stop()
{
    if (m_callback && m_handle)
        m_callback->OnStopBinding(S_FALSE, nullptr);
    m_callback.Reset();
    m_handle.Reset();
    m_stream.Reset();
    m_size = 0;
}
