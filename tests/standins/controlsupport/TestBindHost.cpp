#include "tests/standins/controlsupport/TestBindHost.h"

#include <shlwapi.h>

TestBindHost::~TestBindHost()
{
    for (auto& entry : m_monikers)
        entry.first->Release();
}

HRESULT TestBindHost::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IBindHost)
        return E_NOINTERFACE;
    *out = static_cast<IBindHost*>(this);
    AddRef();
    return S_OK;
}

ULONG TestBindHost::Release()
{
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0)
        delete this;
    return left;
}

HRESULT TestBindHost::CreateMoniker(LPOLESTR name, IBindCtx*, IMoniker** moniker, DWORD)
{
    if (!name || !moniker)
        return E_INVALIDARG;
    IMoniker* made = nullptr;
    HRESULT hr = CreateItemMoniker(L"!", name, &made);
    if (FAILED(hr))
        return hr;
    made->AddRef();
    m_monikers[made] = name;
    *moniker = made;
    return S_OK;
}

HRESULT TestBindHost::MonikerBindToStorage(IMoniker* moniker, IBindCtx* context, IBindStatusCallback* callback,
                                           REFIID, void** object)
{
    if (object)
        *object = nullptr;
    auto found = m_monikers.find(moniker);
    if (found == m_monikers.end())
        return E_INVALIDARG;
    requests.push_back(found->second);
    auto content = m_content.find(found->second);
    if (content == m_content.end())
        return E_FAIL;
    IBindStatusCallback* target = nullptr;
    IUnknown* holder = nullptr;
    if (context && SUCCEEDED(context->GetObjectParam(const_cast<LPOLESTR>(L"_BSCB_Holder_"), &holder)) && holder) {
        holder->QueryInterface(IID_IBindStatusCallback, reinterpret_cast<void**>(&target));
        holder->Release();
    }
    if (!target && callback) {
        target = callback;
        target->AddRef();
    }
    if (!target)
        return E_FAIL;
    const std::string& bytes = content->second;
    IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    target->OnStartBinding(0, nullptr);
    FORMATETC format = {0, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    STGMEDIUM medium = {TYMED_ISTREAM, {nullptr}, nullptr};
    medium.pstm = stream;
    HRESULT hr = target->OnDataAvailable(BSCF_FIRSTDATANOTIFICATION | BSCF_LASTDATANOTIFICATION,
                                         static_cast<DWORD>(bytes.size()), &format, &medium);
    target->OnStopBinding(S_FALSE, nullptr);
    target->Release();
    if (stream)
        stream->Release();
    return hr;
}

HRESULT TestBindHost::MonikerBindToObject(IMoniker*, IBindCtx*, IBindStatusCallback*, REFIID, void** object)
{
    if (object)
        *object = nullptr;
    return E_NOTIMPL;
}
