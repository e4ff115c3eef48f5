#include "addin/core/HostCreatedObject.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "base/MKHttpRequest.h"
#include "base/MKMemoryRange.h"
#include "hostapi/PluginInterfaces.h"

#include <new>

namespace {

const UINT kProgressMessage = WM_APP + 1;
// A sink that does not answer within this time ends the transfer.
const UINT kProgressWaitMs = 30000;

HRESULT CheckCount(DISPPARAMS* params, UINT count)
{
    return (params ? params->cArgs : 0) == count ? S_OK : DISP_E_BADPARAMCOUNT;
}

}  // namespace

HostCreatedObject::HostCreatedObject(HINSTANCE instance)
    : MKDispatchObject(0x64983209, 0x4BFF2935, 0xF14B16BB, 0x300F2E96),
      m_instance(instance),
      m_ownerThread(GetCurrentThreadId())
{
}

HostCreatedObject::~HostCreatedObject()
{
    Close();
}

void HostCreatedObject::Close()
{
    if (m_request) {
        m_request->Cancel();
        delete m_request;
        m_request = nullptr;
    }
    if (m_sink) {
        m_sink->Release();
        m_sink = nullptr;
    }
}

HRESULT HostCreatedObject::SetSink(IUnknown* sink)
{
    if (m_sink) {
        m_sink->Release();
        m_sink = nullptr;
    }
    m_request->SetProgressCallback(nullptr, nullptr);
    if (!sink)
        return S_OK;
    HRESULT hr = sink->QueryInterface(IID_IHttpRequestSink, reinterpret_cast<void**>(&m_sink));
    if (FAILED(hr)) {
        m_sink = nullptr;
        return hr;
    }
    if (!m_window.Handle() && !m_window.Create(m_instance, this)) {
        m_sink->Release();
        m_sink = nullptr;
        return E_FAIL;
    }
    m_request->SetProgressCallback(OnProgress, this);
    return S_OK;
}

int HostCreatedObject::OnProgress(void* data, const uint8_t* block, int length, uint32_t contentLengthLow,
                                  uint32_t contentLengthHigh, int percentage)
{
    auto* self = static_cast<HostCreatedObject*>(data);
    Progress progress = {block, length, contentLengthLow, contentLengthHigh, percentage};
    if (GetCurrentThreadId() == self->m_ownerThread)
        return self->Deliver(progress);
    // The sink belongs to the owner's thread: hand the call over and wait.
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(self->m_window.Handle(), kProgressMessage, 0, reinterpret_cast<LPARAM>(&progress),
                             SMTO_NORMAL, kProgressWaitMs, &answer))
        return 0;
    return answer != 0;
}

bool HostCreatedObject::Deliver(const Progress& progress)
{
    if (!m_sink)
        return false;
    LONGLONG address = static_cast<LONGLONG>(reinterpret_cast<INT_PTR>(progress.block));
    HRESULT hr = m_sink->OnProgress(address, progress.length, static_cast<long>(progress.contentLengthLow),
                                    static_cast<long>(progress.contentLengthHigh), progress.percentage);
    return SUCCEEDED(hr);
}

LRESULT HostCreatedObject::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProgressMessage)
        return Deliver(*reinterpret_cast<const Progress*>(lParam)) ? 1 : 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

HRESULT HostCreatedObject::HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    DispArgs args(params);
    DispResult out(result);
    if (id < 1 || id > 14)
        return DISP_E_MEMBERNOTFOUND;
    static const UINT kCounts[15] = {0, 0, 1, 1, 1, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0};
    HRESULT hr = CheckCount(params, kCounts[id]);
    if (FAILED(hr))
        return hr;
    if (id == 1) {
        if (m_request)
            return E_FAIL;
        m_request = new (std::nothrow) MKHttpRequest;
        if (!m_request)
            return E_OUTOFMEMORY;
        m_request->SetUserAgent(L"Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.0)");
        m_request->SetAllowCache(false);
        // The body reaches the .NET side through the sink; without one it is
        // only held, so a page cannot make it grow past what pages carry.
        m_request->SetBodyLimit(16 * 1024 * 1024);
        out.SetBool(true);
        return S_OK;
    }
    if (id == 7) {
        Close();
        return S_OK;
    }
    if (!m_request)
        return E_FAIL;
    switch (id) {
    case 2: {
        bool allow = false;
        hr = args.GetBool(0, &allow);
        if (SUCCEEDED(hr))
            m_request->SetAllowCache(allow);
        return hr;
    }
    case 3:
    case 4: {
        MKString text;
        hr = args.GetString(0, &text);
        if (SUCCEEDED(hr) && id == 3)
            m_request->SetUserAgent(text);
        else if (SUCCEEDED(hr))
            m_request->SetContentType(text);
        return hr;
    }
    case 5: {
        VARIANT* sink = args.At(0);
        if (!sink || (sink->vt != VT_UNKNOWN && sink->vt != VT_DISPATCH && sink->vt != VT_EMPTY &&
                      sink->vt != VT_NULL))
            return DISP_E_BADVARTYPE;
        bool isObject = sink->vt == VT_UNKNOWN || sink->vt == VT_DISPATCH;
        return SetSink(isObject ? sink->punkVal : nullptr);
    }
    case 6: {
        MKString url;
        int64_t address = 0;
        int32_t length = 0;
        args.GetString(0, &url);
        args.GetInt64(1, &address);
        args.GetInt(2, &length);
        if (FAILED(args.Error()))
            return args.Error();
        const void* body = reinterpret_cast<const void*>(static_cast<UINT_PTR>(address));
        // The body comes from the .NET side as an integer: look before reading.
        if (address != 0 && (length < 0 || !MKIsReadableRange(body, static_cast<size_t>(length))))
            return E_INVALIDARG;
        int state = m_request->GetState();
        bool running = state == MKHttpRequest::kStarted || state == MKHttpRequest::kReceiving;
        if (!running && state != MKHttpRequest::kIdle)
            m_request->Cancel();
        out.SetBool(!running && m_request->Start(url, address ? body : nullptr, address ? length : 0));
        return S_OK;
    }
    case 8:
        out.SetInt(m_request->GetState());
        return S_OK;
    case 9:
        out.SetInt(m_request->GetStatusCode());
        return S_OK;
    case 10:
        out.SetInt64(m_request->GetContentLength());
        return S_OK;
    case 11:
        return out.SetString(m_request->GetResponseHeaders());
    case 12:
        out.SetInt64(m_request->GetBytesReceived());
        return S_OK;
    case 13:
        out.SetBool(m_request->GetState() == MKHttpRequest::kError);
        return S_OK;
    case 14:
        return out.SetString(m_request->GetErrorText());
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}
