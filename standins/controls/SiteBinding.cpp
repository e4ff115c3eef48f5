#include "standins/controls/SiteBinding.h"

#include "standins/controls/ControlLog.h"

#include <urlmon.h>

namespace standin {
namespace {

// The control's IBindStatusCallback for one binding.
class BindCallback final : public IBindStatusCallback {
public:
    BindCallback(IUnknown* owner, SiteBinding::Logger log, SiteBinding::Done done)
        : m_owner(owner), m_log(std::move(log)), m_done(std::move(done))
    {
        m_owner->AddRef();
    }

    void Finish(HRESULT hr)
    {
        if (m_finished)
            return;
        m_finished = true;
        SiteBinding::Done done = std::move(m_done);
        done(hr, m_bytes);
        m_owner->Release();
        m_owner = nullptr;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IBindStatusCallback)
            return E_NOINTERFACE;
        *out = static_cast<IBindStatusCallback*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&m_refs);
        if (left == 0) {
            if (m_owner)
                m_owner->Release();
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override
    {
        m_log(L"bind OnStartBinding");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG* priority) override
    {
        if (priority)
            *priority = THREAD_PRIORITY_NORMAL;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG total, ULONG status, LPCWSTR) override
    {
        m_log(L"bind OnProgress(" + std::to_wstring(progress) + L", " + std::to_wstring(total) + L", " +
              std::to_wstring(status) + L")");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT hr, LPCWSTR) override
    {
        m_log(L"bind OnStopBinding(" + Hex(hr) + L")");
        Finish(m_complete ? S_OK : (FAILED(hr) ? hr : INET_E_DATA_NOT_AVAILABLE));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO* info) override
    {
        if (!flags || !info)
            return E_INVALIDARG;
        *flags = BINDF_ASYNCHRONOUS | BINDF_ASYNCSTORAGE | BINDF_PULLDATA;
        DWORD size = info->cbSize;
        ZeroMemory(info, size);
        info->cbSize = size;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD flags, DWORD size, FORMATETC*, STGMEDIUM* medium) override
    {
        m_log(L"bind OnDataAvailable(" + std::to_wstring(flags) + L", " + std::to_wstring(size) + L")");
        if (!medium || medium->tymed != TYMED_ISTREAM || !medium->pstm)
            return E_INVALIDARG;
        char buffer[16384];
        for (;;) {
            ULONG read = 0;
            HRESULT hr = medium->pstm->Read(buffer, sizeof(buffer), &read);
            m_bytes.append(buffer, read);
            if (FAILED(hr) || hr == S_FALSE || read == 0)
                break;
        }
        if (flags & BSCF_LASTDATANOTIFICATION)
            m_complete = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

private:
    ~BindCallback() = default;

    LONG m_refs = 1;
    IUnknown* m_owner;
    SiteBinding::Logger m_log;
    SiteBinding::Done m_done;
    std::string m_bytes;
    bool m_complete = false;
    bool m_finished = false;
};

}  // namespace

IBindHost* SiteBinding::FindBindHost(IOleClientSite* site, const Logger& log)
{
    IServiceProvider* services = nullptr;
    IBindHost* bindHost = nullptr;
    HRESULT hr = site ? site->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&services)) : E_POINTER;
    if (SUCCEEDED(hr)) {
        hr = services->QueryService(SID_IBindHost, IID_IBindHost, reinterpret_cast<void**>(&bindHost));
        services->Release();
    }
    log(L"host QueryService(SID_IBindHost) = " + Hex(hr));
    if (SUCCEEDED(hr) && bindHost)
        return bindHost;
    if (bindHost)
        bindHost->Release();
    return nullptr;
}

HRESULT SiteBinding::Start(IOleClientSite* site, const std::wstring& url, IUnknown* owner, Logger log, Done done)
{
    IBindHost* bindHost = FindBindHost(site, log);
    if (!bindHost)
        return E_NOINTERFACE;
    return Bind(bindHost, url, owner, std::move(log), std::move(done));
}

HRESULT SiteBinding::Bind(IBindHost* bindHost, const std::wstring& url, IUnknown* owner, Logger log, Done done)
{
    BindCallback* callback = new BindCallback(owner, log, std::move(done));
    IBindCtx* context = nullptr;
    IMoniker* moniker = nullptr;
    HRESULT hr = CreateBindCtx(0, &context);
    if (SUCCEEDED(hr)) {
        IBindStatusCallback* previous = nullptr;
        hr = RegisterBindStatusCallback(context, callback, &previous, 0);
        if (previous)
            previous->Release();
    }
    if (SUCCEEDED(hr)) {
        hr = bindHost->CreateMoniker(const_cast<LPOLESTR>(url.c_str()), context, &moniker, 0);
        log(L"host CreateMoniker(" + Quote(url.c_str()) + L") = " + Hex(hr));
    }
    if (SUCCEEDED(hr) && !moniker)
        hr = E_UNEXPECTED;
    if (SUCCEEDED(hr)) {
        IUnknown* object = nullptr;
        hr = bindHost->MonikerBindToStorage(moniker, context, callback, IID_IStream, reinterpret_cast<void**>(&object));
        log(L"host MonikerBindToStorage = " + Hex(hr));
        if (SUCCEEDED(hr) && object) {
            // A synchronous answer: the stream came back directly.
            STGMEDIUM medium = {TYMED_ISTREAM, {nullptr}, nullptr};
            medium.pstm = static_cast<IStream*>(object);
            callback->OnDataAvailable(BSCF_FIRSTDATANOTIFICATION | BSCF_LASTDATANOTIFICATION, 0, nullptr, &medium);
            object->Release();
            callback->Finish(S_OK);
        }
    }
    if (FAILED(hr))
        callback->Finish(hr);
    if (moniker)
        moniker->Release();
    if (context) {
        RevokeBindStatusCallback(context, callback);
        context->Release();
    }
    bindHost->Release();
    callback->Release();
    return hr;
}

void SiteBinding::Load(IOleClientSite* site, const std::wstring& name, IUnknown* owner, Logger log, Done done)
{
    // The disk only without a bind host: a bind that fails has answered
    // `done` already.
    IBindHost* bindHost = FindBindHost(site, log);
    if (bindHost)
        Bind(bindHost, name, owner, std::move(log), std::move(done));
    else
        ReadFile(name, done);
}

void SiteBinding::ReadFile(const std::wstring& name, const Done& done)
{
    std::wstring path = name.compare(0, 8, L"file:///") == 0 ? name.substr(8) : name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        done(HRESULT_FROM_WIN32(GetLastError()), std::string());
        return;
    }
    std::string bytes;
    char buffer[16384];
    DWORD read = 0;
    BOOL ok = TRUE;
    while ((ok = ::ReadFile(file, buffer, sizeof(buffer), &read, nullptr)) && read > 0)
        bytes.append(buffer, read);
    HRESULT hr = ok ? S_OK : HRESULT_FROM_WIN32(GetLastError());
    CloseHandle(file);
    done(hr, bytes);
}

}  // namespace standin
